#pragma once

#include <string>
#include <string_view>

#include "base/settings_store.h"

namespace verrolift {

// The settings store over QSettings. On POSIX one INI file per application,
// <configRoot>/<application>/<application>.conf, one group per section, one
// key per value; the file holds the password in clear text, so it is created
// and kept readable by its owner only. On Windows the registry key
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
class QtSettingsStore : public SettingsStore {
public:
    // The user's configuration folder ($XDG_CONFIG_HOME, default ~/.config).
    QtSettingsStore();
    // Tests and the demo keep their values under a folder of their own.
    explicit QtSettingsStore(std::string configRoot);

    std::string GetSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view defaultValue) override;
    void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Where the values of one application live (the INI file on POSIX).
    std::string Location(std::string_view application) const;

private:
    std::string configRoot_;
};

}  // namespace verrolift
