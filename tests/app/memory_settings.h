#pragma once

#include <map>
#include <string>
#include <tuple>

#include "base/settings_store.h"

namespace verrolift::test {

// Settings kept in memory for one test.
class MemorySettings : public SettingsStore {
public:
    std::string GetSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view defaultValue) override {
        const auto found =
            values.find({std::string(application), std::string(section), std::string(key)});
        return found == values.end() ? std::string(defaultValue) : found->second;
    }
    void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                     std::string_view value) override {
        values[{std::string(application), std::string(section), std::string(key)}] = value;
    }
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
};

}  // namespace verrolift::test
