#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/settings_store.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "ui/qt_settings_store.h"

namespace verrolift {
namespace {

constexpr std::string_view kApp = kSettingsApplication;
constexpr std::string_view kSection = kSettingsSection;

unsigned Mode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0xffff;
    return st.st_mode & 0777;
}

TEST(QtSettingsStore, AbsentKeyReadsAsTheCallersDefault) {
    test::TempDir dir;
    QtSettingsStore store(dir.Path());
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kExtension, "txt"), "txt");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOracleSid, ""), "");
}

TEST(QtSettingsStore, EmptyValueIsStoredAndReadsAsEmptyNotAsAbsent) {
    test::TempDir dir;
    QtSettingsStore store(dir.Path());
    store.SaveSetting(kApp, kSection, keys::kOraclePassword, "x");
    store.SaveSetting(kApp, kSection, keys::kOraclePassword, "");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOraclePassword, "<absent>"), "");
}

class QtSettingsStoreValues : public ::testing::TestWithParam<std::string> {};

TEST_P(QtSettingsStoreValues, ComeBackUnchanged) {
    test::TempDir dir;
    {
        QtSettingsStore store(dir.Path());
        store.SaveSetting(kApp, kSection, keys::kOraclePassword, GetParam());
    }
    // A later run: a store of its own over the same place.
    QtSettingsStore next(dir.Path());
    EXPECT_EQ(next.GetSetting(kApp, kSection, keys::kOraclePassword, "<absent>"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, QtSettingsStoreValues,
                         ::testing::Values(" leading and trailing ", "a;b=c", "\"quoted\" 'and' \\",
                                           "[Verrolift]", "#not a comment", "x,y,z", "%25 percent",
                                           "line\nbreak", "Z\xc3\xbcrich", "{other;pw}x"));

TEST(QtSettingsStore, KeepsOneIniFileUnderTheApplicationWithTheSectionAsGroup) {
    test::TempDir dir;
    QtSettingsStore store(dir.Path());
    store.SaveSetting(kApp, kSection, keys::kOracleSid, "ORCL");
    const std::string file = dir.Path() + "/Corvendel/Corvendel.conf";
    EXPECT_EQ(store.Location(kApp), file);
    const std::string text = test::ReadFileBytes(file);
    EXPECT_NE(text.find("[Verrolift]"), std::string::npos) << text;
    EXPECT_NE(text.find("OracleSID=ORCL"), std::string::npos) << text;
}

TEST(QtSettingsStore, FileHoldingThePasswordIsReadableByItsOwnerOnly) {
    test::TempDir dir;
    const mode_t old = ::umask(0);  // the widest a careless umask allows
    QtSettingsStore store(dir.Path());
    store.SaveSetting(kApp, kSection, keys::kOraclePassword, "secret");
    ::umask(old);
    EXPECT_EQ(Mode(store.Location(kApp)), 0600u);
}

TEST(QtSettingsStore, ModeIsPutBackAtTheNextWrite) {
    test::TempDir dir;
    QtSettingsStore store(dir.Path());
    store.SaveSetting(kApp, kSection, keys::kOracleUser, "scott");
    ASSERT_EQ(::chmod(store.Location(kApp).c_str(), 0644), 0);
    store.SaveSetting(kApp, kSection, keys::kOraclePassword, "tiger");
    EXPECT_EQ(Mode(store.Location(kApp)), 0600u);
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOracleUser, ""), "scott");
}

TEST(QtSettingsStore, EveryReadGoesToTheStore) {
    test::TempDir dir;
    QtSettingsStore first(dir.Path());
    QtSettingsStore second(dir.Path());
    first.SaveSetting(kApp, kSection, keys::kLastFolder, "/one");
    EXPECT_EQ(second.GetSetting(kApp, kSection, keys::kLastFolder, ""), "/one");
    second.SaveSetting(kApp, kSection, keys::kLastFolder, "/two");
    EXPECT_EQ(first.GetSetting(kApp, kSection, keys::kLastFolder, ""), "/two");
}

TEST(QtSettingsStore, KeysAreKeptApart) {
    test::TempDir dir;
    QtSettingsStore store(dir.Path());
    store.SaveSetting(kApp, kSection, keys::kOracleSid, "s");
    store.SaveSetting(kApp, kSection, keys::kOracleUser, "u");
    store.SaveSetting(kApp, kSection, keys::kOraclePassword, "p");
    store.SaveSetting(kApp, kSection, keys::kExtension, "csv");
    store.SaveSetting(kApp, kSection, keys::kLastFolder, "/data");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOracleSid, ""), "s");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOracleUser, ""), "u");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kOraclePassword, ""), "p");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kExtension, ""), "csv");
    EXPECT_EQ(store.GetSetting(kApp, kSection, keys::kLastFolder, ""), "/data");
    EXPECT_EQ(store.GetSetting(kApp, "OtherSection", keys::kOracleSid, "none"), "none");
}

TEST(QtSettingsStore, DefaultPlaceIsUnderXdgConfigHome) {
    test::TempDir dir;
    std::optional<QtSettingsStore> store;
    {
        test::ScopedEnvironment config("XDG_CONFIG_HOME", dir.Path());
        store.emplace();
        store->SaveSetting(kApp, kSection, keys::kExtension, "dat");
    }
    EXPECT_EQ(store->Location(kApp), dir.Path() + "/Corvendel/Corvendel.conf");
    EXPECT_NE(test::ReadFileBytes(dir.Path() + "/Corvendel/Corvendel.conf").find("Extension=dat"),
              std::string::npos);
}

TEST(QtSettingsStore, StoreThatCannotBeWrittenFails) {
    test::TempDir dir;
    // The configuration folder is a plain file: nothing can be created below it.
    const std::string root = dir.Write("not-a-folder", "x");
    QtSettingsStore store(root);
    EXPECT_THROW(store.SaveSetting(kApp, kSection, keys::kOracleSid, "s"), Failure);
}

}  // namespace
}  // namespace verrolift
