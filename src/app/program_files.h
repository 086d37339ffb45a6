#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// Optional files beside the program that change the look.
inline constexpr std::string_view kSkinFile = "x/o.cjs";
inline constexpr std::string_view kPointerFile = "HAND-M.CUR";

// The program folder, a separator, then name (written with "/").
std::string ProgramFile(const std::string& programFolder, std::string_view name);

}  // namespace verrolift
