#include "base/display_text.h"

namespace verrolift {

namespace {

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string ForDisplay(std::string_view text, std::string_view kept) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsControl(byte) || kept.find(c) != std::string_view::npos) {
            out.push_back(c);
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        out += "\\x";
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0x0F]);
    }
    return out;
}

}  // namespace verrolift
