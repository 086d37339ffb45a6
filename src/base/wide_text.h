#pragma once

#ifdef _WIN32
#include <string>
#include <string_view>

namespace verrolift {

// Windows names files in UTF-16; this program's paths are UTF-8 bytes. The command
// line is turned into UTF-8 once, at the start, and every path back into UTF-16 where
// it meets a wide file function. File contents are never converted.

// Invalid UTF-8 becomes U+FFFD, so that no such path can name an existing file.
std::wstring WidePath(std::string_view utf8);

std::string Utf8FromWide(std::wstring_view wide);

}  // namespace verrolift
#endif
