#include "import/line_end_mode.h"

#include <cstring>

namespace verrolift {

std::optional<LineEndMode> DecideLineEndMode(std::string_view bytes) {
    if (bytes.empty()) return std::nullopt;
    const void* cr = std::memchr(bytes.data(), '\r', bytes.size());
    // Only what comes before the first CR can hold an earlier LF.
    const std::size_t before =
        cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data())
                      : bytes.size();
    if (std::memchr(bytes.data(), '\n', before) != nullptr) return LineEndMode::Lf;
    if (cr != nullptr) return LineEndMode::CrOrCrLf;
    return std::nullopt;
}

}  // namespace verrolift
