#include <string>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "win32/registry_settings_store.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {
namespace {

// The tests keep their values under a root of their own, never among the real settings.
class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    ~RegistrySettingsStoreTest() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(root).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Verrolift Tests");
    }
    const std::string root =
        "Software\\Verrolift Tests\\Settings " + std::to_string(GetCurrentProcessId());
    const std::wstring section = Wide(root + "\\Corvendel\\Verrolift");
    RegistrySettingsStore store{root};
};

struct ValueCase {
    const char* name;
    std::string value;
    friend void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }
};

class RegistryValue : public RegistrySettingsStoreTest,
                      public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RegistryValue, IsAStringNamedByItsKeyInTheSectionKey) {
    const std::string& value = GetParam().value;
    store.SaveSetting("Corvendel", "Verrolift", "OracleSID", value);
    EXPECT_EQ(store.GetSetting("Corvendel", "Verrolift", "OracleSID", "(default)"), value);

    // As any other program reads it, with its type as kept.
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, section.c_str(), L"OracleSID",
                           RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, section.c_str(), L"OracleSID", RRF_RT_REG_SZ, nullptr,
                           text.data(), &bytes),
              ERROR_SUCCESS);
    text.resize(bytes / sizeof(wchar_t) - 1);
    EXPECT_EQ(text, Wide(value));
}

INSTANTIATE_TEST_SUITE_P(
    RegistrySettingsStore, RegistryValue,
    ::testing::Values(ValueCase{"Ascii", "ORCL_01"},
                      ValueCase{"BeyondLatin1", "Grüße € Ωμέγα 東京 \xF0\x9F\x98\x80"},
                      ValueCase{"Empty", ""}, ValueCase{"Long", std::string(20000, 'x') + "end"}),
    [](const ::testing::TestParamInfo<ValueCase>& p) { return std::string(p.param.name); });

TEST_F(RegistrySettingsStoreTest, WhatWasNeverSavedReadsAsTheDefault) {
    // Neither the application's key nor its section's exist yet.
    EXPECT_EQ(store.GetSetting("Corvendel", "Verrolift", "OracleUser", "scott"), "scott");
    store.SaveSetting("Corvendel", "Verrolift", "OracleSID", "ORCL");
    // The section's key exists, the value does not.
    EXPECT_EQ(store.GetSetting("Corvendel", "Verrolift", "OracleUser", "scott"), "scott");
}

TEST_F(RegistrySettingsStoreTest, AValueThatIsNotAStringIsAFailureNamingItsKey) {
    store.SaveSetting("Corvendel", "Verrolift", "OracleSID", "ORCL");
    const DWORD number = 7;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Extension", REG_DWORD, &number,
                              sizeof number),
              ERROR_SUCCESS);
    try {
        store.GetSetting("Corvendel", "Verrolift", "Extension", "txt");
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("Extension at HKEY_CURRENT_USER\\" + root +
                                             "\\Corvendel\\Verrolift"),
                  std::string::npos)
            << failure.Description();
    }
}

TEST(RegistrySettingsStore, TheRealSettingsLiveWhereTheyAlwaysHave) {
    EXPECT_EQ(RegistrySettingsStore().SectionKey("Corvendel", "Verrolift"),
              "Software\\VB and VBA Program Settings\\Corvendel\\Verrolift");
}

}  // namespace
}  // namespace verrolift::win32
