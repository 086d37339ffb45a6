#include "app/application_title.h"

namespace verrolift {

std::string TitleFromProductName(std::string_view productName) {
    std::string title(productName);
    while (title.size() > 40) {
        const auto blank = title.rfind(' ');
        // A name with no blank to cut at stays as it is.
        if (blank == std::string::npos) break;
        title.resize(blank);
    }
    return title;
}

}  // namespace verrolift
