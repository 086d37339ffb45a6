#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "base/windows_api.h"

namespace verrolift::win32::test {

// A visible top-level window to own the boxes under test.
class OwnerWindow {
public:
    explicit OwnerWindow(RECT place);
    ~OwnerWindow() { DestroyWindow(window_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

// Answers the dialog box that this thread opens next over owner, as a user would: a timer
// of this thread looks for it while the box's own message loop runs and hands it to step
// at every tick until step says it is done. Boxes still open well after that, or long
// after the driver began, are cancelled and counted as strays, so that no test hangs.
class BoxDriver {
public:
    using Step = std::function<bool(HWND box)>;
    BoxDriver(HWND owner, Step step);
    ~BoxDriver();
    BoxDriver(const BoxDriver&) = delete;
    BoxDriver& operator=(const BoxDriver&) = delete;

    bool Found() const { return found_; }
    bool Done() const { return done_; }
    int Strays() const { return strays_; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);

    HWND owner_;
    Step step_;
    UINT_PTR timer_;
    bool found_ = false;
    bool done_ = false;
    int strays_ = 0;
    std::chrono::steady_clock::time_point deadline_;
};

// The texts of a box's static controls, in their order.
std::vector<std::string> StaticTexts(HWND box);
// The icon a box shows; null when it shows none.
HICON ShownIcon(HWND box);
// Presses a box's button as a click would.
void Press(HWND box, int id);
// Types text into a control, a character at a time.
void Type(HWND control, const std::wstring& text);
// How far the centre of a box's rectangle lies from its owner's.
POINT OffCentre(HWND box, HWND owner);

}  // namespace verrolift::win32::test
