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
using test::OffCentre;
using test::OwnerWindow;
using test::Press;
using test::StaticTexts;

// Away from the screen's centre, so that a box centred on the screen is told apart.
constexpr RECT kOwnerPlace{620, 480, 1180, 880};

// IDI_WARNING: the macro names it for the narrow functions only.
const HICON kWarningIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32515));

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// What the driver saw of a box as it opened.
struct Seen {
    std::string caption;
    std::vector<std::string> texts;
    HICON icon = nullptr;
    POINT offCentre{};
    bool ownerEnabled = true;
    std::string answerShown;
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    RECT promptPlace{};
    RECT answerPlace{};
};

Seen Look(HWND box, HWND owner) {
    Seen seen;
    seen.caption = TextOf(box);
    seen.texts = StaticTexts(box);
    seen.icon = test::ShownIcon(box);
    seen.offCentre = OffCentre(box, owner);
    seen.ownerEnabled = IsWindowEnabled(owner) != FALSE;
    if (const HWND answer = GetDlgItem(box, kInputBoxAnswerId)) {
        seen.answerShown = TextOf(answer);
        SendMessageW(answer, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
                     reinterpret_cast<LPARAM>(&seen.selectionEnd));
        GetWindowRect(answer, &seen.answerPlace);
        GetWindowRect(GetDlgItem(box, kInputBoxPromptId), &seen.promptPlace);
    }
    return seen;
}

void ExpectCentredAndModal(const Seen& seen) {
    EXPECT_LE(std::abs(seen.offCentre.x), 1) << "off centre by " << seen.offCentre.x;
    EXPECT_LE(std::abs(seen.offCentre.y), 1) << "off centre by " << seen.offCentre.y;
    EXPECT_FALSE(seen.ownerEnabled);
}

class Win32DialogsTest : public ::testing::Test {
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

    // Runs ask while a driver looks at the box it opens and presses button there.
    Seen Answer(const std::function<void()>& ask, int button) {
        Seen seen;
        BoxDriver driver(owner.Get(), [&](HWND box) {
            seen = Look(box, owner.Get());
            Press(box, button);
            return true;
        });
        ask();
        EXPECT_TRUE(driver.Found());
        EXPECT_EQ(driver.Strays(), 0);
        return seen;
    }
};

TEST_F(Win32DialogsTest, AMessageHasTheApplicationTitleNoIconAndOpensOverItsOwner) {
    const std::string text = "3 files imported.\r\nGrüße: 2 € Ωμέγα";
    const Seen seen = Answer([&] { dialogs.ShowMessage(text); }, IDOK);
    EXPECT_EQ(seen.caption, "Verrolift");
    EXPECT_TRUE(Contains(seen.texts, text));
    EXPECT_EQ(seen.icon, nullptr);
    ExpectCentredAndModal(seen);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}

TEST_F(Win32DialogsTest, AnErrorReportHasItsCaptionTheWarningIconAndTheReportText) {
    const ErrorReport report{std::string(tags::kMainImport), 132, "ORA-00942: no such table"};
    const Seen seen = Answer([&] { dialogs.ShowErrorReport(report); }, IDOK);
    EXPECT_EQ(seen.caption, "Application Error");
    EXPECT_TRUE(Contains(seen.texts, report.Text()));
    EXPECT_EQ(seen.icon, kWarningIcon);
    ExpectCentredAndModal(seen);
}

TEST_F(Win32DialogsTest, TheInputBoxShowsThePromptAndTheDefaultSelectedOverItsOwner) {
    const Seen seen = Answer([&] { dialogs.InputBox("Name of column 3:", "Kolonne_3"); }, IDOK);
    EXPECT_EQ(seen.caption, "Verrolift");
    EXPECT_TRUE(Contains(seen.texts, "Name of column 3:"));
    EXPECT_EQ(seen.answerShown, "Kolonne_3");
    EXPECT_EQ(seen.selectionStart, 0u);
    EXPECT_EQ(seen.selectionEnd, 9u);
    ExpectCentredAndModal(seen);
}

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

TEST_P(InputBoxAnswer, GivesWhatWasTypedOnlyWhenOkIsPressed) {
    const AnswerCase& c = GetParam();
    BoxDriver driver(owner.Get(), [&](HWND box) {
        const HWND edit = GetDlgItem(box, kInputBoxAnswerId);
        if (c.typed) test::Type(edit, *c.typed);
        if (c.button)
            Press(box, c.button);
        else
            SendMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    const std::string answer = dialogs.InputBox("Name of column 1:", c.defaultAnswer);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(driver.Strays(), 0);
    EXPECT_EQ(answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Dialogs, InputBoxAnswer,
    ::testing::Values(AnswerCase{"DefaultTakenAsItIs", "Kolonne_1", std::nullopt, IDOK,
                                 "Kolonne_1"},
                      AnswerCase{"TypingReplacesTheDefault", "Kolonne_1", L"Name", IDOK, "Name"},
                      AnswerCase{"BeyondLatin1", "", L"Größe_€_Ω", IDOK, "Größe_€_Ω"},
                      AnswerCase{"EmptiedIsEmpty", "Kolonne_1", L"\b", IDOK, ""},
                      AnswerCase{"CancelGivesNothing", "Kolonne_1", L"Name", IDCANCEL, ""},
                      AnswerCase{"ClosingGivesNothing", "Kolonne_1", L"Name", 0, ""}),
    [](const ::testing::TestParamInfo<AnswerCase>& p) { return std::string(p.param.name); });

TEST_F(Win32DialogsTest, ALongPromptMakesTheInputBoxTallerWithTheAnswerBelowIt) {
    std::string prompt;
    for (int i = 0; i < 30; ++i) prompt += "The column has no name in the file's first line. ";
    const Seen seen = Answer([&] { dialogs.InputBox(prompt, ""); }, IDCANCEL);
    EXPECT_GT(seen.promptPlace.bottom - seen.promptPlace.top, 200);
    EXPECT_GE(seen.answerPlace.top, seen.promptPlace.bottom);
    ExpectCentredAndModal(seen);
}

// Every question while the program is ending stops the command instead of showing a box.
struct EndingCase {
    const char* name;
    std::function<void(Dialogs&)> ask;
    friend void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }
};

class WhenEnding : public Win32DialogsTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(WhenEnding, NoBoxOpensAndTheCommandStops) {
    dialogs.SetEnding([] { return true; });
    BoxDriver driver(owner.Get(), [](HWND box) {
        Press(box, IDCANCEL);
        return true;
    });
    EXPECT_THROW(GetParam().ask(dialogs), RunAborted);
    EXPECT_FALSE(driver.Found());
}

INSTANTIATE_TEST_SUITE_P(
    Win32Dialogs, WhenEnding,
    ::testing::Values(EndingCase{"Message", [](Dialogs& d) { d.ShowMessage("x"); }},
                      EndingCase{"ErrorReport",
                                 [](Dialogs& d) {
                                     d.ShowErrorReport(ErrorReport{"t ", 1, "d"});
                                 }},
                      EndingCase{"InputBox", [](Dialogs& d) { d.InputBox("p", "a"); }},
                      EndingCase{"Files",
                                 [](Dialogs& d) { d.PickFiles("t", "All Files (*.*)|*.*"); }},
                      EndingCase{"Folder", [](Dialogs& d) { d.PickFolder("t", ""); }}),
    [](const ::testing::TestParamInfo<EndingCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace verrolift::win32
