#include "win32/win32_window_pointer.h"

namespace verrolift::win32 {

Win32WindowPointer::~Win32WindowPointer() {
    if (hand_) DestroyCursor(hand_);
}

void Win32WindowPointer::SetPointer(PointerShape shape) {
    const bool wasBusy = Busy();
    if (shape == shape_) return;
    shape_ = shape;
    ShowNow();
    if (busyListener_ && wasBusy != Busy()) busyListener_(Busy());
}

bool Win32WindowPointer::LoadHand(const std::wstring& path) {
    HCURSOR cursor = LoadCursorFromFileW(path.c_str());
    if (!cursor) return false;
    if (hand_) DestroyCursor(hand_);
    hand_ = cursor;
    ShowNow();
    return true;
}

HCURSOR Win32WindowPointer::Cursor() const {
    switch (shape_) {
        case PointerShape::Busy:
            return LoadCursorW(nullptr, IDC_WAIT);
        case PointerShape::Custom:
            return hand_;
        case PointerShape::Default:
            break;
    }
    return nullptr;
}

void Win32WindowPointer::ShowNow() const {
    // Windows shows a new pointer on the next move only: one over this window is asked now.
    POINT at{};
    if (!window_ || !IsWindowVisible(window_) || !GetCursorPos(&at)) return;
    HWND under = WindowFromPoint(at);
    if (!under || GetAncestor(under, GA_ROOT) != window_) return;
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

}  // namespace verrolift::win32
