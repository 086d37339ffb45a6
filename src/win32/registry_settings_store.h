#pragma once

#include <string>
#include <string_view>

#include "base/settings_store.h"

namespace verrolift::win32 {

// Where the settings of every application live under HKEY_CURRENT_USER.
inline constexpr std::string_view kProgramSettingsKey = "Software\\VB and VBA Program Settings";

// The settings store in the registry: each value a string (REG_SZ) named by its key, in
// HKEY_CURRENT_USER\<root>\<application>\<section>. A missing key or value reads as the
// default; a write creates the key. Failures throw Failure naming the key.
class RegistrySettingsStore : public SettingsStore {
public:
    // root is a key under HKEY_CURRENT_USER; tests keep their values under one of their own.
    explicit RegistrySettingsStore(std::string root = std::string(kProgramSettingsKey));

    std::string GetSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view defaultValue) override;
    void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                     std::string_view value) override;

    // The key of one section under HKEY_CURRENT_USER.
    std::string SectionKey(std::string_view application, std::string_view section) const;

private:
    std::string root_;
};

}  // namespace verrolift::win32
