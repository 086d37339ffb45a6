#include "win32/registry_settings_store.h"

#include "base/failure.h"
#include "base/windows_api.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

std::string SystemMessage(LSTATUS error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length != 0 && text ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(error) : Utf8(message);
}

Failure SettingFailure(std::string_view doing, std::string_view key, const std::string& where,
                       LSTATUS error) {
    return Failure("Cannot " + std::string(doing) + " the setting " + std::string(key) +
                   " at HKEY_CURRENT_USER\\" + where + ": " + SystemMessage(error));
}

class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string root) : root_(std::move(root)) {}

std::string RegistrySettingsStore::SectionKey(std::string_view application,
                                              std::string_view section) const {
    return root_ + "\\" + std::string(application) + "\\" + std::string(section);
}

std::string RegistrySettingsStore::GetSetting(std::string_view application,
                                              std::string_view section, std::string_view key,
                                              std::string_view defaultValue) {
    const std::string where = SectionKey(application, section);
    const std::wstring path = Wide(where);
    const std::wstring name = Wide(key);
    std::wstring value(64, L'\0');
    for (;;) {
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(),
                                            RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_SUCCESS) {
            // The size counts the terminating NUL that the registry adds where it is missing.
            value.resize(bytes / sizeof(wchar_t));
            if (!value.empty() && value.back() == L'\0') value.pop_back();
            return Utf8(value);
        }
        // Neither the key nor the value: never saved.
        if (status == ERROR_FILE_NOT_FOUND) return std::string(defaultValue);
        if (status != ERROR_MORE_DATA) throw SettingFailure("read", key, where, status);
        // The first guess was short, or the value grew meanwhile: as much room as it says.
        value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    }
}

void RegistrySettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                        std::string_view key, std::string_view value) {
    const std::string where = SectionKey(application, section);
    OpenKey opened;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(where).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, opened.Receive(), nullptr);
    if (status != ERROR_SUCCESS) throw SettingFailure("save", key, where, status);
    const std::wstring text = Wide(value);
    // With its terminating NUL, as a string value is kept.
    status = RegSetValueExW(opened.Get(), Wide(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) throw SettingFailure("save", key, where, status);
}

}  // namespace verrolift::win32
