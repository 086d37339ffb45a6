#include "win32/main_window.h"

#include <commctrl.h>

#include "app/command_guard.h"
#include "app/file_list_look.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kOption = WS_TABSTOP | BS_RADIOBUTTON;
constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kBox = WS_TABSTOP | ES_AUTOHSCROLL;

int PartnerOf(int id) {
    switch (id) {
        case MainWindow::kCreateTable:
            return MainWindow::kAppendToTable;
        case MainWindow::kAppendToTable:
            return MainWindow::kCreateTable;
        case MainWindow::kHeaderColumns:
            return MainWindow::kTypedColumns;
        case MainWindow::kTypedColumns:
            return MainWindow::kHeaderColumns;
        default:
            return 0;
    }
}

}  // namespace

MainWindow::MainWindow(AppContext& context, const ConnectionSource& profile)
    : context_(context), logic_(context, *this, profile) {
    Create(kClassName, 6360, 8220);
    BuildControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
    const TwipsBox files{120, 0, 6120, 2480};
    AddFrame("", files, kFilesFrame);
    HWND list = Add(WC_LISTVIEWW, "",
                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                    TwipsBox{120, 240, 5895, 1215}.In(files), kFileList, ControlFont::Text,
                    WS_EX_CLIENTEDGE);
    HandOver(Add(L"BUTTON", "Add Text File(s)", kButton, TwipsBox{120, 1560, 2895, 400}.In(files),
                 kAddFiles, ControlFont::Button));
    HandOver(Add(L"BUTTON", "Add All File(s) In Folder", kButton,
                 TwipsBox{3120, 1560, 2895, 400}.In(files), kAddFolder, ControlFont::Button));
    Add(L"STATIC", "Fields Separated By:", 0, TwipsBox{240, 2090, 2055, 255}.In(files),
        kSeparatorLabel);
    ResetOver(Add(L"EDIT", kDefaultSeparator, kBox, TwipsBox{2280, 2050, 1695, 330}.In(files),
                  kSeparator, ControlFont::Text, WS_EX_CLIENTEDGE));
    HandOver(Add(L"BUTTON", "?", kButton, TwipsBox{4080, 2033, 615, 345}.In(files), kFormatHelp,
                 ControlFont::Button));
    // From just past the "?" to the frame's inner edge, not bold: the room its caption has.
    Add(L"BUTTON", kQuotedFieldsCaption, kCheck, TwipsBox{4710, 2090, 1380, 255}.In(files),
        kQuotedFields, ControlFont::PlainText);

    const TwipsBox options{120, 2520, 6120, 5055};
    AddFrame("Table Options", options, kOptionsFrame);
    Add(L"BUTTON", "Create New Table From Text File", kOption | WS_GROUP,
        TwipsBox{180, 360, 3495, 255}.In(options), kCreateTable);
    const TwipsBox create = TwipsBox{180, 720, 5775, 1455}.In(options);
    AddFrame("Create New Table Options", create, kCreateFrame);
    Add(L"BUTTON", "First line in file will be used to create table columns", kOption | WS_GROUP,
        TwipsBox{120, 300, 4695, 255}.In(create), kHeaderColumns);
    Add(L"BUTTON", "Ignore first line, user-specified columns names", kOption,
        TwipsBox{120, 600, 4455, 255}.In(create), kTypedColumns);
    Add(L"STATIC", "Table Name:", 0, TwipsBox{240, 960, 1215, 255}.In(create), kTableNameLabel);
    Add(L"EDIT", kDefaultTableName, kBox, TwipsBox{1680, 960, 3735, 330}.In(create), kTableName,
        ControlFont::Text, WS_EX_CLIENTEDGE);
    Add(L"BUTTON", "Append to Existing Table From Text File", kOption | WS_GROUP,
        TwipsBox{180, 2280, 4095, 255}.In(options), kAppendToTable);
    const TwipsBox append = TwipsBox{180, 2640, 5775, 2175}.In(options);
    AddFrame("Append to Existing Table Options", append, kAppendFrame);
    Add(L"BUTTON", "Ignore first line in file because it is a header row with no data",
        kCheck | WS_GROUP, TwipsBox{120, 360, 5535, 255}.In(append), kSkipHeader);
    Add(L"STATIC", "Table Name:", 0, TwipsBox{240, 720, 1215, 255}.In(append), kAppendTableLabel);
    HWND tableList =
        Add(L"LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
            TwipsBox{1680, 720, 3735, 1185}.In(append), kTableList, ControlFont::Text,
            WS_EX_CLIENTEDGE);
    ResetOver(tableList);

    HandOver(Add(L"BUTTON", "Import To Oracle", kButton | WS_GROUP, TwipsBox{120, 7680, 3015, 400},
                 kImport, ControlFont::Button));
    HandOver(Add(L"BUTTON", "Setup Connection", kButton, TwipsBox{3240, 7680, 3000, 400},
                 kSetupConnection, ControlFont::Button));

    files_ = std::make_unique<FileListControl>(list, WindowsPointer(), context_.programFolder);
    tables_ = std::make_unique<TableListControl>(tableList);
    progress_ = std::make_unique<CaptionProgress>(Handle(), context_.progressIntervalMs);
    files_->SetBusyTest([this] { return WindowsPointer().Busy(); });
    WindowsPointer().OnBusyChange([this](bool busy) { files_->ShowBusyPointer(busy); });
    files_->SetDropHandler([this](const std::vector<std::string>& paths) { logic_.Drop(paths); });

    Choose(kCreateTable);
    Choose(kHeaderColumns);
}

int MainWindow::IdOf(MainChoice choice) {
    switch (choice) {
        case MainChoice::CreateTable:
            return kCreateTable;
        case MainChoice::AppendToTable:
            return kAppendToTable;
        case MainChoice::HeaderColumns:
            return kHeaderColumns;
        case MainChoice::TypedColumns:
            return kTypedColumns;
        case MainChoice::SkipHeader:
            return kSkipHeader;
        case MainChoice::QuotedFields:
            return kQuotedFields;
    }
    return kCreateTable;
}

void MainWindow::Choose(int id) {
    const bool was = IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
    CheckDlgButton(Handle(), id, BST_CHECKED);
    CheckDlgButton(Handle(), PartnerOf(id), BST_UNCHECKED);
    if (was) return;
    if (id == kCreateTable) logic_.CreateChosen();
    if (id == kAppendToTable) logic_.AppendChosen();
}

bool MainWindow::Chosen(MainChoice choice) const {
    return IsDlgButtonChecked(Handle(), IdOf(choice)) == BST_CHECKED;
}

void MainWindow::SetChosen(MainChoice choice, bool on) {
    const int id = IdOf(choice);
    if (PartnerOf(id) != 0 && on) {
        Choose(id);
        return;
    }
    CheckDlgButton(Handle(), id, on ? BST_CHECKED : BST_UNCHECKED);
}

std::string MainWindow::Text(MainBox box) const {
    return TextOf(Control(box == MainBox::Separator ? kSeparator : kTableName));
}

void MainWindow::SetText(MainBox box, const std::string& text) {
    PutText(Control(box == MainBox::Separator ? kSeparator : kTableName), text);
}

void MainWindow::Enable(MainControl control, bool enabled) {
    int id = 0;
    switch (control) {
        case MainControl::HeaderColumns:
            id = kHeaderColumns;
            break;
        case MainControl::TypedColumns:
            id = kTypedColumns;
            break;
        case MainControl::TableNameLabel:
            id = kTableNameLabel;
            break;
        case MainControl::TableName:
            id = kTableName;
            break;
        case MainControl::AppendFrame:
            id = kAppendFrame;
            break;
        case MainControl::SkipHeader:
            id = kSkipHeader;
            break;
        case MainControl::AppendTableLabel:
            id = kAppendTableLabel;
            break;
        case MainControl::TableList:
            id = kTableList;
            break;
    }
    EnableWindow(Control(id), enabled ? TRUE : FALSE);
}

void MainWindow::SetApplicationIcon() {
    // The icon compiled into the program, in both sizes the title bar and task bar use.
    const auto icon = static_cast<LPARAM>(GetClassLongPtrW(Handle(), GCLP_HICON));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, icon);
}

bool MainWindow::LoadPointerFile(const std::string& path) {
    return WindowsPointer().LoadHand(Wide(path));
}

void MainWindow::SetCaption(const std::string& caption) {
    PutText(Handle(), caption);
}

void MainWindow::PrepareFileList() {
    files_->EnsureColumn();
    files_->SetColumnWidthTwips(kFileListColumnTwips);
}

ImportProgress* MainWindow::BeginRunProgress() {
    runCaption_ = progress_->Begin();
    return progress_.get();
}

void MainWindow::EndRunProgress() {
    if (runCaption_) progress_->End();
    runCaption_ = false;
}

void MainWindow::ShowSeparatorAsTyped() {
    if (showingSeparator_) return;
    HWND box = Control(kSeparator);
    const std::wstring typed = Wide(TextOf(box));
    const std::string shown = logic_.SeparatorEdited(Utf8(typed));
    if (Wide(shown) == typed) return;
    // The caret stays after what it followed.
    DWORD caret = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const std::wstring before = Wide(
        logic_.SeparatorEdited(Utf8(typed.substr(0, std::min<std::size_t>(caret, typed.size())))));
    showingSeparator_ = true;
    PutText(box, shown);
    showingSeparator_ = false;
    SendMessageW(box, EM_SETSEL, before.size(), before.size());
}

void MainWindow::Command(int id, int notification) {
    if (id == kSeparator) {
        if (notification == EN_CHANGE) ShowSeparatorAsTyped();
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (id) {
        case kCreateTable:
        case kAppendToTable:
        case kHeaderColumns:
        case kTypedColumns:
            RunGuarded([&] { Choose(id); });
            break;
        case kQuotedFields:
            // Stored on the user's clicks only: the load step's own setting is the stored value.
            RunGuarded([&] { logic_.QuotedFieldsToggled(Chosen(MainChoice::QuotedFields)); });
            break;
        case kImport:
            RunGuarded([&] { logic_.Import(); });
            break;
        case kAddFiles:
            RunGuarded([&] { logic_.AddFiles(); });
            break;
        case kAddFolder:
            RunGuarded([&] { logic_.AddFolder(); });
            break;
        case kSetupConnection:
            RunGuarded([&] { logic_.SetupConnection(); });
            break;
        case kFormatHelp:
            RunGuarded([&] { logic_.FormatHelp(); });
            break;
        default:
            break;
    }
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            result = 0;
            return true;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (files_ && header->hwndFrom == files_->Handle()) files_->Notified(*header);
            return false;
        }
        case WM_TIMER:
            if (wParam != CaptionProgress::kTimerId) return false;
            progress_->Tick();
            result = 0;
            return true;
        case WM_CLOSE:
            RunGuarded([&] { logic_.Close(); });
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace verrolift::win32
