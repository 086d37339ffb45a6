#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window_logic.h"
#include "base/error_report.h"
#include "fake_main_view.h"
#include "memory_settings.h"
#include "recording_flow.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using test::FakeMainView;

class MainWindowLogicTest : public ::testing::Test {
protected:
    std::vector<std::string> Columns(const std::string& table) {
        return db.Column("SELECT name FROM pragma_table_info('" + table + "')");
    }
    // Runs action at the run's first yield, and only then.
    void AtFirstYield(std::function<void()> action) {
        pump.onYield = [this, action, done = false]() mutable {
            if (done) return;
            done = true;
            action();
        };
    }

    test::TempDir dir;
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
    MainWindowLogic logic{context, view, profile};
};

// What a user changes in the window while a run yields: the run goes on as it started.
struct MidRunEdit {
    const char* name;
    std::function<void(FakeMainView&)> edit;
};

void PrintTo(const MidRunEdit& e, std::ostream* os) {
    *os << e.name;
}

class OptionsTakenAtTheStart : public MainWindowLogicTest,
                               public ::testing::WithParamInterface<MidRunEdit> {};

TEST_P(OptionsTakenAtTheStart, EditsDuringTheRunChangeNothingOfIt) {
    view.texts[MainBox::Separator] = ";";
    view.texts[MainBox::TableName] = "People[counter]";
    view.files.AddEntry(dir.Write("a.txt", "Name;State\r\nPeter;NH\r\nJane;MA\r\n"));
    AtFirstYield([this] { GetParam().edit(view); });

    logic.Import();

    EXPECT_EQ(Columns("People1"), (std::vector<std::string>{"Name", "State"}));
    EXPECT_EQ(db.Rows("People1"), (std::vector<std::string>{"Name|State", "Peter|NH", "Jane|MA"}));
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_TRUE(dialogs.reports.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Done.", 0), 0u) << dialogs.messages[0];
}

INSTANTIATE_TEST_SUITE_P(
    App, OptionsTakenAtTheStart,
    ::testing::Values(
        MidRunEdit{"Separator", [](FakeMainView& v) { v.texts[MainBox::Separator] = ","; }},
        MidRunEdit{"TableName", [](FakeMainView& v) { v.texts[MainBox::TableName] = "Other"; }},
        MidRunEdit{"EmptyTableName", [](FakeMainView& v) { v.texts[MainBox::TableName] = ""; }},
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

TEST_F(MainWindowLogicTest, TheOptionsAreTheControlsWithTheSeparatorBoxsTabs) {
    view.texts[MainBox::Separator] = "\\t";
    view.Choose(MainChoice::AppendToTable);
    view.chosen[MainChoice::SkipHeader] = true;
    view.chosen[MainChoice::QuotedFields] = true;
    view.tables.Append("ORDERS");
    view.tables.Select(0);
    const ImportOptions options = logic.Options();
    EXPECT_EQ(options.separator, "\t");
    EXPECT_EQ(options.mode, ImportMode::AppendToTable);
    EXPECT_TRUE(options.skipHeaderOnAppend);
    EXPECT_FALSE(options.skipHeaderOnCreate);
    EXPECT_TRUE(options.quotedFields);
    EXPECT_EQ(options.targetTable, std::optional<std::string>("ORDERS"));
}

// A command given while a run yields, and whether it showed or moved anything.
struct CommandCase {
    const char* name;
    std::function<void(MainWindowLogic&)> command;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandsDuringARun : public MainWindowLogicTest,
                           public ::testing::WithParamInterface<CommandCase> {
protected:
    // Everything a command can show or ask for, or a move between the windows.
    std::size_t Seen() const {
        return dialogs.log.size() + dialogs.prompts.size() + dialogs.fileDialogTitles.size() +
               dialogs.folderTitles.size() + flow.calls.size();
    }
};

TEST_P(CommandsDuringARun, DoNothingWhileItRunsAndActAfterIt) {
    view.texts[MainBox::TableName] = "Run[counter]";
    view.files.AddEntry(dir.Write("a.txt", "A,B\r\n1,2\r\n"));
    std::size_t seenDuring = 0;
    AtFirstYield([&] {
        const std::size_t before = Seen();
        GetParam().command(logic);
        seenDuring = Seen() - before;
    });
    logic.Import();
    EXPECT_EQ(seenDuring, 0u);
    EXPECT_EQ(db.Rows("Run1"), (std::vector<std::string>{"A|B", "1|2"}));
    ASSERT_EQ(dialogs.log.size(), 1u);

    const std::size_t before = Seen();
    GetParam().command(logic);
    EXPECT_GT(Seen(), before) << "after the run";
}

INSTANTIATE_TEST_SUITE_P(
    App, CommandsDuringARun,
    ::testing::Values(CommandCase{"AddFiles", [](MainWindowLogic& l) { l.AddFiles(); }},
                      CommandCase{"AddFolder", [](MainWindowLogic& l) { l.AddFolder(); }},
                      CommandCase{"FormatHelp", [](MainWindowLogic& l) { l.FormatHelp(); }},
                      CommandCase{"SetupConnection",
                                  [](MainWindowLogic& l) { l.SetupConnection(); }},
                      CommandCase{"ImportAgain", [](MainWindowLogic& l) { l.Import(); }}),
    [](const ::testing::TestParamInfo<CommandCase>& p) { return std::string(p.param.name); });

TEST_F(MainWindowLogicTest, ClosingDuringARunEndsTheProgramAndADropDuringItWaitsForTheNextRun) {
    view.texts[MainBox::TableName] = "Run[counter]";
    view.files.AddEntry(dir.Write("a.txt", "A\r\n1\r\n"));
    AtFirstYield([&] {
        logic.Drop({"/data/dropped.txt"});
        logic.Close();
    });
    logic.Import();
    EXPECT_EQ(flow.calls, std::vector<std::string>{"end"});
    EXPECT_EQ(view.files.Snapshot().back(), "/data/dropped.txt");
    // The run took the list as it stood: the dropped file was not imported.
    EXPECT_EQ(db.Column("SELECT count(*) FROM user_tables WHERE table_name LIKE 'Run%'"),
              std::vector<std::string>{"1"});
}

TEST_F(MainWindowLogicTest, RefusedRowsAreBoundedPerFileAndTheFinalBoxSumsTheRun) {
    std::string bad = "Id\r\n";
    for (int i = 0; i < 300; ++i) bad += std::to_string(i) + ",extra\r\n";
    std::string some = "Id\r\n1\r\n2\r\n";
    for (int i = 0; i < 11; ++i) some += "x,extra\r\n";
    view.texts[MainBox::TableName] = "Bad[counter]";
    view.files.AddEntries({dir.Write("bad.txt", bad), dir.Write("some.txt", some),
                           dir.Write("good.txt", "Id\r\n7\r\n")});

    logic.Import();

    // Per file: ten refused rows one box each, then the file's count.
    ASSERT_EQ(dialogs.log.size(), 10u + 1 + 10 + 1 + 1);
    for (std::size_t at : {std::size_t{10}, std::size_t{21}})
        EXPECT_EQ(dialogs.log[at].rfind("message: ", 0), 0u) << dialogs.log[at];
    EXPECT_NE(dialogs.log[10].find("bad.txt"), std::string::npos);
    EXPECT_NE(dialogs.log[10].find("300"), std::string::npos);
    EXPECT_NE(dialogs.log[21].find("some.txt"), std::string::npos);
    EXPECT_NE(dialogs.log[21].find("11"), std::string::npos);
    EXPECT_EQ(dialogs.log.back(),
              "message: Done.\r\n\r\n3 of 3 files imported, 6 rows stored, 311 rows refused.");
    EXPECT_EQ(db.Rows("Bad3"), (std::vector<std::string>{"Id", "7"}));
    EXPECT_EQ(view.progressBegun, 1);
    EXPECT_EQ(view.progressEnded, 1);
}

TEST_F(MainWindowLogicTest, APreconditionMessageHasNoSummary) {
    logic.Import();
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"message: No files added."});
}

TEST_F(MainWindowLogicTest, QuotedFieldsAreKeptAndComeBackWithTheLoadStep) {
    logic.Load();
    EXPECT_FALSE(view.chosen[MainChoice::QuotedFields]) << "first run";
    logic.QuotedFieldsToggled(true);
    view.chosen[MainChoice::QuotedFields] = false;
    logic.Load();
    EXPECT_TRUE(view.chosen[MainChoice::QuotedFields]);
    logic.QuotedFieldsToggled(false);
    logic.Load();
    EXPECT_FALSE(view.chosen[MainChoice::QuotedFields]);
    EXPECT_TRUE(dialogs.log.empty());
}

}  // namespace
}  // namespace verrolift
