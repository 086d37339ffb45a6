#pragma once

#include <cstdint>

namespace verrolift::add_files_steps {

// Statement numbers of the files command. Numbers left out belong to
// statements that cannot fail.
inline constexpr std::int32_t kPickFiles = 112;
inline constexpr std::int32_t kAddOnlyFile = 122;
inline constexpr std::int32_t kAddEachFile = 140;

}  // namespace verrolift::add_files_steps
