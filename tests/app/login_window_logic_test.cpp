#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/login_window_logic.h"
#include "app/main_window_logic.h"
#include "base/settings_store.h"
#include "fake_login_view.h"
#include "fake_main_view.h"
#include "memory_settings.h"
#include "recording_flow.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

// A socket folder where no database listens: every probe fails.
constexpr const char* kNowhere = "/nonexistent/verrolift";

class LoginWindowLogicTest : public ::testing::Test {
protected:
    LoginWindowLogicTest() {
        login.onChange = [this](LoginBox box, const std::string& text) {
            loginLogic.BoxChanged(box, text);
        };
    }
    std::string Stored(std::string_view key) {
        return settings.GetSetting(kSettingsApplication, kSettingsSection, key, "<absent>");
    }

    test::TempDir dir;
    test::SqliteDatabase db;
    test::FixedConnection mainProfile{db.ConnectionString()};
    test::RecordingDialogs dialogs;
    test::MemorySettings settings;
    test::RecordingPump pump;
    test::RecordingFlow flow;
    AppContext context{dialogs,
                       settings,
                       pump,
                       flow,
                       dir.Path(),
                       [] { return 0.5; },
                       [](const std::string&) { return true; }};
    test::FakeLoginView login;
    LoginWindowLogic loginLogic{context, login};
    test::FakeMainView main;
    MainWindowLogic mainLogic{context, main, mainProfile};
};

TEST_F(LoginWindowLogicTest, StartUpWithAProfileThatDoesNotConnectFillsTheBoxesAndStaysHere) {
    settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kOracleSid, kNowhere);
    settings.SaveSetting(kSettingsApplication, kSettingsSection, keys::kOracleUser, "scott");
    loginLogic.Load();
    EXPECT_EQ(loginLogic.Profile().sid, kNowhere);
    EXPECT_EQ(loginLogic.Profile().userName, "scott");
    EXPECT_EQ(loginLogic.Profile().password, "");
    EXPECT_TRUE(flow.calls.empty());
    EXPECT_TRUE(dialogs.log.empty());
    // A box left empty was never changed, so nothing was written for it.
    EXPECT_EQ(Stored(keys::kOraclePassword), "<absent>");
    login.SetText(LoginBox::Password, "tiger");
    EXPECT_EQ(Stored(keys::kOraclePassword), "tiger");
}

struct LoginCommand {
    const char* name;
    std::function<void(LoginWindowLogic&)> command;
};

void PrintTo(const LoginCommand& c, std::ostream* os) {
    *os << c.name;
}

class LoginCommandsDuringARun : public LoginWindowLogicTest,
                                public ::testing::WithParamInterface<LoginCommand> {};

TEST_P(LoginCommandsDuringARun, DoNothingWhileTheMainWindowImportsAndActAfterIt) {
    login.texts[LoginBox::Sid] = kNowhere;
    main.texts[MainBox::TableName] = "Login[counter]";
    main.files.AddEntry(dir.Write("a.txt", "A\r\n1\r\n"));
    bool called = false;
    pump.onYield = [&] {
        if (called) return;
        called = true;
        GetParam().command(loginLogic);
    };
    mainLogic.Import();
    ASSERT_TRUE(called);
    ASSERT_EQ(dialogs.log.size(), 1u) << "the final message only";
    EXPECT_EQ(login.pointer.history, std::vector<PointerShape>{});

    GetParam().command(loginLogic);
    EXPECT_GT(dialogs.log.size(), 1u) << "after the run";
}

INSTANTIATE_TEST_SUITE_P(
    App, LoginCommandsDuringARun,
    ::testing::Values(LoginCommand{"SidHelp", [](LoginWindowLogic& l) { l.SidHelp(); }},
                      LoginCommand{"Help", [](LoginWindowLogic& l) { l.Help(); }},
                      LoginCommand{"TestConnection",
                                   [](LoginWindowLogic& l) { l.TestConnection(); }}),
    [](const ::testing::TestParamInfo<LoginCommand>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace verrolift
