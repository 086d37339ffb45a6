#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/login_window_logic.h"
#include "app/main_window_logic.h"
#include "fake_login_view.h"
#include "fake_main_view.h"
#include "memory_settings.h"
#include "recording_flow.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using test::FakeMainView;

// Both windows' behaviour over views without a toolkit, importing into SQLite.
class WindowLogicTest : public ::testing::Test {
protected:
    // Runs action at the run's first yield, and only then.
    void AtFirstYield(std::function<void()> action) {
        pump.onYield = [this, action, done = false]() mutable {
            if (!done) action();
            done = true;
        };
    }

    test::TempDir dir;
    // The run's bad files go under the user's data folder: the test's own.
    test::ScopedEnvironment data{"XDG_DATA_HOME", dir.Path()};
    test::ScopedEnvironment localData{"LOCALAPPDATA", dir.Path()};
    test::SqliteDatabase db;
    test::FixedConnection profile{db.ConnectionString()};
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
    FakeMainView view;
    MainWindowLogic main{context, view, profile};
    test::FakeLoginView loginView;
    LoginWindowLogic login{context, loginView};
};

// What a user changes in the main window while a run yields.
struct MidRunEdit {
    const char* name;
    std::function<void(FakeMainView&)> edit;
};

void PrintTo(const MidRunEdit& e, std::ostream* os) {
    *os << e.name;
}

class OptionsTakenAtTheStart : public WindowLogicTest,
                               public ::testing::WithParamInterface<MidRunEdit> {};

TEST_P(OptionsTakenAtTheStart, EditsDuringTheRunChangeNothingOfIt) {
    view.texts[MainBox::Separator] = ";";
    view.texts[MainBox::TableName] = "People[counter]";
    view.files.AddEntry(dir.Write("a.txt", "Name;State\r\nPeter;NH\r\nJane;MA\r\n"));
    AtFirstYield([this] { GetParam().edit(view); });
    main.Import();
    EXPECT_EQ(db.Column("SELECT name FROM pragma_table_info('People1')"),
              (std::vector<std::string>{"Name", "State"}));
    EXPECT_EQ(db.Rows("People1"), (std::vector<std::string>{"Name|State", "Peter|NH", "Jane|MA"}));
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_TRUE(dialogs.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    App, OptionsTakenAtTheStart,
    ::testing::Values(
        MidRunEdit{"Separator", [](FakeMainView& v) { v.texts[MainBox::Separator] = ","; }},
        MidRunEdit{"TableName", [](FakeMainView& v) { v.texts[MainBox::TableName] = "Other"; }},
        MidRunEdit{"AppendMode",
                   [](FakeMainView& v) {
                       v.Choose(MainChoice::AppendToTable);
                       v.tables.Append("ORDERS");
                       v.tables.Select(0);
                   }},
        MidRunEdit{"TypedNames", [](FakeMainView& v) { v.Choose(MainChoice::TypedColumns); }},
        MidRunEdit{"QuotedFields",
                   [](FakeMainView& v) { v.chosen[MainChoice::QuotedFields] = true; }}),
    [](const ::testing::TestParamInfo<MidRunEdit>& p) { return std::string(p.param.name); });

// A command of either window given while a run yields.
struct CommandCase {
    const char* name;
    std::function<void(MainWindowLogic&, LoginWindowLogic&)> command;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandsDuringARun : public WindowLogicTest,
                           public ::testing::WithParamInterface<CommandCase> {
protected:
    // Every box shown or asked for, and every move between the windows.
    std::size_t Seen() const {
        return dialogs.log.size() + dialogs.prompts.size() + dialogs.fileDialogTitles.size() +
               dialogs.folderTitles.size() + flow.calls.size();
    }
    void Command() { GetParam().command(main, login); }
};

TEST_P(CommandsDuringARun, DoNothingWhileItRunsAndActAfterIt) {
    loginView.texts[LoginBox::Sid] = "/nonexistent/verrolift";
    view.texts[MainBox::TableName] = "Run[counter]";
    view.files.AddEntry(dir.Write("a.txt", "A,B\r\n1,2\r\n"));
    std::size_t seenDuring = 1;
    AtFirstYield([&] {
        const std::size_t before = Seen();
        Command();
        seenDuring = Seen() - before;
    });
    main.Import();
    EXPECT_EQ(seenDuring, 0u);
    EXPECT_EQ(db.Rows("Run1"), (std::vector<std::string>{"A|B", "1|2"}));
    EXPECT_TRUE(loginView.pointer.history.empty());

    const std::size_t before = Seen();
    Command();
    EXPECT_GT(Seen(), before) << "after the run";
}

INSTANTIATE_TEST_SUITE_P(
    App, CommandsDuringARun,
    ::testing::Values(
        CommandCase{"AddFiles", [](MainWindowLogic& m, LoginWindowLogic&) { m.AddFiles(); }},
        CommandCase{"AddFolder", [](MainWindowLogic& m, LoginWindowLogic&) { m.AddFolder(); }},
        CommandCase{"FormatHelp", [](MainWindowLogic& m, LoginWindowLogic&) { m.FormatHelp(); }},
        CommandCase{"SetupConnection",
                    [](MainWindowLogic& m, LoginWindowLogic&) { m.SetupConnection(); }},
        CommandCase{"ImportAgain", [](MainWindowLogic& m, LoginWindowLogic&) { m.Import(); }},
        CommandCase{"SidHelp", [](MainWindowLogic&, LoginWindowLogic& l) { l.SidHelp(); }},
        CommandCase{"Help", [](MainWindowLogic&, LoginWindowLogic& l) { l.Help(); }},
        CommandCase{"TestConnection",
                    [](MainWindowLogic&, LoginWindowLogic& l) { l.TestConnection(); }}),
    [](const ::testing::TestParamInfo<CommandCase>& p) { return std::string(p.param.name); });

TEST_F(WindowLogicTest, RefusedRowsAreBoundedPerFileAndTheFinalBoxSumsTheRun) {
    // One column from the first line; the lines with two values are refused.
    std::string bad = "Id\r\n";
    for (int i = 0; i < 300; ++i) bad += std::to_string(i) + ",extra\r\n";
    std::string some = "Id\r\n1\r\n2\r\n";
    for (int i = 0; i < 11; ++i) some += "x,extra\r\n";
    view.texts[MainBox::TableName] = "Bad[counter]";
    view.files.AddEntries({dir.Write("bad.txt", bad), dir.Write("some.txt", some),
                           dir.Write("good.txt", "Id\r\n7\r\n")});
    main.Import();

    // Per file: ten refused rows one box each, then the file's count.
    ASSERT_EQ(dialogs.log.size(), 10u + 1 + 10 + 1 + 1);
    for (auto [at, file, count] : {std::tuple{10, "bad.txt", "300"}, {21, "some.txt", "11"}}) {
        EXPECT_NE(dialogs.log[at].find(file), std::string::npos) << dialogs.log[at];
        EXPECT_NE(dialogs.log[at].find(count), std::string::npos) << dialogs.log[at];
    }
    EXPECT_TRUE(dialogs.log.back().starts_with(
        "message: Done.\r\n\r\n1 of 3 files imported, 6 rows stored, 311 rows refused.\r\n\r\n"
        "The records that were not stored are in \"" +
        dir.Path()))
        << dialogs.log.back();
    EXPECT_EQ(view.progressBegun, view.progressEnded);
}

TEST_F(WindowLogicTest, QuotedFieldsIsKeptAndComesBackWithTheLoadStep) {
    for (bool on : {true, false}) {
        main.QuotedFieldsToggled(on);
        view.chosen[MainChoice::QuotedFields] = !on;
        main.Load();
        EXPECT_EQ(view.chosen[MainChoice::QuotedFields], on);
    }
}

}  // namespace
}  // namespace verrolift
