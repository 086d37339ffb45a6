#include "db_test_util.h"

#include <cctype>

namespace verrolift::test {

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Literal(std::string_view bytes) {
    std::string out = "'";
    for (char c : bytes) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

bool HasStatePrefix(const std::string& description) {
    if (description.size() < 9 || description[0] != '[' || description[6] != ']' ||
        description[7] != ' ')
        return false;
    for (std::size_t i = 1; i <= 5; ++i)
        if (!std::isalnum(static_cast<unsigned char>(description[i]))) return false;
    return true;
}

}  // namespace verrolift::test
