#pragma once

#include <string>
#include <vector>

#include "app/main_window_view.h"
#include "app/window_flow.h"
#include "db/connection.h"
#include "import/import_options.h"

namespace verrolift {

inline constexpr const char* kDefaultTableName = "NewTable[counter]";
inline constexpr const char* kDefaultSeparator = ",";
inline constexpr const char* kQuotedFieldsCaption = "Quoted fields";

namespace keys {
// "1" when the main window's "Quoted fields" is ticked, "0" when not.
inline constexpr std::string_view kQuotedFields = "QuotedFields";
}  // namespace keys

// Form2's behaviour: the load step, the table option switches, the commands and the run.
// An import takes the window's options once, when it starts; while it runs, the commands
// that would open a box or leave the window do nothing.
class MainWindowLogic {
public:
    // profile: the login window's boxes, read at each connection.
    MainWindowLogic(AppContext& context, MainWindowView& view, const ConnectionSource& profile);

    // Form_Load: look, defaults of the table name and separator, the stored quoted-fields
    // choice, table list refilled from the database, the file list's column.
    void Load();

    void CreateChosen();  // Option1
    void AppendChosen();  // Option2
    // The separator box's text changed: what the box is to show instead (a TAB as \t),
    // or the same text.
    std::string SeparatorEdited(const std::string& text);
    void QuotedFieldsToggled(bool on);

    void Import();                                     // "Import To Oracle"
    void AddFiles();                                   // "Add Text File(s)"
    void AddFolder();                                  // "Add All File(s) In Folder"
    void Drop(const std::vector<std::string>& paths);  // files and folders dropped on the list
    void SetupConnection();                            // "Setup Connection"
    void FormatHelp();                                 // "?"
    void Close();

    // The options as the controls stand now: what a run takes when it starts.
    ImportOptions Options() const;
    bool RunUnderWay() const { return context_.run.UnderWay(); }

private:
    void EnableForMode(bool create);

    AppContext& context_;
    MainWindowView& view_;
    const ConnectionSource& profile_;
};

}  // namespace verrolift
