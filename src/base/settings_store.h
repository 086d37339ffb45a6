#pragma once

#include <string>
#include <string_view>

namespace verrolift {

inline constexpr std::string_view kSettingsApplication = "Corvendel";
inline constexpr std::string_view kSettingsSection = "Verrolift";

namespace keys {
inline constexpr std::string_view kOracleSid = "OracleSID";
inline constexpr std::string_view kOracleUser = "OracleUser";
inline constexpr std::string_view kOraclePassword = "OraclePassword";
inline constexpr std::string_view kExtension = "Extension";
inline constexpr std::string_view kLastFolder = "LastFolder";
}  // namespace keys

// The per-user store addressed by application, section and key. Every write
// goes to the store at once; every read goes to the store. Failures throw Failure.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string GetSetting(std::string_view application, std::string_view section,
                                   std::string_view key, std::string_view defaultValue) = 0;
    virtual void SaveSetting(std::string_view application, std::string_view section,
                             std::string_view key, std::string_view value) = 0;
};

}  // namespace verrolift
