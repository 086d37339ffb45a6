#include "win32/wide_window_text.h"

#include "base/wide_text.h"

namespace verrolift::win32 {

std::wstring Wide(std::string_view utf8) {
    return WidePath(utf8);
}

std::string Utf8(std::wstring_view wide) {
    return Utf8FromWide(wide);
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Utf8(text);
}

void PutText(HWND window, std::string_view utf8) {
    SetWindowTextW(window, Wide(utf8).c_str());
}

}  // namespace verrolift::win32
