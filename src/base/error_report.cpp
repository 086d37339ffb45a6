#include "base/error_report.h"

namespace verrolift {

std::string BuildErrorReportText(std::string_view tag, std::int32_t step,
                                 std::string_view description) {
    std::string text;
    text.reserve(description.size() + tag.size() + 80);
    text.append(description);
    text.append("\r\n");
    text.append(tag);
    text.append("at line ");
    // The number is shown without sign; step numbers are positive by construction.
    text.append(std::to_string(step < 0 ? -static_cast<std::int64_t>(step) : step));
    text.append("\r\r");
    text.append("Please email screenshot of this message to ");
    text.append(kSupportAddress);
    return text;
}

std::string ErrorReport::Text() const {
    return BuildErrorReportText(tag, step, description);
}

}  // namespace verrolift
