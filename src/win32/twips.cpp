#include "win32/twips.h"

#include <cmath>

namespace verrolift::win32 {

int Pixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

RECT TwipsBox::Pixels(int dpi) const {
    const int x = win32::Pixels(left, dpi);
    const int y = win32::Pixels(top, dpi);
    return RECT{x, y, x + win32::Pixels(width, dpi), y + win32::Pixels(height, dpi)};
}

int DpiOf(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi > 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

}  // namespace verrolift::win32
