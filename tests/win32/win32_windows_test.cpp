#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// After the program's own include of <windows.h>, which undoes its clashing macros.
#include "base/windows_api.h"

#include <shlobj.h>

#include "app/memory_settings.h"
#include "app/recording_flow.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_database.h"
#include "win32/login_window.h"
#include "win32/main_window.h"
#include "win32/registry_settings_store.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {
namespace {

// Both windows on a display, driven by the messages a user's clicks and keys send.
class Win32WindowsTest : public ::testing::Test {
protected:
    HWND Control(int id) const { return GetDlgItem(main.Handle(), id); }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return IsDlgButtonChecked(main.Handle(), id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    // Types text into a box as a paste would: replaces the selection with it.
    void Paste(int id, const std::string& text) {
        SendMessageW(Control(id), EM_SETSEL, 0, -1);
        SendMessageW(Control(id), EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(Wide(text).c_str()));
    }
    // Files and folders dropped from the file manager onto the list, as the shell sends them.
    void Drop(const std::vector<std::string>& paths) {
        std::wstring names;
        for (const std::string& path : paths) names += Wide(path) + L'\0';
        names += L'\0';
        const SIZE_T size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, size);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
                    names.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        // The list frees the drop, as a real one.
        SendMessageW(Control(MainWindow::kFileList), WM_DROPFILES, reinterpret_cast<WPARAM>(memory),
                     0);
    }

    test::TempDir dir;
    test::ScopedEnvironment localData{"LOCALAPPDATA", dir.Path()};
    test::SqliteDatabase db;
    test::FixedConnection profile{db.ConnectionString()};
    test::RecordingDialogs dialogs;
    test::MemorySettings settings;
    test::RecordingPump pump;
    test::RecordingFlow flow;
    AppContext context{dialogs,
                       settings,
                       pump,
                       flow,
                       dir.Path(),
                       [] { return 0.5; },
                       [](const std::string&) { return true; }};
    MainWindow main{context, profile};
};

TEST_F(Win32WindowsTest, ClientAreasAreTheDesignedTwipsAt96Dpi) {
    LoginWindow login{context};
    for (auto [window, width, height] :
         {std::tuple{login.Handle(), 536, 212}, std::tuple{main.Handle(), 424, 548}}) {
        ASSERT_EQ(DpiOf(window), 96);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right - client.left, width);
        EXPECT_EQ(client.bottom - client.top, height);
    }
}

// A caption cut short tells the user nothing: every check box's and option button's text fits
// beside its box in the font it is drawn with.
TEST_F(Win32WindowsTest, CheckBoxAndOptionCaptionsFitTheirControls) {
    for (int id :
         {MainWindow::kQuotedFields, MainWindow::kCreateTable, MainWindow::kHeaderColumns,
          MainWindow::kTypedColumns, MainWindow::kAppendToTable, MainWindow::kSkipHeader}) {
        HWND control = Control(id);
        HDC dc = GetDC(control);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc, font);
        const std::wstring caption = Wide(TextOf(control));
        SIZE text{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        RECT box{};
        GetClientRect(control, &box);
        // The box itself and the gap after it.
        const int indicator = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        EXPECT_LE(indicator + text.cx, box.right) << TextOf(control);
    }
}

// Option buttons clicked in order, and what shows afterwards.
struct OptionClicks {
    const char* name;
    std::vector<int> clicks;
    std::set<int> checked;  // of the four option buttons
    bool createControls;    // header/typed options and table name enabled
};

void PrintTo(const OptionClicks& c, std::ostream* os) {
    *os << c.name;
}

class Win32OptionPairs : public Win32WindowsTest,
                         public ::testing::WithParamInterface<OptionClicks> {};

TEST_P(Win32OptionPairs, EachPairIsExclusiveOnItsOwnAndTheModeSetsWhatIsEnabled) {
    main.Load();
    main.Show();
    for (int id : GetParam().clicks) Click(id);
    for (int id : {MainWindow::kCreateTable, MainWindow::kAppendToTable, MainWindow::kHeaderColumns,
                   MainWindow::kTypedColumns})
        EXPECT_EQ(Checked(id), GetParam().checked.count(id) == 1) << id;
    const bool create = GetParam().createControls;
    for (int id : {MainWindow::kHeaderColumns, MainWindow::kTypedColumns, MainWindow::kTableName})
        EXPECT_EQ(Enabled(id), create) << id;
    for (int id : {MainWindow::kSkipHeader, MainWindow::kTableList, MainWindow::kAppendFrame})
        EXPECT_EQ(Enabled(id), !create) << id;
}

using W = MainWindow;
INSTANTIATE_TEST_SUITE_P(
    Clicks, Win32OptionPairs,
    ::testing::Values(
        OptionClicks{"none", {}, {W::kCreateTable, W::kHeaderColumns}, true},
        OptionClicks{"append", {W::kAppendToTable}, {W::kAppendToTable, W::kHeaderColumns}, false},
        OptionClicks{"typed", {W::kTypedColumns}, {W::kCreateTable, W::kTypedColumns}, true},
        OptionClicks{"append_typed_create",
                     {W::kAppendToTable, W::kTypedColumns, W::kCreateTable},
                     {W::kCreateTable, W::kTypedColumns},
                     true},
        OptionClicks{"typed_header_append",
                     {W::kTypedColumns, W::kHeaderColumns, W::kAppendToTable},
                     {W::kAppendToTable, W::kHeaderColumns},
                     false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Win32WindowsTest, ADropOfNonAsciiNamesAddsTheFilesAndTheFoldersFiles) {
    main.Load();
    const std::string greek = dir.Write("Ωμέγα €.txt", "a\r\n");
    const std::string french = dir.Write("données.csv", "b\r\n");
    const std::string inFolder = dir.Write("Ordner ü\\Grüße.txt", "c\r\n");
    Drop({greek, dir.File("Ordner ü"), french});
    EXPECT_EQ(main.Files().Snapshot(), (std::vector<std::string>{greek, inFolder, french}));
}

// What the separator box is given, and the file it is to read.
struct SeparatorCase {
    const char* name;
    std::string typed;
    std::string shown;
    std::string file;
};

void PrintTo(const SeparatorCase& c, std::ostream* os) {
    *os << c.name;
}

class Win32ImportByClicks : public Win32WindowsTest,
                            public ::testing::WithParamInterface<SeparatorCase> {};

// The file arrives by a drop, the separator by the box, the run by a click; while it runs,
// a click on "Add Text File(s)" or "Setup Connection" and an edit of the box change nothing.
TEST_P(Win32ImportByClicks, TheTableHoldsTheFileAsTheBoxSaid) {
    main.Load();
    main.Show();
    Paste(MainWindow::kSeparator, GetParam().typed);
    EXPECT_EQ(TextOf(Control(MainWindow::kSeparator)), GetParam().shown);
    Drop({dir.Write("Städte.txt", GetParam().file)});
    std::string captionDuringRun;
    pump.onYield = [&, done = false]() mutable {
        if (done) return;
        done = true;
        captionDuringRun = TextOf(main.Handle());
        Click(MainWindow::kAddFiles);
        Click(MainWindow::kSetupConnection);
        Paste(MainWindow::kSeparator, ",");
    };
    Click(MainWindow::kImport);
    EXPECT_EQ(db.Column("SELECT name FROM pragma_table_info('NewTable1')"),
              (std::vector<std::string>{"Name", "City"}));
    EXPECT_EQ(db.Rows("NewTable1"),
              (std::vector<std::string>{"Name|City", "Jürgen|Köln", "Zoë|Ærøskøbing"}));
    EXPECT_TRUE(dialogs.fileDialogTitles.empty());
    EXPECT_TRUE(flow.calls.empty());
    EXPECT_EQ(captionDuringRun.rfind("Verrolift - file 1 of 1", 0), 0u) << captionDuringRun;
    EXPECT_EQ(TextOf(main.Handle()), "Verrolift");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Done.", 0), 0u) << dialogs.messages[0];
}

INSTANTIATE_TEST_SUITE_P(
    Separators, Win32ImportByClicks,
    ::testing::Values(
        SeparatorCase{"semicolon", ";", ";", "Name;City\r\nJürgen;Köln\r\nZoë;Ærøskøbing\r\n"},
        SeparatorCase{"typed_tab", "\\t", "\\t",
                      "Name\tCity\r\nJürgen\tKöln\r\nZoë\tÆrøskøbing\r\n"},
        SeparatorCase{"pasted_tab", "\t", "\\t", "Name\tCity\nJürgen\tKöln\nZoë\tÆrøskøbing\n"}),
    [](const auto& p) { return std::string(p.param.name); });

// The Delete key on the list removes the selected entry, unless the window is busy.
TEST_F(Win32WindowsTest, DeleteRemovesTheSelectedEntryOnlyWhenNotBusy) {
    main.Load();
    main.Show();
    main.Files().AddEntries({"a.txt", "b.txt", "c.txt"});
    HWND list = Control(MainWindow::kFileList);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));

    main.Pointer().SetPointer(PointerShape::Busy);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(main.Files().Snapshot(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    main.Pointer().SetPointer(PointerShape::Default);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(main.Files().Snapshot(), (std::vector<std::string>{"a.txt", "c.txt"}));
}

// "Quoted fields" goes to the registry on the user's click, and the next window shows it.
TEST(Win32WindowsRegistry, QuotedFieldsIsKeptInTheRegistryOnTheUsersClick) {
    const std::string root =
        "Software\\Verrolift tests\\quoted " + std::to_string(GetCurrentProcessId());
    RegistrySettingsStore registry(root);
    test::TempDir dir;
    test::SqliteDatabase db;
    test::FixedConnection profile{db.ConnectionString()};
    test::RecordingDialogs dialogs;
    test::RecordingPump pump;
    test::RecordingFlow flow;
    AppContext context{dialogs,
                       registry,
                       pump,
                       flow,
                       dir.Path(),
                       [] { return 0.5; },
                       [](const std::string&) { return true; }};
    const auto stored = [&] {
        std::wstring value(8, L'\0');
        DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER,
                         Wide(registry.SectionKey(kSettingsApplication, kSettingsSection)).c_str(),
                         L"QuotedFields", RRF_RT_REG_SZ, nullptr, value.data(), &size);
        return status == ERROR_SUCCESS ? Utf8(value.c_str()) : std::string("none");
    };
    for (bool tick : {true, false}) {
        MainWindow first{context, profile};
        first.Load();
        first.Show();
        EXPECT_EQ(IsDlgButtonChecked(first.Handle(), MainWindow::kQuotedFields) == BST_CHECKED,
                  !tick);
        SendMessageW(GetDlgItem(first.Handle(), MainWindow::kQuotedFields), BM_CLICK, 0, 0);
        EXPECT_EQ(stored(), tick ? "1" : "0");
        EXPECT_EQ(first.Options().quotedFields, tick);

        MainWindow next{context, profile};
        next.Load();
        EXPECT_EQ(IsDlgButtonChecked(next.Handle(), MainWindow::kQuotedFields) == BST_CHECKED,
                  tick);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Verrolift tests");
    EXPECT_TRUE(dialogs.reports.empty());
}

}  // namespace
}  // namespace verrolift::win32
