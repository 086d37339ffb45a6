#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "win32/win32_event_pump.h"

namespace verrolift::win32 {
namespace {

constexpr UINT kWork = WM_APP + 1;

// Counts the work messages handed to a window, and ends the program on one when asked.
int handled = 0;
bool endOnWork = false;
bool ending = false;

LRESULT CALLBACK CountWork(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kWork) return DefWindowProcW(window, message, wParam, lParam);
    ++handled;
    ending = ending || endOnWork;
    return 0;
}

HWND MakeWindow(DWORD exStyle, DWORD style, HWND parent = nullptr) {
    static const ATOM registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = &CountWork;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"VerroliftTestCounter";
        return RegisterClassExW(&type);
    }();
    return CreateWindowExW(exStyle, parent ? L"EDIT" : MAKEINTRESOURCEW(registered), L"", style,
                           100, 100, 300, 120, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class Win32EventPumpTest : public ::testing::Test {
protected:
    Win32EventPumpTest() {
        handled = 0;
        endOnWork = false;
        ending = false;
    }
    ~Win32EventPumpTest() override {
        DestroyWindow(window);
        for (MSG m{}; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
        }
    }
    HWND window = MakeWindow(0, WS_POPUP);
};

// Two yields with a message posted between them: the first always dispatches, the second
// only once the interval has passed; the program ending stops the command before the
// messages or after them.
struct YieldCase {
    const char* name;
    int intervalMs;
    int sleepMs;
    bool endingBefore;
    bool endOnWork;
    int handled;
    bool aborted;
    friend void PrintTo(const YieldCase& c, std::ostream* out) { *out << c.name; }
};

class Yields : public Win32EventPumpTest, public ::testing::WithParamInterface<YieldCase> {};

TEST_P(Yields, DispatchAtMostOncePerIntervalWhileTheProgramRuns) {
    const YieldCase& c = GetParam();
    Win32EventPump pump([] { return ending; }, c.intervalMs);
    pump.Yield();
    ending = c.endingBefore;
    endOnWork = c.endOnWork;
    PostMessageW(window, kWork, 0, 0);
    PostMessageW(window, kWork, 0, 0);
    Sleep(static_cast<DWORD>(c.sleepMs));
    bool aborted = false;
    try {
        pump.Yield();
    } catch (const RunAborted&) {
        aborted = true;
    }
    EXPECT_EQ(handled, c.handled);
    EXPECT_EQ(aborted, c.aborted);
}

INSTANTIATE_TEST_SUITE_P(
    Win32EventPump, Yields,
    ::testing::Values(YieldCase{"NoInterval", 0, 0, false, false, 2, false},
                      YieldCase{"WithinTheInterval", 60000, 0, false, false, 0, false},
                      YieldCase{"AfterTheInterval", 50, 120, false, false, 2, false},
                      YieldCase{"EndingBefore", 0, 0, true, false, 0, true},
                      YieldCase{"EndedByAWindow", 0, 0, false, true, 2, true}),
    [](const ::testing::TestParamInfo<YieldCase>& p) { return std::string(p.param.name); });

TEST_F(Win32EventPumpTest, TheQuitStaysForTheProgramsOwnLoop) {
    Win32EventPump pump([] { return false; }, 0);
    PostQuitMessage(3);
    pump.Yield();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

// Tab moves on to the next control in the program's windows, as their dialog manager
// does; elsewhere it is a key like any other.
class TabKey : public Win32EventPumpTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TabKey, MovesTheFocusInTheProgramsWindowsOnly) {
    const HWND form = MakeWindow(WS_EX_CONTROLPARENT, WS_POPUP | WS_VISIBLE);
    const HWND first = MakeWindow(0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, form);
    const HWND second = MakeWindow(0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, form);
    SetForegroundWindow(form);
    SetFocus(first);
    const bool known = GetParam();
    Win32EventPump pump([] { return false; }, 0,
                        [&] { return known ? std::vector<HWND>{form} : std::vector<HWND>{}; });
    PostMessageW(first, WM_KEYDOWN, VK_TAB, 1);
    pump.Yield();
    EXPECT_EQ(GetFocus(), known ? second : first);
    DestroyWindow(form);
}

INSTANTIATE_TEST_SUITE_P(Win32EventPump, TabKey, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "ProgramsWindow" : "OtherWindow";
                         });

}  // namespace
}  // namespace verrolift::win32
