#pragma once

#include <cstdint>

#include "db/catalogue.h"

// Statement numbers of the main window's protected handlers, one namespace per
// handler. Numbers left out belong to statements that cannot fail.
namespace verrolift::main_window_steps {

namespace load {
inline constexpr std::int32_t kFaceColor = 100;
inline constexpr std::int32_t kIcon = 102;
// The stored "Quoted fields" choice, after the table name and separator are reset.
inline constexpr std::int32_t kQuotedFields = 108;
inline constexpr std::int32_t kPointerFileTest = 110;
inline constexpr std::int32_t kLoadPointer = 112;
inline constexpr std::int32_t kListTables = kListTablesStep;
}  // namespace load

namespace setup_connection {
inline constexpr std::int32_t kShowLogin = 100;
inline constexpr std::int32_t kHideMain = 102;
}  // namespace setup_connection

namespace format_help {
inline constexpr std::int32_t kShowText = 114;
}  // namespace format_help

}  // namespace verrolift::main_window_steps
