#pragma once

#include "base/windows_api.h"

namespace verrolift::win32 {

// Where a box of the given size goes to sit centred over the owner's rectangle, moved
// as little as needed to lie within the work area; a box larger than the work area
// keeps its top left corner in it.
RECT CentredOver(SIZE box, const RECT& owner, const RECT& workArea);

// Moves window to sit centred over owner, within the work area of owner's monitor.
// Nothing happens without an owner or when the owner is hidden or minimised.
void CentreOverOwner(HWND window, HWND owner);

// While it lives, the next dialog box this thread opens with owner as its owner is
// centred over it as it becomes active: message boxes centre on the screen by themselves.
class CentreNextBoxOver {
public:
    explicit CentreNextBoxOver(HWND owner);
    ~CentreNextBoxOver();
    CentreNextBoxOver(const CentreNextBoxOver&) = delete;
    CentreNextBoxOver& operator=(const CentreNextBoxOver&) = delete;

private:
    static LRESULT CALLBACK OnWindowEvent(int code, WPARAM wParam, LPARAM lParam);
    void Unhook();

    HWND owner_;
    HHOOK hook_ = nullptr;
    CentreNextBoxOver* outer_;
};

}  // namespace verrolift::win32
