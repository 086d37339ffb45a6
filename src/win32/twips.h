#pragma once

#include "base/windows_api.h"

namespace verrolift::win32 {

// The windows are laid out in twips (1440 per inch), as designed; a window's dpi turns
// them into pixels (15 twips a pixel at 96 dpi).
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

int Pixels(int twips, int dpi);

// A place in twips, from the top left of the client area of its window.
struct TwipsBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // This box given inside frame, from the client area's corner.
    TwipsBox In(const TwipsBox& frame) const {
        return {frame.left + left, frame.top + top, width, height};
    }
    RECT Pixels(int dpi) const;
};

// The dpi a window is shown at: its monitor's under per-monitor awareness, else the system's.
int DpiOf(HWND window);

}  // namespace verrolift::win32
