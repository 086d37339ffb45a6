#include <algorithm>
#include <cstdlib>
#include <string>
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
using test::OffCentre;
using test::OwnerWindow;
using test::Press;

constexpr RECT kOwnerPlace{150, 120, 1050, 820};
constexpr char kTextFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
// The file dialog's file name box, and the folder it shows.
constexpr int kFileNameBox = 0x47C;
constexpr int kLookIn = 0x471;

std::string WorkingFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
    return Utf8(folder);
}

std::string LastPart(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// Puts text in the file dialog's file name box and presses Open, as a user types and
// presses Enter.
void EnterFileName(HWND box, const std::wstring& text) {
    const HWND combo = GetDlgItem(box, kFileNameBox);
    const auto edit = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
    SendMessageW(edit ? edit : combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Press(box, IDOK);
}

class FilePickersTest : public ::testing::Test {
protected:
    // One owner for all: a window of a display without a window manager takes seconds to go.
    static void SetUpTestSuite() { shared = new OwnerWindow(kOwnerPlace); }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    static inline OwnerWindow* shared = nullptr;

    OwnerWindow& owner = *shared;
    Win32Dialogs dialogs{[this] { return owner.Get(); }};
    verrolift::test::TempDir temp;
};

TEST_F(FilePickersTest, TwoFilesTypedInTheFileDialogComeBackAsFullPathsInOrder) {
    temp.Write("first.txt", "a");
    temp.Write("zweite Größe.txt", "b");
    temp.Write("third.txt", "c");
    const std::string before = WorkingFolder();
    std::string caption;
    bool ownerEnabled = true;
    int step = 0;
    BoxDriver driver(owner.Get(), [&](HWND box) {
        if (step == 0) {
            caption = TextOf(box);
            ownerEnabled = IsWindowEnabled(owner.Get()) != FALSE;
            // A folder's path typed and entered opens that folder.
            EnterFileName(box, Wide(temp.Path()));
            step = 1;
            return false;
        }
        if (TextOf(GetDlgItem(box, kLookIn)) != LastPart(temp.Path())) return false;
        EnterFileName(box, L"\"zweite Gr\u00f6\u00dfe.txt\" \"first.txt\"");
        return true;
    });
    const std::vector<std::string> files = dialogs.PickFiles("Add files", kTextFilter);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(driver.Strays(), 0);
    EXPECT_EQ(caption, "Add files");
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(files,
              (std::vector<std::string>{temp.File("zweite Größe.txt"), temp.File("first.txt")}));
    // Picking files leaves the working folder alone.
    EXPECT_EQ(WorkingFolder(), before);
}

TEST_F(FilePickersTest, TheFileDialogCancelledGivesNoFiles) {
    BoxDriver driver(owner.Get(), [&](HWND box) {
        Press(box, IDCANCEL);
        return true;
    });
    EXPECT_TRUE(dialogs.PickFiles("Add files", kTextFilter).empty());
    EXPECT_TRUE(driver.Done());
}

// The folder picker opens on the start folder: OK at once gives it back.
TEST_F(FilePickersTest, TheFolderPickerOpensOnTheStartFolderOverItsOwner) {
    temp.Write("Größe\\inner\\a.txt", "a");
    const std::string start = temp.File("Größe");
    std::vector<std::string> texts;
    POINT offCentre{};
    bool ownerEnabled = true;
    BoxDriver driver(owner.Get(), [&](HWND box) {
        texts = test::StaticTexts(box);
        offCentre = OffCentre(box, owner.Get());
        ownerEnabled = IsWindowEnabled(owner.Get()) != FALSE;
        Press(box, IDOK);
        return true;
    });
    EXPECT_EQ(dialogs.PickFolder("Pick the folder of the files", start), start);
    EXPECT_TRUE(driver.Done());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Pick the folder of the files"), texts.end());
    EXPECT_LE(std::abs(offCentre.x), 1);
    EXPECT_LE(std::abs(offCentre.y), 1);
    EXPECT_FALSE(ownerEnabled);
}

TEST_F(FilePickersTest, TheFolderPickerCancelledGivesNothing) {
    BoxDriver driver(owner.Get(), [&](HWND box) {
        Press(box, IDCANCEL);
        return true;
    });
    EXPECT_EQ(dialogs.PickFolder("Pick the folder", temp.Path()), "");
    EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace verrolift::win32
