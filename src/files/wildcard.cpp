#include "files/wildcard.h"

#include <cwchar>
#include <cwctype>

#include "files/folder_lister.h"

namespace verrolift {

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Bytes that form no character get values above every code point, so that
// they only ever match themselves.
constexpr char32_t kRawByteBase = 0x110000;

// Greedy match with one remembered star: linear in the usual cases, and
// never worse than pattern length times name length.
template <class Char, class Fold>
bool GlobMatch(std::basic_string_view<Char> pattern, std::basic_string_view<Char> name, Fold fold) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::basic_string_view<Char>::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == Char('?') || pattern[p] == fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::basic_string_view<Char>::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == Char('*')) ++p;
    return p == pattern.size();
}

}  // namespace

WildcardPattern::WildcardPattern(std::string_view pattern) {
    trailingDotStar_ = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    ascii_ = IsAscii(pattern);
    if (ascii_) {
        asciiPattern_.reserve(pattern.size());
        for (char c : pattern) asciiPattern_.push_back(FoldAscii(c));
    }
    pattern_ = Decode(pattern);
}

std::u32string WildcardPattern::Decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char32_t>(FoldAscii(static_cast<char>(byte))));
            ++i;
            continue;
        }
        const auto character = DecodeNameCharacter(text.substr(i), state);
        if (!character) {
            out.push_back(kRawByteBase + byte);
            state = std::mbstate_t{};
            ++i;
            continue;
        }
        // towlower knows only what a wchar_t holds (16 bits on Windows).
        const char32_t code = character->code;
        out.push_back(code <= static_cast<char32_t>(WCHAR_MAX)
                          ? static_cast<char32_t>(std::towlower(static_cast<std::wint_t>(code)))
                          : code);
        i += character->size;
    }
    return out;
}

bool WildcardPattern::MatchAscii(std::string_view pattern, std::string_view name) {
    return GlobMatch<char>(pattern, name, FoldAscii);
}

bool WildcardPattern::Match(std::u32string_view pattern, std::u32string_view name) {
    return GlobMatch<char32_t>(pattern, name, [](char32_t c) { return c; });
}

bool WildcardPattern::Matches(std::string_view name) const {
    if (ascii_ && IsAscii(name)) {
        if (MatchAscii(asciiPattern_, name)) return true;
        return trailingDotStar_ &&
               MatchAscii(std::string_view(asciiPattern_).substr(0, asciiPattern_.size() - 2),
                          name);
    }
    const std::u32string decoded = Decode(name);
    if (Match(pattern_, decoded)) return true;
    return trailingDotStar_ &&
           Match(std::u32string_view(pattern_).substr(0, pattern_.size() - 2), decoded);
}

}  // namespace verrolift
