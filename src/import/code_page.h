#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace verrolift {

// Turns text of one character set into UTF-8, a piece at a time. The platform's code
// pages (code_page_posix.cpp: iconv; code_page_windows.cpp: MultiByteToWideChar) and
// this program's own decoders (UTF-8, UTF-16, Windows-1252) all take this shape, so
// that TextDecoder keeps the bytes of a character cut by a piece's end in one place.
class CodePageConverter {
public:
    virtual ~CodePageConverter() = default;

    // Appends the UTF-8 of data to out, up to an incomplete character at its end, and
    // returns the bytes taken: the rest comes again, followed by the next piece. Input
    // not valid in the character set is not guessed at: U+FFFD goes to out and the index
    // in out where it starts is appended to replaced. A platform converter skips one byte
    // per U+FFFD, so that what follows a bad lead byte is still read.
    virtual std::size_t Convert(const char* data, std::size_t size, std::string& out,
                                std::vector<std::size_t>& replaced) = 0;

    // The end of the text: whatever a stateful converter still holds goes to out.
    virtual void Flush(std::string& /*out*/) {}
};

// The platform's converter from the code page `name` (compared without regard to case),
// or null when the platform does not convert from it. POSIX: any iconv name, and a bare
// number N as cpN; Windows: windows-N, cpN, N and a few common names such as latin1,
// shift_jis or gb18030.
std::unique_ptr<CodePageConverter> OpenPlatformCodePage(std::string_view name);

// The name of the system's legacy code page, for LegacyEncoding: "windows-1252" on
// POSIX; on Windows the ANSI code page (GetACP) as "windows-N", or "utf-8".
std::string SystemCodePageName();

// U+FFFD, which takes the place of input that is not valid in its encoding.
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

}  // namespace verrolift
