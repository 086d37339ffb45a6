#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "base/windows_api.h"
// After windows.h: the common controls, for the file name box.
#include <commctrl.h>

#include "box_driver.h"
#include "support/temp_dir.h"
#include "win32/wide_window_text.h"
#include "win32/win32_dialogs.h"

namespace verrolift::win32 {
namespace {

using test::BoxDriver;
using test::Press;

// The file dialog's file name box, and the box naming the folder it shows.
constexpr int kFileNameBox = 0x47C;
constexpr int kLookIn = 0x471;

std::string WorkingFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
    return Utf8(folder);
}

// Types text into the file dialog's file name box and presses Open.
void EnterFileName(HWND box, const std::wstring& text) {
    const HWND combo = GetDlgItem(box, kFileNameBox);
    const auto edit = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
    SendMessageW(edit ? edit : combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Press(box, IDOK);
}

// The name of the folder the folder picker has selected; "" before it has one.
std::string SelectedFolderName(HWND box) {
    HWND tree = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (std::wstring_view(name) != WC_TREEVIEWW) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!tree || !item.hItem ||
        !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return {};
    return Utf8(text);
}

class FilePickersTest : public ::testing::Test {
protected:
    // One owner for all: a window of a display without a window manager takes seconds to go.
    static void SetUpTestSuite() { shared = new test::OwnerWindow({150, 120, 1050, 820}); }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    static inline test::OwnerWindow* shared = nullptr;

    HWND owner = shared->Get();
    Win32Dialogs dialogs{[this] { return owner; }};
    verrolift::test::TempDir temp;
};

TEST_F(FilePickersTest, FilesTypedInTheFileDialogComeBackAsFullPathsInTheirOrder) {
    for (const char* name : {"first.txt", "zweite Größe.txt", "third.txt"}) temp.Write(name, "a");
    const std::string folderName = temp.Path().substr(temp.Path().rfind('\\') + 1);
    const std::string before = WorkingFolder();
    std::string caption;
    bool ownerEnabled = true;
    BoxDriver driver(owner, [&](HWND box) {
        if (caption.empty()) {
            caption = TextOf(box);
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            // A folder's path entered opens that folder.
            EnterFileName(box, Wide(temp.Path()));
            return false;
        }
        if (TextOf(GetDlgItem(box, kLookIn)) != folderName) return false;
        EnterFileName(box, L"\"zweite Gr\u00f6\u00dfe.txt\" \"first.txt\"");
        return true;
    });
    EXPECT_EQ(dialogs.PickFiles("Add files", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
              (std::vector<std::string>{temp.File("zweite Größe.txt"), temp.File("first.txt")}));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(caption, "Add files");
    EXPECT_FALSE(ownerEnabled);
    // The working folder stays where it was.
    EXPECT_EQ(WorkingFolder(), before);
}

// The folder picker opens on the start folder: OK as soon as it shows it gives it back.
TEST_F(FilePickersTest, TheFolderPickerOpensOnTheStartFolderOverItsOwner) {
    temp.Write("Größe\\inner\\a.txt", "a");
    std::vector<std::string> texts;
    POINT offCentre{};
    BoxDriver driver(owner, [&](HWND box) {
        if (SelectedFolderName(box) != "Größe") return false;
        texts = test::StaticTexts(box);
        offCentre = test::OffCentre(box, owner);
        Press(box, IDOK);
        return true;
    });
    EXPECT_EQ(dialogs.PickFolder("Pick the folder of the files", temp.File("Größe")),
              temp.File("Größe"));
    EXPECT_TRUE(driver.Done());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Pick the folder of the files"), texts.end());
    EXPECT_LE(std::abs(offCentre.x), 1);
    EXPECT_LE(std::abs(offCentre.y), 1);
}

TEST_F(FilePickersTest, CancelledPickersGiveNothing) {
    const auto cancel = [](HWND box) {
        Press(box, IDCANCEL);
        return true;
    };
    {
        BoxDriver driver(owner, cancel);
        EXPECT_TRUE(dialogs.PickFiles("Add files", "All Files (*.*)|*.*").empty());
        EXPECT_TRUE(driver.Done());
    }
    BoxDriver driver(owner, cancel);
    EXPECT_EQ(dialogs.PickFolder("Pick the folder", temp.Path()), "");
    EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace verrolift::win32
