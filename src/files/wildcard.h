#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// A file-name pattern with the wildcard rules of a file search: "*" stands
// for any run of characters, "?" for exactly one, letters match without
// regard to case, and a pattern ending in ".*" also matches a name without
// that dot ("*.*" matches every name). Characters are those of the current
// locale; bytes that form none stand for themselves.
class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view pattern);

    bool Matches(std::string_view name) const;

private:
    static std::u32string Decode(std::string_view text);
    static bool Match(std::u32string_view pattern, std::u32string_view name);
    static bool MatchAscii(std::string_view pattern, std::string_view name);

    std::string asciiPattern_;  // folded to lower case; set when the pattern is ASCII
    bool ascii_ = false;
    std::u32string pattern_;
    bool trailingDotStar_ = false;
};

}  // namespace verrolift
