#pragma once

#include <memory>
#include <string>

#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "app/window_flow.h"
#include "db/connection.h"
#include "win32/caption_progress.h"
#include "win32/file_list_control.h"
#include "win32/table_list_control.h"
#include "win32/top_window.h"

namespace verrolift::win32 {

// Form2 on the Win32 API: the file list, the separator, the table options, the table list and
// the import. What it does is MainWindowLogic's; this window shows the controls, hands their
// events on and answers the logic's questions about them.
class MainWindow : public TopWindow, public MainWindowView {
public:
    // The controls' ids, by which tests find them too.
    enum Id : int {
        kFilesFrame = 200,
        kFileList,
        kAddFiles,
        kAddFolder,
        kSeparatorLabel,
        kSeparator,
        kFormatHelp,
        kQuotedFields,
        kOptionsFrame,
        kCreateTable,
        kCreateFrame,
        kHeaderColumns,
        kTypedColumns,
        kTableNameLabel,
        kTableName,
        kAppendToTable,
        kAppendFrame,
        kSkipHeader,
        kAppendTableLabel,
        kTableList,
        kImport,
        kSetupConnection,
    };
    static constexpr const wchar_t* kClassName = L"Verrolift.Form2";

    // profile: the login window's boxes, read at each connection.
    MainWindow(AppContext& context, const ConnectionSource& profile);
    ~MainWindow() override;

    // Form_Load.
    void Load() { logic_.Load(); }
    ImportOptions Options() const { return logic_.Options(); }

    // MainWindowView
    FileListControl& Files() override { return *files_; }
    TableListControl& Tables() override { return *tables_; }
    Win32WindowPointer& Pointer() override { return WindowsPointer(); }
    bool Chosen(MainChoice choice) const override;
    void SetChosen(MainChoice choice, bool on) override;
    std::string Text(MainBox box) const override;
    void SetText(MainBox box, const std::string& text) override;
    void Enable(MainControl control, bool enabled) override;
    void ApplyFaceColor() override { TakeFaceColor(); }
    void SetApplicationIcon() override;
    bool LoadPointerFile(const std::string& path) override;
    void SetCaption(const std::string& caption) override;
    void PrepareFileList() override;
    ImportProgress* BeginRunProgress() override;
    void EndRunProgress() override;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void BuildControls();
    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    static int IdOf(MainChoice choice);
    // Option buttons come in two exclusive pairs; choosing one clears the other and
    // tells the logic of a change of table mode.
    void Choose(int id);
    void Command(int id, int notification);
    void ShowSeparatorAsTyped();

    AppContext& context_;
    MainWindowLogic logic_;
    std::unique_ptr<FileListControl> files_;
    std::unique_ptr<TableListControl> tables_;
    std::unique_ptr<CaptionProgress> progress_;
    bool runCaption_ = false;
    bool showingSeparator_ = false;
};

}  // namespace verrolift::win32
