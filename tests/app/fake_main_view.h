#pragma once

#include <map>
#include <string>

#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "db/table_list.h"
#include "files/file_list.h"
#include "support/recording_dialogs.h"

namespace verrolift::test {

// A main window without a toolkit: the controls are values a test sets and reads.
class FakeMainView : public MainWindowView {
public:
    FileList& Files() override { return files; }
    TableList& Tables() override { return tables; }
    WindowPointer& Pointer() override { return pointer; }

    bool Chosen(MainChoice choice) const override { return chosen.at(choice); }
    void SetChosen(MainChoice choice, bool on) override { chosen[choice] = on; }
    std::string Text(MainBox box) const override { return texts.at(box); }
    void SetText(MainBox box, const std::string& text) override { texts[box] = text; }
    void Enable(MainControl control, bool on) override { enabled[control] = on; }

    void ApplyFaceColor() override {}
    void SetApplicationIcon() override {}
    bool LoadPointerFile(const std::string&) override { return false; }
    void SetCaption(const std::string& text) override { caption = text; }
    void PrepareFileList() override {}
    ImportProgress* BeginRunProgress() override {
        ++progressBegun;
        return nullptr;
    }
    void EndRunProgress() override { ++progressEnded; }

    // The option pairs as a user leaves them: choosing one clears its partner.
    void Choose(MainChoice choice) {
        static const std::map<MainChoice, MainChoice> partner{
            {MainChoice::CreateTable, MainChoice::AppendToTable},
            {MainChoice::AppendToTable, MainChoice::CreateTable},
            {MainChoice::HeaderColumns, MainChoice::TypedColumns},
            {MainChoice::TypedColumns, MainChoice::HeaderColumns}};
        chosen[choice] = true;
        if (auto p = partner.find(choice); p != partner.end()) chosen[p->second] = false;
    }

    VectorFileList files;
    VectorTableList tables;
    RecordingPointer pointer;
    std::map<MainChoice, bool> chosen{
        {MainChoice::CreateTable, true},   {MainChoice::AppendToTable, false},
        {MainChoice::HeaderColumns, true}, {MainChoice::TypedColumns, false},
        {MainChoice::SkipHeader, false},   {MainChoice::QuotedFields, false}};
    std::map<MainBox, std::string> texts{{MainBox::Separator, kDefaultSeparator},
                                         {MainBox::TableName, kDefaultTableName}};
    std::map<MainControl, bool> enabled;
    std::string caption;
    int progressBegun = 0;
    int progressEnded = 0;
};

}  // namespace verrolift::test
