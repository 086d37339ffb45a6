#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "box_driver.h"
#include "win32/input_box.h"
#include "win32/wide_window_text.h"
#include "win32/win32_dialogs.h"

namespace verrolift::win32 {
namespace {

using test::BoxDriver;
using test::OwnerWindow;
using test::Press;

// Away from the screen's centre, so that a box centred on the screen is told apart.
constexpr RECT kOwnerPlace{620, 480, 1180, 880};

class Win32DialogsTest : public ::testing::Test {
protected:
    // One owner for all: a window of a display without a window manager takes seconds to go.
    static void SetUpTestSuite() { shared = new OwnerWindow(kOwnerPlace); }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    static inline OwnerWindow* shared = nullptr;

    HWND owner = shared->Get();
    Win32Dialogs dialogs{[this] { return owner; }};
};

// Each box under its caption with its text and icon, opened modal and centred over its owner.
struct BoxCase {
    const char* name;
    std::function<void(Dialogs&)> ask;
    const char* caption;
    std::string text;
    // IDI_WARNING, by number: the macro names it for the narrow functions only.
    LPCWSTR icon;
    friend void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }
};

const ErrorReport kReport{std::string(tags::kMainImport), 132, "ORA-00942: no such table"};

class Boxes : public Win32DialogsTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(Boxes, OpenModalAndCentredOverTheirOwner) {
    const BoxCase& c = GetParam();
    std::string caption;
    std::vector<std::string> texts;
    HICON icon = nullptr;
    POINT offCentre{};
    bool ownerEnabled = true;
    BoxDriver driver(owner, [&](HWND box) {
        caption = TextOf(box);
        texts = test::StaticTexts(box);
        icon = test::ShownIcon(box);
        offCentre = test::OffCentre(box, owner);
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        Press(box, IDOK);
        return true;
    });
    c.ask(dialogs);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(caption, c.caption);
    EXPECT_NE(std::find(texts.begin(), texts.end(), c.text), texts.end()) << c.text;
    EXPECT_EQ(icon, c.icon ? LoadIconW(nullptr, c.icon) : nullptr);
    EXPECT_LE(std::abs(offCentre.x), 1);
    EXPECT_LE(std::abs(offCentre.y), 1);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

INSTANTIATE_TEST_SUITE_P(
    Win32Dialogs, Boxes,
    ::testing::Values(BoxCase{"Message",
                              [](Dialogs& d) { d.ShowMessage("3 files imported.\r\nGrüße: € Ω"); },
                              "Verrolift", "3 files imported.\r\nGrüße: € Ω", nullptr},
                      BoxCase{"ErrorReport", [](Dialogs& d) { d.ShowErrorReport(kReport); },
                              "Application Error", kReport.Text(), MAKEINTRESOURCEW(32515)},
                      BoxCase{"InputBox",
                              [](Dialogs& d) { d.InputBox("Name of column 3:", "Kolonne_3"); },
                              "Verrolift", "Name of column 3:", nullptr}),
    [](const ::testing::TestParamInfo<BoxCase>& p) { return std::string(p.param.name); });

// How a user leaves the input box: typed characters, which replace the selected default
// (a backspace empties it), then a button or the close box.
struct AnswerCase {
    const char* name;
    const char* defaultAnswer;
    std::optional<std::wstring> typed;
    int button;  // 0: closed by its close box
    const char* answer;
    friend void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }
};

class InputBoxAnswer : public Win32DialogsTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(InputBoxAnswer, IsWhatWasTypedOnlyWhenOkIsPressed) {
    const AnswerCase& c = GetParam();
    BoxDriver driver(owner, [&](HWND box) {
        if (c.typed) test::Type(GetDlgItem(box, kInputBoxAnswerId), *c.typed);
        if (c.button)
            Press(box, c.button);
        else
            SendMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(dialogs.InputBox("Name of column 1:", c.defaultAnswer), c.answer);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(driver.Strays(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Dialogs, InputBoxAnswer,
    ::testing::Values(AnswerCase{"DefaultAsItIs", "Kolonne_1", std::nullopt, IDOK, "Kolonne_1"},
                      AnswerCase{"TypingReplacesTheDefault", "Kolonne_1", L"Name", IDOK, "Name"},
                      AnswerCase{"BeyondLatin1", "", L"Größe_€_Ω", IDOK, "Größe_€_Ω"},
                      AnswerCase{"EmptiedIsEmpty", "Kolonne_1", L"\b", IDOK, ""},
                      AnswerCase{"CancelGivesNothing", "Kolonne_1", L"Name", IDCANCEL, ""},
                      AnswerCase{"ClosingGivesNothing", "Kolonne_1", L"Name", 0, ""}),
    [](const ::testing::TestParamInfo<AnswerCase>& p) { return std::string(p.param.name); });

TEST_F(Win32DialogsTest, ALongPromptMakesTheInputBoxTallerWithTheAnswerBelowIt) {
    std::string prompt;
    for (int i = 0; i < 30; ++i) prompt += "The column has no name in the file's first line. ";
    RECT shown{};
    RECT answer{};
    BoxDriver driver(owner, [&](HWND box) {
        GetWindowRect(GetDlgItem(box, kInputBoxPromptId), &shown);
        GetWindowRect(GetDlgItem(box, kInputBoxAnswerId), &answer);
        Press(box, IDCANCEL);
        return true;
    });
    dialogs.InputBox(prompt, "");
    EXPECT_GT(shown.bottom - shown.top, 200);
    EXPECT_GE(answer.top, shown.bottom);
}

// Every question while the program is ending stops the command instead of showing a box.
class WhenEnding : public Win32DialogsTest,
                   public ::testing::WithParamInterface<std::function<void(Dialogs&)>> {};

TEST_P(WhenEnding, NoBoxOpensAndTheCommandStops) {
    dialogs.SetEnding([] { return true; });
    BoxDriver driver(owner, [](HWND box) {
        Press(box, IDCANCEL);
        return true;
    });
    EXPECT_THROW(GetParam()(dialogs), RunAborted);
    EXPECT_FALSE(driver.Found());
}

INSTANTIATE_TEST_SUITE_P(Win32Dialogs, WhenEnding,
                         ::testing::Values([](Dialogs& d) { d.ShowMessage("x"); },
                                           [](Dialogs& d) { d.ShowErrorReport(kReport); },
                                           [](Dialogs& d) { d.InputBox("p", "a"); },
                                           [](Dialogs& d) {
                                               d.PickFiles("t", "All Files (*.*)|*.*");
                                           },
                                           [](Dialogs& d) { d.PickFolder("t", ""); }));

}  // namespace
}  // namespace verrolift::win32
