// The import run end to end against a real database: SQLite, or the PostgreSQL
// stand-in when built with VERROLIFT_TEST_PG.
#include "import/import_run.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/paths.h"
#include "import/import_messages.h"
#include "import/import_steps.h"
#include "support/import_fixture.h"

namespace verrolift {
namespace {

namespace steps = import_steps;

using test::ColumnOn;
using test::ExecOn;

// Test names differ per database, so that CTest can tell the two programs' cases apart.
#ifdef VERROLIFT_TEST_PG
#define ImportRunTest PgImportRun
#else
#define ImportRunTest SqliteImportRun
#endif

// A connection source whose answers are given one by one, the last repeated.
class ChangingConnection : public ConnectionSource {
public:
    explicit ChangingConnection(std::vector<std::string> answers) : answers_(std::move(answers)) {}
    std::string ConnectionString() const override {
        const std::string& answer =
            answers_.at(next_ < answers_.size() ? next_ : answers_.size() - 1);
        ++next_;
        return answer;
    }

private:
    std::vector<std::string> answers_;
    mutable std::size_t next_ = 0;
};

const std::string kBadConnection = "Driver={No Such Driver Here};Server=x;";

class ImportRunTest : public test::ImportFixture {
protected:
    // A fresh pattern; the table of file i is Table(i).
    void FreshPattern(const std::string& stem) {
        stem_ = db_.Fresh(stem);
        options_.tableNamePattern = stem_ + "_[counter]";
    }
    std::string Table(int position) const { return stem_ + "_" + std::to_string(position); }

    bool Exists(const std::string& table) const {
        return ColumnOn(db_.ConnectionString(),
                        "SELECT CAST(count(*) AS TEXT) FROM user_tables WHERE table_name = '" +
                            table + "'")
                   .at(0) != "0";
    }

    // Busy at the start of each file and the default pointer at its end.
    void ExpectPointerPerFile(std::size_t fileCount) {
        std::vector<PointerShape> expected;
        for (std::size_t i = 0; i < fileCount; ++i) {
            expected.push_back(PointerShape::Busy);
            expected.push_back(PointerShape::Default);
        }
        EXPECT_EQ(pointer_.history, expected);
    }

    std::string stem_;
};

// --- Create mode, header line ---

TEST_F(ImportRunTest, HeaderModeMakesTheTableAndImportsTheHeaderLineToo) {
    FreshPattern("hdr");
    AddFile("a.csv", "Name,Age\r\nAnn,30\r\nO'Brien,42");
    Run();
    EXPECT_TRUE(dialogs_.reports.empty()) << dialogs_.log.front();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(db_.Columns(Table(1)), (std::vector<std::string>{"Name", "Age"}));
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"Name|Age", "Ann|30", "O'Brien|42"}));
    EXPECT_EQ(tables_.Names(), std::vector<std::string>{Table(1)});
    ExpectPointerPerFile(1);
}

TEST_F(ImportRunTest, HeaderFieldsAreCleanedAndEmptyOnesGiveNoColumn) {
    FreshPattern("clean");
    AddFile("a.csv", "First Name,e-mail,2nd_value\r\nx,y,z\r\n");
    AddFile("b.csv", "Q1 (%);Q2 (%)\r\n1;2\r\n");
    options_.separator = ",";
    // The second file is split at ";": the separator is read at each use.
    pump_.onYield = [&] {
        if (tables_.Count() == 1) options_.separator = ";";
    };
    Run();
    EXPECT_EQ(db_.Columns(Table(1)), (std::vector<std::string>{"FirstName", "email", "2ndvalue"}));
    EXPECT_EQ(db_.Columns(Table(2)), (std::vector<std::string>{"Q1", "Q2"}));
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"Q1 (%)|Q2 (%)", "1|2"}));
    // Newest first in the table list.
    EXPECT_EQ(tables_.Names(), (std::vector<std::string>{Table(2), Table(1)}));
    EXPECT_TRUE(dialogs_.reports.empty());
}

TEST_F(ImportRunTest, EmptyHeaderFieldMakesNoColumnAndAnEmptyValueThereIsLeftOut) {
    FreshPattern("gap");
    AddFile("a.csv", "A,,C\r\n1,,3\r\n1,x,3\r\n4,,6\r\n");
    AddFile("b.csv", "a,b,\n1,2,\n3,,\n");
    Run();
    EXPECT_EQ(db_.Columns(Table(1)), (std::vector<std::string>{"A", "C"}));
    // A value where no column is keeps its whole row, which the database refuses.
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kHeaderRows.send});
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"A|C", "1|3", "4|6"}));
    // A separator at the end of every line adds nothing.
    EXPECT_EQ(db_.Columns(Table(2)), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"a|b", "1|2", "3|<NULL>"}));
}

TEST_F(ImportRunTest, RefusedCreateSendsNoRowAndListsNoNameAndTheNextFileGoesOn) {
    FreshPattern("viewed");
    // The name of the first file's table belongs to a view over another table.
    const std::string base = MakeTable("viewed_base", 1);
    ExecOn(db_.ConnectionString(), "INSERT INTO \"" + base + "\" VALUES('kept')");
    ExecOn(db_.ConnectionString(),
           "CREATE VIEW \"" + Table(1) + "\" AS SELECT \"c1\" FROM \"" + base + "\"");
    AddFile("a.csv", "c1\r\nintruder 1\r\nintruder 2\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kHeaderCreate});
    EXPECT_EQ(db_.Rows(base), std::vector<std::string>{"kept"});
    EXPECT_EQ(rowHook_.rows, 2);  // the second file's
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"v", "2"}));
    EXPECT_EQ(tables_.Names(), std::vector<std::string>{Table(2)});
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    ExecOn(db_.ConnectionString(), "DROP VIEW \"" + Table(1) + "\"");
}

// --- Line ends: the first line end of each file decides ---

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> rows;  // the header line's row first
};

void PrintTo(const LineEndCase& c, std::ostream* os) {
    *os << c.name;
}

class LineEnds : public ImportRunTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEnds, EachLineIsOneRowInCreateAndAppendMode) {
    const LineEndCase& c = GetParam();
    FreshPattern("ends");
    AddFile("a.csv", c.bytes);
    Run();
    EXPECT_TRUE(dialogs_.reports.empty()) << dialogs_.log.front();
    EXPECT_EQ(db_.Columns(Table(1)), (std::vector<std::string>{"Name", "Note"}));
    EXPECT_EQ(db_.Rows(Table(1)), c.rows);

    // The same file appended with its header line left out: the column check sees two fields.
    const std::string table = MakeTable("ends_append", 2);
    UseAppend(table, true);
    files_ = VectorFileList({folder_.Write("b.csv", c.bytes)});
    dialogs_ = {};
    Run();
    EXPECT_EQ(dialogs_.log, std::vector<std::string>{"message: Done."});
    EXPECT_EQ(db_.Rows(table), std::vector<std::string>(c.rows.begin() + 1, c.rows.end()));
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, LineEnds,
    ::testing::Values(
        LineEndCase{"Lf", "Name,Note\nAnn,30\nBob,40\n", {"Name|Note", "Ann|30", "Bob|40"}},
        LineEndCase{"LfKeepsALoneCrInItsLine",
                    "Name,Note\nAnn,x\ry\nBob,z\r",
                    {"Name|Note", "Ann|x\ry", "Bob|z\r"}},
        LineEndCase{"LfThenCrLf", "Name,Note\nAnn,x\r\nBob,z", {"Name|Note", "Ann|x", "Bob|z"}},
        LineEndCase{"CrLfKeepsALoneLfInItsLine",
                    "Name,Note\r\nAnn,line one\nline two\r\nBob,z\r\n",
                    {"Name|Note", "Ann|line one\nline two", "Bob|z"}},
        LineEndCase{"Cr", "Name,Note\rAnn,x\ny\rBob,z", {"Name|Note", "Ann|x\ny", "Bob|z"}},
        LineEndCase{
            "CrThenMixed", "Name,Note\rAnn,x\r\nBob,z\n", {"Name|Note", "Ann|x", "Bob|z\n"}}),
    [](const auto& p) { return std::string(p.param.name); });

// --- Empty fields ---

TEST_F(ImportRunTest, EveryEmptyFieldIsNullInItsOwnPlaceAndOtherValuesAreUntouched) {
    const std::string table = MakeTable("nulls", 4);
    UseAppend(table, false);
    AddFile("a.csv",
            "1,,3,\r\n"
            ",,,\r\n"
            "'x,'',it's,c,'d\r\n"
            " a , b ,\"q\",\t\r\n");
    options_.separator = ",";
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kAppendRows.send})
        << dialogs_.log.front();
    EXPECT_EQ(db_.Rows(table),
              (std::vector<std::string>{"1|<NULL>|3|<NULL>", "<NULL>|<NULL>|<NULL>|<NULL>",
                                        " a | b |\"q\"|\t"}));
    // The third line has five fields: refused whole, nothing cut off.
    ASSERT_EQ(dialogs_.reports.size(), 1u);

    // Values that the old ",''" rule would have altered arrive as written.
    const std::string other = MakeTable("quotes", 3);
    UseAppend(other, false);
    files_ = VectorFileList({folder_.Write("b.csv", "'x|''|c,'d\r\n")});
    options_.separator = "|";
    dialogs_ = {};
    Run();
    EXPECT_TRUE(dialogs_.reports.empty());
    EXPECT_EQ(db_.Rows(other), std::vector<std::string>{"'x|''|c,'d"});
}

// --- Typed names ---

TEST_F(ImportRunTest, TypedNamesPromptOncePerFieldAndSkipTheFirstLine) {
    FreshPattern("typed");
    options_.columnSource = ColumnSource::TypedNames;
    AddFile("a.csv", "a,b,c\r\n1,2,3\r\n4,5,6\r\n");
    dialogs_.inputAnswers = {"id", "name!", "city"};
    Run();
    ASSERT_EQ(dialogs_.prompts.size(), 3u);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(dialogs_.prompts[j].text,
                  "Enter name for column #" + std::to_string(j + 1) + ":");
        EXPECT_EQ(dialogs_.prompts[j].defaultAnswer, "");
    }
    EXPECT_EQ(db_.Columns(Table(1)), (std::vector<std::string>{"id", "name", "city"}));
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"1|2|3", "4|5|6"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(tables_.Names(), std::vector<std::string>{Table(1)});
}

TEST_F(ImportRunTest, EmptyTypedNameStopsPromptingAndLeavesTheFileAlone) {
    FreshPattern("cancel");
    options_.columnSource = ColumnSource::TypedNames;
    AddFile("a.csv", "a,b,c\r\n1,2,3\r\n");
    AddFile("b.csv", "a\r\n9\r\n");
    dialogs_.inputAnswers = {"id", "", "x"};
    Run();
    // Two prompts for the first file, then one for the second.
    ASSERT_EQ(dialogs_.prompts.size(), 3u);
    EXPECT_EQ(dialogs_.prompts[2].text, "Enter name for column #1:");
    EXPECT_FALSE(Exists(Table(1)));
    // No row is sent for a table that was never made: no flood of refusals.
    EXPECT_TRUE(dialogs_.reports.empty());
    EXPECT_EQ(db_.Rows(Table(2)), std::vector<std::string>{"9"});
    EXPECT_EQ(tables_.Names(), std::vector<std::string>{Table(2)});
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

// --- Append ---

struct AppendCase {
    const char* name;
    bool skipHeader;
    const char* bytes;
    std::vector<std::string> rows;
};

void PrintTo(const AppendCase& c, std::ostream* os) {
    *os << c.name;
}

class AppendImport : public ImportRunTest, public ::testing::WithParamInterface<AppendCase> {};

TEST_P(AppendImport, SendsTheKeptLinesIntoTheSelectedTable) {
    const std::string table = MakeTable("app", 3);
    UseAppend(table, GetParam().skipHeader);
    AddFile("a.csv", GetParam().bytes);
    Run();
    EXPECT_TRUE(dialogs_.reports.empty()) << dialogs_.log.front();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(db_.Rows(table), GetParam().rows);
    // Append mode adds no name to the list.
    EXPECT_EQ(tables_.Count(), 1);
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, AppendImport,
    ::testing::Values(
        AppendCase{"HeaderSkipped", true, "h1,h2,h3\r\n1,2,3\r\n4,5,6\r\n", {"1|2|3", "4|5|6"}},
        AppendCase{"NoHeader", false, "1,2,3\r\n4,5,6", {"1|2|3", "4|5|6"}},
        AppendCase{"CrEndings", false, "1,2,3\r4,5,6\r", {"1|2|3", "4|5|6"}}),
    [](const auto& p) { return std::string(p.param.name); });

struct MismatchCase {
    const char* name;
    bool skipHeader;
    const char* bytes;
    const char* separator;
    int fields;
};

void PrintTo(const MismatchCase& c, std::ostream* os) {
    *os << c.name;
}

class ColumnCheck : public ImportRunTest, public ::testing::WithParamInterface<MismatchCase> {};

TEST_P(ColumnCheck, MismatchShowsTheMessageAndSendsNothing) {
    const std::string table = MakeTable("chk", 3);
    UseAppend(table, GetParam().skipHeader);
    options_.separator = GetParam().separator;
    const std::string path = AddFile("a.csv", GetParam().bytes);
    Run();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0],
              "The columns in the text file and the columns in the table must be identical."
              "\r\n\r\n" +
                  path + " was split by " + GetParam().separator + " and has " +
                  std::to_string(GetParam().fields) + " columns. The table " + table +
                  " has 3 columns.");
    // Not an error: the run still ends with "Done.".
    EXPECT_EQ(dialogs_.messages[1], kDone);
    EXPECT_TRUE(dialogs_.reports.empty());
    EXPECT_TRUE(db_.Rows(table).empty());
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, ColumnCheck,
    ::testing::Values(MismatchCase{"TooFew", false, "1,2\r\n1,2,3\r\n", ",", 2},
                      MismatchCase{"TrailingSeparatorCounts", false, "1,2,3,\r\n", ",", 4},
                      MismatchCase{"EmptyFirstLine", false, "\r\n1,2,3\r\n", ",", 0},
                      MismatchCase{"SecondLineWhenHeaderSkipped", true, "a,b,c\r\n1;2\r\n", ";", 2},
                      MismatchCase{"LfEndsTheFirstLine", false, "1,2\n4,5,6\n", ",", 2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ImportRunTest, OnlyTheFirstLineIsCheckedAndLaterMisfitsAreRefusedOneByOne) {
    const std::string table = MakeTable("later", 2);
    UseAppend(table, false);
    AddFile("a.csv", "1,2\r\n3,4,5\r\n\r\n7,8\r\n");
    Run();
    // Too many values, and an empty line (VALUES()): each refused, the next line follows.
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kAppendRows.send, steps::kAppendRows.send}));
    EXPECT_EQ(db_.Rows(table), (std::vector<std::string>{"1|2", "7|8"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

TEST_F(ImportRunTest, MissingTargetTableIsReportedOnceAtTheRecordSetAndNoRowIsSent) {
    UseAppend(db_.Fresh("gone"), false);
    AddFile("a.csv", "1,2\r\n3,4\r\n");
    AddFile("b.csv", "5,6\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kOpenRecordSet, steps::kOpenRecordSet}));
    for (const auto& r : dialogs_.reports) EXPECT_EQ(r.tag, tags::kMainImport);
    EXPECT_EQ(rowHook_.rows, 0);
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

TEST_F(ImportRunTest, TableDroppedDuringAFileEndsThatFileAfterOneReport) {
    const std::string table = MakeTable("dropped", 1);
    UseAppend(table, false);
    std::string many;
    for (int i = 0; i < 40; ++i) many += std::to_string(i) + "\r\n";
    AddFile("a.csv", many);
    AddFile("b.csv", many);
    // Another program drops the table after the third row.
    rowHook_.onRow = [&] {
        if (rowHook_.rows == 3) ExecOn(db_.ConnectionString(), "DROP TABLE \"" + table + "\"");
    };
    Run();
    // The fourth row meets no table and ends the file; the next file finds no table at its
    // column check. One report each, not one per line.
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kAppendRows.send, steps::kOpenRecordSet}))
        << dialogs_.log.front();
    EXPECT_EQ(rowHook_.rows, 4);
    EXPECT_FALSE(Exists(table));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

#ifdef VERROLIFT_TEST_PG
TEST_F(ImportRunTest, SessionKilledDuringAFileEndsThatFileAndTheNextFileIsImportedWhole) {
    FreshPattern("killed");
    std::string many = "v\n";
    for (int i = 0; i < 200; ++i) many += std::to_string(i) + "\n";
    AddFile("a.csv", many);
    AddFile("b.csv", many);
    // A superuser ends the session that is filling the first table, as a server restart
    // or an administrator would.
    rowHook_.onRow = [&] {
        if (rowHook_.rows != 5) return;
        ExecOn(test::PgSuperuserConnectionString(),
               "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE query LIKE "
               "'INSERT INTO \"" +
                   Table(1) + "\"%'");
    };
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kHeaderRows.send});
    EXPECT_EQ(db_.Rows(Table(1)).size(), 5u);
    EXPECT_EQ(db_.Rows(Table(2)).size(), 201u);
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
}

TEST_F(ImportRunTest, RefusedPasswordIsTriedOnceAndTheFilesLeftAreNamedInOneReport) {
    const test::PgScratchRole role;
    const int before = test::PgFailedLogins(role.Name());
    FreshPattern("refused");
    AddFile("a.csv", "v\r\n1\r\n");
    const std::string b = AddFile("b.csv", "v\r\n2\r\n");
    const std::string c = AddFile("c.csv", "v\r\n3\r\n");
    const test::FixedConnection wrong(
        BuildConnectionString({test::PgMain().profile.sid, role.Name(), "wrong-password"}));
    Run(wrong);
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kOpenConnection, steps::kOpenConnection}));
    ASSERT_EQ(dialogs_.reports.size(), 2u);
    EXPECT_NE(dialogs_.reports[0].description.find("password authentication failed"),
              std::string::npos);
    EXPECT_EQ(dialogs_.reports[1].description, FilesNotImportedAfterRefusedLogin({b, c}));
    EXPECT_EQ(test::PgFailedLogins(role.Name()) - before, 1);
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    ExpectPointerPerFile(1);

    // A failure to reach the server is no verdict on the password: each file tries again.
    const test::FixedConnection unreachable(BuildConnectionString(
        {folder_.Path(), test::PgMain().profile.userName, test::PgMain().profile.password}));
    dialogs_ = {};
    Run(unreachable);
    EXPECT_EQ(
        dialogs_.ReportSteps(),
        (std::vector<int>{steps::kOpenConnection, steps::kOpenConnection, steps::kOpenConnection}));
}
#endif

// --- Preconditions and the final message ---

TEST_F(ImportRunTest, PreconditionsEndTheRunBeforeAnyFileIsTouched) {
    // No files wins even when append mode has no table selected.
    options_.mode = ImportMode::AppendToTable;
    Run();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kNoFilesAdded});

    AddFile("a.csv", "1\r\n");
    dialogs_ = {};
    Run();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kPleaseSelectTable});

    // The pattern itself, counter token and all, compared without letter case.
    options_.mode = ImportMode::CreateTable;
    options_.tableNamePattern = "Existing[counter]";
    tables_.Append("EXISTING[COUNTER]");
    dialogs_ = {};
    Run();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kTableNameExists});
    EXPECT_TRUE(dialogs_.reports.empty());
    EXPECT_TRUE(pointer_.history.empty());
    EXPECT_EQ(pump_.yields, 0);
    // Nothing was copied: the working folder was never made.
#ifdef _WIN32
    EXPECT_FALSE(IsFolder(tmp_.File("verrolift")));
#else
    struct stat st {};
    EXPECT_NE(::stat((tmp_.Path() + "/verrolift-" + std::to_string(::geteuid())).c_str(), &st), 0);
#endif
}

TEST_F(ImportRunTest, PatternWithoutCounterMakesOneTableAndEndsWithTablesAlreadyExist) {
    const std::string name = db_.Fresh("fixed");
    options_.tableNamePattern = name;
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    AddFile("c.csv", "v\r\n3\r\n");
    Run();
    EXPECT_EQ(db_.Rows(name), (std::vector<std::string>{"v", "1"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kTablesAlreadyExist});
    EXPECT_TRUE(dialogs_.reports.empty());
    ExpectPointerPerFile(3);
}

TEST_F(ImportRunTest, ListedNameSkipsItsFileAndTheLastFileDecidesTheMessage) {
    FreshPattern("listed");
    tables_.Append(Table(1));
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    Run();
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"v", "2"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(tables_.Names(), (std::vector<std::string>{Table(2), Table(1)}));
}

TEST_F(ImportRunTest, CounterTokenIsReplacedOnlyInItsExactCase) {
    const std::string stem = db_.Fresh("case");
    options_.tableNamePattern = stem + "[Counter]";
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    Run();
    EXPECT_EQ(db_.Rows(stem + "[Counter]"), (std::vector<std::string>{"v", "1"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kTablesAlreadyExist});
}

TEST_F(ImportRunTest, EmptyPatternSkipsEveryFileSilently) {
    options_.tableNamePattern = "";
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "");
    Run();
    EXPECT_EQ(dialogs_.log, std::vector<std::string>{"message: Done."});
    EXPECT_TRUE(tables_.Names().empty());
    ExpectPointerPerFile(2);
}

// --- Files that cannot be imported ---

TEST_F(ImportRunTest,
       UnreadableEmptyAndHeaderlessFilesAreReportedOnceAndNeverUseAnotherFilesLines) {
    FreshPattern("bad");
    AddFile("1.csv", "x\r\nfirst file\r\n");
    const std::string missing = folder_.File("missing.csv");
    files_.AddEntry(missing);
    const std::string empty = AddFile("3.csv", "");
    const std::string blankFirst = AddFile("4.csv", "\r\nrow\r\n");
    const std::string noNames = AddFile("5.csv", ",,\r\n1,2,3\r\n");
    AddFile("6.csv", "y\r\nlast file\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kOpenFirstPass, steps::kCreateDataCheck,
                                steps::kCreateDataCheck, steps::kHeaderColumns}));
    const auto d = Descriptions();
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].rfind("The file \"" + missing + "\" cannot be read: ", 0), 0u) << d[0];
    EXPECT_EQ(d[1], "The file \"" + empty + "\" is empty.");
    EXPECT_NE(d[2].find("\"" + blankFirst + "\""), std::string::npos) << d[2];
    EXPECT_NE(d[3].find("\"" + noNames + "\""), std::string::npos) << d[3];
    for (int i : {2, 3, 4, 5}) EXPECT_FALSE(Exists(Table(i))) << i;
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"x", "first file"}));
    EXPECT_EQ(db_.Rows(Table(6)), (std::vector<std::string>{"y", "last file"}));
    EXPECT_EQ(tables_.Names(), (std::vector<std::string>{Table(6), Table(1)}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    ExpectPointerPerFile(6);
}

TEST_F(ImportRunTest, AppendNeverSendsTheRowsOfTheFileBefore) {
    const std::string table = MakeTable("once", 1);
    UseAppend(table, true);
    AddFile("1.csv", "h\r\nfrom one\r\n");
    files_.AddEntry(folder_.File("missing.csv"));
    AddFile("3.csv", "h\r\n");
    AddFile("4.csv", "h\r\nfrom four\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kOpenFirstPass, steps::kAppendDataCheck}));
    EXPECT_EQ(
        dialogs_.reports[1].description,
        "The file \"" + folder_.File("3.csv") + "\" holds no line to import after its first line.");
    EXPECT_EQ(db_.Rows(table), (std::vector<std::string>{"from one", "from four"}));
}

// --- Step numbers of failures ---

TEST_F(ImportRunTest, ConnectionThatCannotBeOpenedIsReportedOnceAndItsFileSkipped) {
    FreshPattern("conn");
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    // Read afresh at each file: the first file meets a bad profile, the second a good one.
    const ChangingConnection connection({kBadConnection, db_.ConnectionString()});
    Run(connection);
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kOpenConnection});
    EXPECT_NE(dialogs_.reports[0].description.find("No Such Driver Here"), std::string::npos);
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"v", "2"}));
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    ExpectPointerPerFile(2);
}

#ifndef _WIN32
// A link planted as the working folder.
TEST_F(ImportRunTest, UnsafeWorkingFolderIsReportedAtStep130ForEachFile) {
    FreshPattern("unsafe");
    const std::string elsewhere = folder_.Path() + "/elsewhere";
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    const std::string linked = tmp_.Path() + "/verrolift-" + std::to_string(::geteuid());
    ASSERT_EQ(::symlink(elsewhere.c_str(), linked.c_str()), 0);
    AddFile("a.csv", "v\r\n1\r\n");
    AddFile("b.csv", "v\r\n2\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kMakeWorkingCopy, steps::kMakeWorkingCopy}));
    EXPECT_NE(dialogs_.reports[0].description.find(linked), std::string::npos);
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_FALSE(Exists(Table(2)));
    struct stat st {};
    EXPECT_NE(::stat((elsewhere + "/1").c_str(), &st), 0) << "wrote through the link";
}
#endif

TEST_F(ImportRunTest, RefusedCreateInHeaderModeIsReportedAndNoRowFollows) {
    FreshPattern("dup");
    AddFile("a.csv", "x,x\r\n1,2\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kHeaderCreate});
    EXPECT_EQ(rowHook_.rows, 0);
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_TRUE(tables_.Names().empty());
}

TEST_F(ImportRunTest, RefusedRowInHeaderModeIsFollowedByAcceptedRows) {
    FreshPattern("rows");
    AddFile("a.csv", "a,b\r\n1,2,3\r\n4,5\r\n6,7\r\n");
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kHeaderRows.send});
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"a|b", "4|5", "6|7"}));
}

TEST_F(ImportRunTest, TypedNamesCreateAndRowFailuresHaveTheirOwnSteps) {
    FreshPattern("tsteps");
    options_.columnSource = ColumnSource::TypedNames;
    AddFile("a.csv", "a,b\r\n1,2\r\n");
    AddFile("b.csv", "a,b\r\n1,2,3\r\n4,5\r\n");
    dialogs_.inputAnswers = {"same", "same!", "p", "q"};
    Run();
    // The first file's names clean to the same name: its CREATE is refused and ends the file.
    EXPECT_EQ(dialogs_.ReportSteps(),
              (std::vector<int>{steps::kTypedCreate, steps::kTypedRows.send}));
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_EQ(tables_.Names(), std::vector<std::string>{Table(2)});
    EXPECT_EQ(db_.Rows(Table(2)), std::vector<std::string>{"4|5"});
    for (const auto& r : dialogs_.reports) EXPECT_EQ(r.tag, tags::kMainImport);
}

// --- A file that changes while it is read ---

struct ChangeCase {
    const char* name;
    std::string during;  // what the file holds once changed
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ChangedFile : public ImportRunTest, public testing::WithParamInterface<ChangeCase> {};

// Cut short or rewritten while its copy is made, a file would give rows of two versions
// of itself: it is reported and not imported, and the run goes on.
TEST_P(ChangedFile, IsReportedAndNotImported) {
    FreshPattern("changed");
    const std::string path = AddFile("a.csv", "v\r\n1\r\n2\r\n3\r\n4\r\n");
    AddFile("b.csv", "v\r\n9\r\n");
    pump_.onYield = [&] {
        if (pump_.yields == 1) folder_.Write("a.csv", GetParam().during);
    };
    Run();
    EXPECT_EQ(dialogs_.ReportSteps(), std::vector<int>{steps::kOpenFirstPass});
    ASSERT_EQ(Descriptions().size(), 1u);
    EXPECT_NE(Descriptions()[0].find("changed while it was read"), std::string::npos)
        << Descriptions()[0];
    EXPECT_FALSE(Exists(Table(1)));
    EXPECT_EQ(db_.Rows(Table(2)), (std::vector<std::string>{"v", "9"}));
    ASSERT_EQ(outcome_.files.size(), 2u);
    EXPECT_FALSE(outcome_.files[0].imported);
    EXPECT_TRUE(outcome_.files[1].imported);
}

INSTANTIATE_FOR_BACKEND(
    BACKEND, ChangedFile,
    testing::Values(ChangeCase{"CutShort", "v\r\n1\r\n"},
                    ChangeCase{"RewrittenToTheSameSize", "v\r\n5\r\n6\r\n7\r\n8\r\n"}),
    [](const testing::TestParamInfo<ChangeCase>& param) { return std::string(param.param.name); });

// --- What the run returns ---

// Each file's outcome, read back from the run: a refused row, a file skipped for its
// listed name, a malformed record, then a file whose rows all go in.
TEST_F(ImportRunTest, TheOutcomeCountsWhatHappenedToEachFile) {
    FreshPattern("outcome");
    options_.quotedFields = true;
    AddFile("a.csv", "a,b\r\n1,2\r\n1,2,3\r\n");
    AddFile("b.csv", "a,b\r\n1,2\r\n");
    AddFile("c.csv", "a,b\r\n\"x\"y,1\r\n3,4\r\n");
    AddFile("d.csv", "a\r\n1\r\n");
    tables_.Append(Table(2));
    Run();

    struct Expected {
        bool imported;
        FileSkip skip;
        std::int64_t sent, refused, notSent;
        int reports;
    };
    // A file is imported only when every record of it was stored.
    const std::vector<Expected> expected{{false, FileSkip::None, 3, 1, 0, 1},
                                         {false, FileSkip::NameListed, 0, 0, 0, 0},
                                         {false, FileSkip::None, 2, 0, 1, 1},
                                         {true, FileSkip::None, 2, 0, 0, 0}};
    ASSERT_EQ(outcome_.files.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const FileOutcome& file = outcome_.files[i];
        EXPECT_EQ(file.imported, expected[i].imported);
        EXPECT_EQ(file.skip, expected[i].skip);
        EXPECT_EQ(file.rowsSent, expected[i].sent);
        EXPECT_EQ(file.rowsRefused, expected[i].refused);
        EXPECT_EQ(file.recordsNotSent, expected[i].notSent);
        EXPECT_EQ(file.reports, expected[i].reports);
        EXPECT_EQ(file.table, i == 1 ? "" : Table(static_cast<int>(i + 1)));
    }
    EXPECT_EQ(outcome_.end, RunEnd::Done);
    EXPECT_EQ(outcome_.reports, 2);
    EXPECT_EQ(outcome_.RowsSent(), rowHook_.rows);
    EXPECT_FALSE(outcome_.Clean());
    EXPECT_EQ(db_.Rows(Table(3)), (std::vector<std::string>{"a|b", "3|4"}));
}

// A run that never reaches a file says why, and a second start inside a run says
// that it did not start.
TEST_F(ImportRunTest, TheOutcomeOfARunThatImportsNothingNamesItsEnd) {
    Run();
    EXPECT_EQ(outcome_.end, RunEnd::NoFiles);
    EXPECT_TRUE(outcome_.files.empty());

    FreshPattern("nested");
    AddFile("a.csv", "v\r\n1\r\n");
    ImportOutcome nested;
    pump_.onYield = [&] {
        if (pump_.yields == 1) {
            ImportContext context{files_,   tables_, options_, connection_,
                                  dialogs_, pump_,   pointer_};
            nested = RunImport(context);
        }
    };
    Run();
    EXPECT_EQ(nested.end, RunEnd::NotStarted);
    EXPECT_EQ(outcome_.end, RunEnd::Done);
    EXPECT_TRUE(outcome_.Clean());
}

// --- Live options, one run at a time, closing ---

TEST_F(ImportRunTest, SeparatorEditedDuringTheRunTakesEffectAtItsNextUse) {
    FreshPattern("live");
    AddFile("a.csv", "a,b\r\nc|d\r\ne|f\r\n");
    // Yields: 3 lines and the replacement in the first pass (1-4), 2 header
    // columns (5-6), then line 1 (7) with its 2 fields (8-9), then line 2 (10).
    pump_.onYield = [&] {
        if (pump_.yields == 10) options_.separator = "|";
    };
    Run();
    EXPECT_TRUE(dialogs_.reports.empty());
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"a|b", "c|d", "e|f"}));
}

TEST_F(ImportRunTest, OneRunAtATimeOverTheListAsItStoodAtTheStart) {
    FreshPattern("once");
    AddFile("a.csv", "v\r\n1\r\n");
    bool nested = false;
    pump_.onYield = [&] {
        if (nested) return;
        nested = true;
        // An entry added during the run is not imported by it,
        files_.AddEntry(folder_.Write("late.csv", "v\r\nlate\r\n"));
        // and a second start while it runs does nothing.
        Run();
    };
    Run();
    EXPECT_EQ(dialogs_.messages, std::vector<std::string>{kDone});
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"v", "1"}));
    EXPECT_FALSE(Exists(Table(2)));
    ExpectPointerPerFile(1);
}

TEST_F(ImportRunTest, ClosingDuringTheRunStopsItQuietlyAndKeepsTheRowsSent) {
    FreshPattern("abort");
    AddFile("a.csv", "a\r\n1\r\n2\r\n3\r\n");
    AddFile("b.csv", "a\r\n1\r\n");
    // First pass 1-5, header column 6, then two yields per row: stop before the third row's field.
    pump_.onYield = [&] {
        if (pump_.yields == 12) throw RunAborted{};
    };
    EXPECT_THROW(Run(), RunAborted);
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"a", "1"}));
    EXPECT_TRUE(dialogs_.log.empty());
    EXPECT_EQ(pointer_.current, PointerShape::Default);
    EXPECT_FALSE(Exists(Table(2)));

    // The run is over: the next one starts.
    pump_.onYield = nullptr;
    files_ = VectorFileList({folder_.Write("c.csv", "a\r\n9\r\n")});
    FreshPattern("after");
    Run();
    EXPECT_EQ(db_.Rows(Table(1)), (std::vector<std::string>{"a", "9"}));
}

}  // namespace
}  // namespace verrolift
