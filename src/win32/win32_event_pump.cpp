#include "win32/win32_event_pump.h"

#include <algorithm>

#include "base/failure.h"

namespace verrolift::win32 {

namespace {

// A window that keeps posting to itself cannot hold the work up longer than this.
constexpr auto kLongestPass = std::chrono::milliseconds(100);

}  // namespace

bool PassToDialogWindow(const std::vector<HWND>& windows, MSG& message) {
    if (!message.hwnd) return false;
    const HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (std::find(windows.begin(), windows.end(), top) == windows.end()) return false;
    return IsDialogMessageW(top, &message) != FALSE;
}

Win32EventPump::Win32EventPump(std::function<bool()> ending, int intervalMs, DialogWindows windows)
    : ending_(std::move(ending)), interval_(intervalMs), windows_(std::move(windows)) {}

void Win32EventPump::Yield() {
    if (ending_()) throw RunAborted{};
    const auto now = std::chrono::steady_clock::now();
    if (pumped_ && now - last_ < interval_) return;
    DispatchWaiting();
    pumped_ = true;
    last_ = std::chrono::steady_clock::now();
    // A window closed while the messages ran: the yielding command does not resume.
    if (ending_()) throw RunAborted{};
}

void Win32EventPump::DispatchWaiting() {
    const std::vector<HWND> windows = windows_ ? windows_() : std::vector<HWND>();
    const auto start = std::chrono::steady_clock::now();
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the program's own message loop: put back for it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PassToDialogWindow(windows, message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (std::chrono::steady_clock::now() - start >= kLongestPass) break;
    }
}

}  // namespace verrolift::win32
