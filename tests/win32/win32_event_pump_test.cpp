#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "win32/win32_event_pump.h"

namespace verrolift::win32 {
namespace {

constexpr UINT kWork = WM_APP + 1;

// A window that counts the work messages it is handed and may end the program on one.
class CountingWindow {
public:
    CountingWindow() {
        static const ATOM registered = [] {
            WNDCLASSEXW type{};
            type.cbSize = sizeof type;
            type.lpfnWndProc = &CountingWindow::OnMessage;
            type.hInstance = GetModuleHandleW(nullptr);
            type.lpszClassName = L"VerroliftTestCounter";
            return RegisterClassExW(&type);
        }();
        static_cast<void>(registered);
        window_ = CreateWindowExW(0, L"VerroliftTestCounter", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CountingWindow() { DestroyWindow(window_); }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND Get() const { return window_; }
    void Post() const { PostMessageW(window_, kWork, 0, 0); }
    int handled = 0;
    bool endOnWork = false;
    bool ending = false;

private:
    static LRESULT CALLBACK OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == kWork && self) {
            ++self->handled;
            if (self->endOnWork) self->ending = true;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_;
};

// Leaves the queue empty for the next test.
void Drain() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(Win32EventPump, AYieldDispatchesWhatIsWaiting) {
    CountingWindow window;
    Win32EventPump pump([&] { return window.ending; }, 0);
    window.Post();
    window.Post();
    pump.Yield();
    EXPECT_EQ(window.handled, 2);
    Drain();
}

// A second yield soon after the first dispatches only when the interval has passed.
struct IntervalCase {
    const char* name;
    int intervalMs;
    int sleepMs;
    int handledAfterSecond;
    friend void PrintTo(const IntervalCase& c, std::ostream* out) { *out << c.name; }
};

class YieldInterval : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(YieldInterval, DispatchesAtMostOncePerInterval) {
    CountingWindow window;
    Win32EventPump pump([&] { return window.ending; }, GetParam().intervalMs);
    pump.Yield();  // The first yield always dispatches.
    window.Post();
    Sleep(static_cast<DWORD>(GetParam().sleepMs));
    pump.Yield();
    EXPECT_EQ(window.handled, GetParam().handledAfterSecond);
    Drain();
}

INSTANTIATE_TEST_SUITE_P(Win32EventPump, YieldInterval,
                         ::testing::Values(IntervalCase{"NoInterval", 0, 0, 1},
                                           IntervalCase{"WithinTheInterval", 60000, 0, 0},
                                           IntervalCase{"AfterTheInterval", 50, 120, 1}),
                         [](const ::testing::TestParamInfo<IntervalCase>& p) {
                             return std::string(p.param.name);
                         });

// The program ending stops the yielding command, whether before the yield or while the
// messages it dispatched ran.
struct EndingCase {
    const char* name;
    bool endingBefore;
    bool endOnWork;
    int handled;
    friend void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }
};

class YieldWhenEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(YieldWhenEnding, ThrowsRunAborted) {
    CountingWindow window;
    window.ending = GetParam().endingBefore;
    window.endOnWork = GetParam().endOnWork;
    Win32EventPump pump([&] { return window.ending; }, 0);
    window.Post();
    EXPECT_THROW(pump.Yield(), RunAborted);
    EXPECT_EQ(window.handled, GetParam().handled);
    Drain();
}

INSTANTIATE_TEST_SUITE_P(Win32EventPump, YieldWhenEnding,
                         ::testing::Values(EndingCase{"EndingBefore", true, false, 0},
                                           EndingCase{"EndedByAWindow", false, true, 1}),
                         [](const ::testing::TestParamInfo<EndingCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(Win32EventPump, TheQuitStaysForTheProgramsOwnLoop) {
    CountingWindow window;
    Win32EventPump pump([] { return false; }, 0);
    PostQuitMessage(3);
    pump.Yield();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    Drain();
}

// Tab moves on to the next control in the program's windows, as the dialog manager does
// there; in other windows it is a key like any other.
struct TabCase {
    const char* name;
    bool known;
    int focusedAfter;
    friend void PrintTo(const TabCase& c, std::ostream* out) { *out << c.name; }
};

class TabKey : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabKey, MovesTheFocusInTheProgramsWindowsOnly) {
    const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"VerroliftTestCounter", L"Tabs",
                                        WS_POPUP | WS_VISIBLE, 100, 100, 300, 120, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    HWND edits[2] = {};
    for (int i = 0; i < 2; ++i)
        edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER,
                                   10, 10 + 40 * i, 200, 24, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(10 + i)),
                                   GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    SetFocus(edits[0]);
    ASSERT_EQ(GetFocus(), edits[0]);
    const bool known = GetParam().known;
    Win32EventPump pump([] { return false; }, 0,
                        [&] { return known ? std::vector<HWND>{window} : std::vector<HWND>{}; });
    PostMessageW(edits[0], WM_KEYDOWN, VK_TAB, 1);
    pump.Yield();
    EXPECT_EQ(GetFocus(), edits[GetParam().focusedAfter]);
    DestroyWindow(window);
    Drain();
}

INSTANTIATE_TEST_SUITE_P(Win32EventPump, TabKey,
                         ::testing::Values(TabCase{"ProgramsWindow", true, 1},
                                           TabCase{"OtherWindow", false, 0}),
                         [](const ::testing::TestParamInfo<TabCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
}  // namespace verrolift::win32
