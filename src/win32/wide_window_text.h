#pragma once

#include <string>
#include <string_view>

#include "base/windows_api.h"

namespace verrolift::win32 {

// The program's texts are UTF-8; every window function takes UTF-16.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A window's text as UTF-8, and set from UTF-8.
std::string TextOf(HWND window);
void PutText(HWND window, std::string_view utf8);

}  // namespace verrolift::win32
