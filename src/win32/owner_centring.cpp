#include "win32/owner_centring.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace verrolift::win32 {

namespace {

// The innermost waiting centring of this thread; a box opened from within a box waits
// inside the outer one.
thread_local CentreNextBoxOver* waiting = nullptr;

bool IsDialogBox(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring_view(name) == L"#32770";
}

}  // namespace

RECT CentredOver(SIZE box, const RECT& owner, const RECT& workArea) {
    LONG left = owner.left + ((owner.right - owner.left) - box.cx) / 2;
    LONG top = owner.top + ((owner.bottom - owner.top) - box.cy) / 2;
    left = std::max(std::min(left, workArea.right - box.cx), workArea.left);
    top = std::max(std::min(top, workArea.bottom - box.cy), workArea.top);
    return RECT{left, top, left + box.cx, top + box.cy};
}

void CentreOverOwner(HWND window, HWND owner) {
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner)) return;
    RECT box{};
    RECT over{};
    if (!GetWindowRect(window, &box) || !GetWindowRect(owner, &over)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT place =
        CentredOver(SIZE{box.right - box.left, box.bottom - box.top}, over, monitor.rcWork);
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CentreNextBoxOver::CentreNextBoxOver(HWND owner) : owner_(owner), outer_(waiting) {
    waiting = this;
    if (owner_)
        hook_ = SetWindowsHookExW(WH_CBT, &CentreNextBoxOver::OnWindowEvent, nullptr,
                                  GetCurrentThreadId());
}

CentreNextBoxOver::~CentreNextBoxOver() {
    Unhook();
    waiting = outer_;
}

void CentreNextBoxOver::Unhook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
}

LRESULT CALLBACK CentreNextBoxOver::OnWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        CentreNextBoxOver* centring = waiting;
        if (centring && centring->hook_ && IsDialogBox(window) &&
            GetWindow(window, GW_OWNER) == centring->owner_) {
            // Once: later activations of the same box keep where the user put it.
            centring->Unhook();
            CentreOverOwner(window, centring->owner_);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace verrolift::win32
