#pragma once

#include <cstdint>

// Statement numbers of the login window's protected handlers, one namespace
// per handler. Numbers left out belong to statements that cannot fail.
namespace verrolift::login_window_steps {

namespace load {
inline constexpr std::int32_t kSkin = 100;
inline constexpr std::int32_t kTitles = 104;
inline constexpr std::int32_t kHomePage = 106;
inline constexpr std::int32_t kPointerFileTest = 124;
inline constexpr std::int32_t kLoadPointer = 126;
inline constexpr std::int32_t kFillSid = 128;
inline constexpr std::int32_t kFillUser = 130;
inline constexpr std::int32_t kFillPassword = 132;
inline constexpr std::int32_t kProbeTest = 134;
inline constexpr std::int32_t kShowMain = 136;
inline constexpr std::int32_t kHideLogin = 138;
}  // namespace load

namespace sid_help {
inline constexpr std::int32_t kShowText = 100;
}  // namespace sid_help

namespace next {
inline constexpr std::int32_t kProbeTest = 100;
inline constexpr std::int32_t kShowMain = 102;
inline constexpr std::int32_t kHideLogin = 104;
inline constexpr std::int32_t kLoadMain = 106;
}  // namespace next

namespace help {
inline constexpr std::int32_t kShowSidHelp = 100;
inline constexpr std::int32_t kShowDataTypes = 102;
}  // namespace help

}  // namespace verrolift::login_window_steps
