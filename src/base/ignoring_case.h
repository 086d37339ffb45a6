#pragma once

#include <cstddef>
#include <string_view>

namespace verrolift {

// Equal without regard to letter case, for ASCII letters only: names and keys are bytes
// whose other values must match exactly, whatever the locale.
constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    constexpr auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace verrolift
