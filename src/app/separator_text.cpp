#include "app/separator_text.h"

namespace verrolift {

namespace {
constexpr const char* kTabInBox = "\\t";
}

std::string SeparatorOfBoxText(const std::string& boxText) {
    std::string separator;
    separator.reserve(boxText.size());
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        if (boxText.compare(i, 2, kTabInBox) == 0) {
            separator += '\t';
            ++i;
        } else {
            separator += boxText[i];
        }
    }
    return separator;
}

std::string BoxTextOfSeparator(const std::string& separator) {
    std::string text;
    text.reserve(separator.size());
    for (char c : separator) {
        if (c == '\t')
            text += kTabInBox;
        else
            text += c;
    }
    return text;
}

}  // namespace verrolift
