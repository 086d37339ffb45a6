// verrolift-import with --fast and with --jobs ends as it does without them: the same
// tables, row for row, and the same messages and reports. Against SQLite, or the
// PostgreSQL stand-in when built with VERROLIFT_TEST_PG.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "cli_runner.h"
#include "run_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift::test {
namespace {

#ifdef VERROLIFT_TEST_PG
#define FastPathTest PgFastPath
#define FastJobsTest PgFastJobs
#define FastPathTargetTest PgFastPathTarget
class Backend {
public:
    Backend() : account_(PgMain()) {}
    ~Backend() {
        for (const auto& t : made_) Drop(t);
    }
    std::vector<std::string> Login() const {
        return {"--sid",      account_.profile.sid,     "--user", account_.profile.userName,
                "--password", account_.profile.password};
    }
    std::string Fresh(const std::string& stem) {
        made_.push_back(UniqueName(stem));
        return made_.back();
    }
    void Exec(const std::string& sql) const { ExecOn(account_.ConnectionString(), sql); }
    void Drop(const std::string& table) const { Exec("DROP TABLE IF EXISTS \"" + table + "\""); }
    std::vector<std::string> Rows(const std::string& table) const {
        return RowsOn(account_.ConnectionString(), table, "ctid");
    }
    std::vector<std::string> Column(const std::string& sql) const {
        return ColumnOn(account_.ConnectionString(), sql);
    }
    // A table whose middle column takes whole numbers only.
    void MakeTypedTable(const std::string& table) const {
        Exec("CREATE TABLE \"" + table + "\"(a text, b integer, c text)");
    }

private:
    PgAccount account_;
    std::vector<std::string> made_;
};
#else
#define FastPathTest SqliteFastPath
#define FastJobsTest SqliteFastJobs
#define FastPathTargetTest SqliteFastPathTarget
class Backend {
public:
    std::vector<std::string> Login() const {
        return {"--connection-string", db_.ConnectionString()};
    }
    std::string Fresh(const std::string& stem) const { return stem; }
    void Exec(const std::string& sql) const { db_.Exec(sql); }
    void Drop(const std::string& table) const { Exec("DROP TABLE IF EXISTS \"" + table + "\""); }
    std::vector<std::string> Rows(const std::string& table) const { return db_.Rows(table); }
    std::vector<std::string> Column(const std::string& sql) const { return db_.Column(sql); }
    void MakeTypedTable(const std::string& table) const {
        Exec("CREATE TABLE \"" + table + "\"(a TEXT, b INTEGER, c TEXT) STRICT");
    }

private:
    SqliteDatabase db_;
};
#endif

using namespace std::string_literals;

// Rows a database stores and rows it refuses, mixed: good rows, too many and too few
// values, a value a whole-number column cannot take, empty fields, an empty line,
// apostrophes, UTF-8 and a lone Latin-1 byte (refused by a UTF-8 server), NUL bytes.
const std::string kMixed =
    "a,b,c\r\n"
    "1,2,3\r\n"
    "4,5,6,7\r\n"
    "8,x,9\r\n"
    "10,,12\r\n"
    "O'Brien,13,'q''s'\r\n"
    "\r\n"
    "14,15\r\n"
    "\xc3\xa9t\xc3\xa9,16,caf\xc3\xa9\r\n"
    "l\xe9,17,x\r\n"
    "z\0z,18,19\r\n"s
    "20,21,22\r\n"
    ",,\r\n"
    "23,24,25\r\n"
    "26,27,28,29,30\r\n"
    "31,32,3\0003\r\n"s
    "34,35,36\r\n"
    "37,y,39\r\n"
    "40,41,42\r\n";

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
    std::vector<std::vector<std::string>> tables;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "exit " << o.exitCode << "\nout:\n" << o.out << "err:\n" << o.err;
}

bool operator==(const Outcome& a, const Outcome& b) {
    return a.exitCode == b.exitCode && a.out == b.out && a.err == b.err && a.tables == b.tables;
}

enum class Mode { Header, TypedNames, AppendTyped };

struct Case {
    const char* name;
    Mode mode;
    int batchRows;
    bool lineFeeds = false;  // the file's lines end at LF alone
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Runs the command with the login and args, then reads each of tables and drops it, so
// the next run finds the same state.
Outcome RunAndDrop(const Backend& db, const std::vector<std::string>& args,
                   const std::vector<std::string>& tables) {
    std::vector<std::string> all = db.Login();
    all.insert(all.end(), args.begin(), args.end());
    const ProcessResult r = RunImportCommand(all);
    Outcome outcome{r.exitCode, r.out, r.err, {}};
    for (const auto& t : tables) {
        outcome.tables.push_back(db.Rows(t));
        db.Drop(t);
    }
    return outcome;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FastPathTest : public testing::TestWithParam<Case> {
protected:
    // Imports the file into table, made afresh, in the case's mode.
    Outcome Import(const std::string& table, const std::string& path,
                   const std::vector<std::string>& extra) {
        // The lone Latin-1 byte must reach the database as it is, to be refused there.
        std::vector<std::string> args{"--encoding", "bytes", "--table-name", table};
        if (GetParam().mode == Mode::TypedNames) args = Join(args, {"--columns", "x,y,z"});
        if (GetParam().mode == Mode::AppendTyped) {
            db.MakeTypedTable(table);
            args = {"--encoding", "bytes", "--append", table};
        }
        return RunAndDrop(db, Join(Join(args, extra), {path}), {table});
    }

    Backend db;
    TempDir files;
};

TEST_P(FastPathTest, StoresAndRefusesTheSameRowsWithTheSameReports) {
    const std::string table = db.Fresh("fast");
    std::string content = kMixed;
    if (GetParam().lineFeeds)
        for (std::size_t at = 0; (at = content.find("\r\n", at)) != std::string::npos;)
            content.erase(at, 1);
    const std::string path = files.Write("mixed.csv", content);
    const Outcome plain = Import(table, path, {});
    // The file has rows of every kind, so the default path has refused some and kept some.
    ASSERT_NE(plain.err, "");
    ASSERT_GE(plain.tables.at(0).size(), 8u) << plain.err;
    const Outcome fast =
        Import(table, path, {"--fast", "--batch-rows", std::to_string(GetParam().batchRows)});
    EXPECT_EQ(fast, plain);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FastPathTest,
    testing::Values(Case{"HeaderBatchesOfOne", Mode::Header, 1},
                    Case{"HeaderBatchesOfThree", Mode::Header, 3},
                    Case{"TypedNamesBatchesOfTwo", Mode::TypedNames, 2},
                    Case{"HeaderLineFeedsBatchesOfThree", Mode::Header, 3, true},
                    Case{"AppendBatchesOfTwo", Mode::AppendTyped, 2},
                    Case{"AppendOneBatch", Mode::AppendTyped, 1000}),
    [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(FastPathTargetTest, ARefusedCreateSendsNoRowWithBatchesAsWithout) {
    Backend db;
    TempDir files;
    const std::string table = db.Fresh("gone");
    // Two columns of the same name: no table is made, and no row may follow.
    const auto path = files.Write("dup.csv", "a,a\r\n1,2\r\n3,4\r\n5,6\r\n7,8\r\n");
    const std::vector<std::string> args{"--table-name", table, path};
    const Outcome plain = RunAndDrop(db, args, {});
    ASSERT_EQ(ReportLocations(plain.err).size(), 1u) << "the CREATE alone" << plain.err;
    EXPECT_EQ(RunAndDrop(db, Join({"--fast", "--batch-rows", "2"}, args), {}), plain);
}

TEST(FastPathTargetTest, AWideTableTakesAsManyRowsAsItsStatementsHold) {
    // 1,000 columns: a few rows per statement, as many values as a statement may take.
    Backend db;
    TempDir files;
    const std::string table = db.Fresh("wide");
    std::string content;
    for (int r = 0; r <= 30; ++r) {
        const int fields = r == 13 ? 1001 : 1000;  // one row of another width
        for (int c = 0; c < fields; ++c)
            content +=
                (c ? "," : "") + (r == 0 ? "c" : std::to_string(r) + "_") + std::to_string(c);
        content += "\r\n";
    }
    const std::string path = files.Write("wide.csv", content);
    const std::vector<std::string> args{"--table-name", table, path};
    const Outcome plain = RunAndDrop(db, args, {table});
    ASSERT_EQ(plain.tables.at(0).size(), 30u) << plain.out << plain.err;
    EXPECT_EQ(RunAndDrop(db, Join({"--fast", "--batch-rows", "30"}, args), {table}), plain);
}

#ifdef VERROLIFT_TEST_PG
// How many rows each INSERT statement carried, and in which transaction, as a
// statement trigger on the table sees them; refuseSeveral makes the table refuse a
// statement of more than one row, as a database without that statement shape would.
class StatementLog {
public:
    StatementLog(Backend& db, const std::string& table, bool refuseSeveral)
        : db_(db), log_(db.Fresh("log")), function_(db.Fresh("count")) {
        db.MakeTypedTable(table);
        db.Exec("CREATE TABLE \"" + log_ + "\"(n integer, tx bigint)");
        db.Exec("CREATE FUNCTION \"" + function_ +
                "\"() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "INSERT INTO \"" +
                log_ + "\" SELECT count(*), txid_current() FROM added; " +
                (refuseSeveral ? "IF (SELECT count(*) FROM added) > 1 THEN "
                                 "RAISE EXCEPTION 'one row per statement'; END IF; "
                               : "") +
                "RETURN NULL; END $$");
        db.Exec("CREATE TRIGGER counted AFTER INSERT ON \"" + table +
                "\" REFERENCING NEW TABLE AS added FOR EACH STATEMENT EXECUTE FUNCTION \"" +
                function_ + "\"()");
    }
    ~StatementLog() { db_.Exec("DROP FUNCTION IF EXISTS \"" + function_ + "\" CASCADE"); }
    std::vector<std::string> RowsPerStatement() const {
        return db_.Column("SELECT n::text FROM \"" + log_ + "\" ORDER BY ctid");
    }
    int Transactions() const {
        return std::stoi(db_.Column("SELECT count(DISTINCT tx)::text FROM \"" + log_ + "\"").at(0));
    }

private:
    Backend& db_;
    std::string log_;
    std::string function_;
};

TEST(PgFastPathStatements, CarrySeveralRowsOrOneWhereTheDatabaseRefusesSeveral) {
    Backend db;
    TempDir files;
    std::string good, withBad;
    for (int i = 0; i < 25; ++i) {
        good += std::to_string(i) + "," + std::to_string(i) + ",x\r\n";
        withBad += std::to_string(i) + "," + (i == 14 ? "bad" : std::to_string(i)) + ",x\r\n";
    }
    auto import = [&](const std::string& table, const std::string& content,
                      const std::vector<std::string>& extra) {
        // One name per content: reports name the file, and runs compared must agree.
        const std::string path = files.Write(content == good ? "good.csv" : "bad.csv", content);
        return RunAndDrop(db, Join(Join({"--append", table}, extra), {path}), {table});
    };
    const std::vector<std::string> fast{"--fast", "--batch-rows", "10"};

    // Two batches of ten rows in one statement each; the last five rows are fewer than
    // a statement takes and go one per statement, in the third transaction.
    const std::string several = db.Fresh("several");
    const StatementLog severalLog(db, several, false);
    EXPECT_EQ(import(several, good, fast).tables.at(0).size(), 25u);
    EXPECT_EQ(severalLog.RowsPerStatement(),
              (std::vector<std::string>{"10", "10", "1", "1", "1", "1", "1"}));
    EXPECT_EQ(severalLog.Transactions(), 3);

    // Refused statements of several rows: the same rows and reports as without batches,
    // and the batches still go (not every row on its own): the first batch again one
    // row per statement, the second (the bad row's) row by row, the third as a batch.
    const std::string plainTable = db.Fresh("plain");
    const StatementLog plainLog(db, plainTable, true);
    const Outcome plain = import(plainTable, withBad, {});
    ASSERT_EQ(ReportLocations(plain.err).size(), 1u) << plain.err;
    const std::string one = db.Fresh("one");
    const StatementLog oneLog(db, one, true);
    const Outcome batched = import(one, withBad, fast);
    EXPECT_EQ(batched, plain);
    EXPECT_EQ(oneLog.RowsPerStatement(), std::vector<std::string>(24, "1"));
    EXPECT_EQ(oneLog.Transactions(), 1 + 9 + 1);
}
#endif

// Several files at once against one at a time: the same tables, and each file's
// messages and reports together and in list order.
class FastJobsTest : public testing::Test {
protected:
    Outcome Import(const std::vector<std::string>& extra, const std::vector<std::string>& tables) {
        return RunAndDrop(db, Join(Join({"--encoding", "bytes"}, extra), paths), tables);
    }

    void SetUp() override {
        paths = {files.Write("1.csv", kMixed), files.Write("2.csv", "p,q\r\n1,2\r\n3,4,5\r\n"),
                 files.Path() + "/missing.csv", files.Write("4.csv", "k\r\nv\r\n"),
                 files.Write("5.csv", kMixed.substr(0, 60))};
    }

    Backend db;
    TempDir files;
    std::vector<std::string> paths;
};

TEST_F(FastJobsTest, ThreeJobsGiveTheTablesAndOutputOfOne) {
    const std::string stem = db.Fresh("jobs");
    std::vector<std::string> tables;
    // The third file is missing and makes no table.
    for (const int i : {1, 2, 4, 5}) tables.push_back(stem + "_" + std::to_string(i));
    const std::vector<std::string> pattern{"--table-name", stem + "_[counter]"};
    const Outcome one = Import(Join({"--jobs", "1"}, pattern), tables);
    // The rows refused differ between the databases; the jobs must not change them.
    // Only the fourth file has no refused row.
    ASSERT_TRUE(one.out.starts_with("Done.\nSummary: 1 of 5 files imported, ")) << one.out;
    // The missing file is reported between the reports of the files around it.
    ASSERT_GE(ReportLocations(one.err).size(), 6u) << one.err;
    EXPECT_EQ(Import(Join({"--jobs", "3"}, pattern), tables), one);
    EXPECT_EQ(Import(Join({"--jobs", "3", "--fast", "--batch-rows", "2"}, pattern), tables), one);
}

TEST_F(FastJobsTest, AFileLeftWithoutAColumnNameIsToldInItsPlace) {
    const std::string stem = db.Fresh("cols");
    // Only the one-field file gets a table from one name.
    const std::vector<std::string> tables{stem + "_4"};
    const std::vector<std::string> extra{"--table-name", stem + "_[counter]", "--columns", "x"};
    const Outcome one = Import(extra, tables);
    // The two-field file gets no table, and the message names it, not another job's file.
    EXPECT_NE(one.out.find("No table was made for \"" + paths[1] +
                           "\": --columns gives no name for column #2.\n"),
              std::string::npos)
        << one.out;
    EXPECT_EQ(Import(Join(extra, {"--jobs", "3"}), tables), one);
}

TEST_F(FastJobsTest, FilesOfTheSameTableNameGoOneAfterTheOther) {
    const std::string table = db.Fresh("same");
    const Outcome one = Import({"--table-name", table}, {table});
    // The first file makes the table; every later one finds it listed and is skipped.
    ASSERT_EQ(one.out,
              "Table(s) already exist.\nSummary: 0 of 5 files imported, 13 rows stored, 6 rows "
              "refused, 0 records not sent, 0 rows skipped.\n");
    EXPECT_EQ(Import({"--table-name", table, "--jobs", "4"}, {table}), one);
}

}  // namespace
}  // namespace verrolift::test

namespace verrolift::test {
namespace {

#ifdef VERROLIFT_TEST_PG
#define BadFileTest PgBadFile
#define StoppedRunTest PgStoppedRun
#else
#define BadFileTest SqliteBadFile
#define StoppedRunTest SqliteStoppedRun
#endif

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A header, rows the database refuses in several batches, a malformed quoted record that
// spans lines, and a line that is not UTF-8.
const std::string kHeader = "a,b,c\r\n";
const std::string kRefusedTwo = "2,bad,x\r\n";
const std::string kMalformed = "\"6\"z,6,\"open\r\nspan\"\r\n";
const std::string kNotUtf8 = "8,b\xE9,x\r\n";
const std::string kRefusedTen = "10,ten,x\r\n";
const std::string kWithBadRecords =
    kHeader + "1,1,x\r\n" + kRefusedTwo + "3,3,x\r\n" + "\"4\",4,\"two\r\nlines\"\r\n" +
    "5,5,x\r\n" + kMalformed + "7,7,x\r\n" + kNotUtf8 + "9,9,x\r\n" + kRefusedTen + "11,11,x\r\n";

// The rows of a table made by MakeTypedTable, in the order of b, as text on both databases.
std::vector<std::string> TypedRows(const Backend& db, const std::string& table) {
    return db.Column("SELECT a || '|' || CAST(b AS TEXT) || '|' || c FROM \"" + table +
                     "\" ORDER BY b");
}

class BadFileTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadFileTest, HoldsEveryRecordNotStoredAsItStoodAndReloadsOnceMended) {
    Backend db;
    TempDir files;
    const std::string table = db.Fresh("badfile");
    db.MakeTypedTable(table);
    const std::string path = files.Write("data.csv", kWithBadRecords);
    const std::string folder = files.Path() + "/bad";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::vector<std::string> options =
        Join({"--quotes", "--encoding", "utf-8", "--skip-header", "--append", table, "--bad-folder",
              folder},
             GetParam());
    const ProcessResult r = RunImportCommand(Join(Join(db.Login(), options), {path}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Summary: 0 of 1 files imported, 7 rows stored, 2 rows refused, 2 "
                         "records not sent, 0 rows skipped.\nThe records that were not stored "
                         "are in \"" +
                         folder + "\".\n"),
              std::string::npos)
        << r.out;
    // Each report names the file and the line its record starts on.
    for (const char* place : {"(data.csv, line 3)", "(data.csv, line 11)", "(data.csv, line 13)"})
        EXPECT_NE(r.err.find(place), std::string::npos) << place << "\n" << r.err;
    const std::string bad = ReadAll(folder + "/data.csv.bad");
    EXPECT_EQ(bad, kHeader + kRefusedTwo + kMalformed + kNotUtf8 + kRefusedTen);

    // Mended, the bad file loads with the same options and completes the table.
    std::string mended = Replaced(bad, "bad", "2");
    mended = Replaced(mended, "\"6\"z", "\"6\"");
    mended = Replaced(mended, "b\xE9", "8");
    mended = Replaced(mended, "ten", "10");
    const std::string again = files.Write("mended.csv", mended);
    const ProcessResult r2 = RunImportCommand(Join(Join(db.Login(), options), {again}));
    EXPECT_EQ(r2.exitCode, 0) << r2.err;
    const std::vector<std::string> rows = TypedRows(db, table);
    std::vector<std::string> expected;
    for (int i = 1; i <= 11; ++i)
        expected.push_back(std::to_string(i) + "|" + std::to_string(i) + "|" +
                           (i == 4   ? "two\nlines"
                            : i == 6 ? "open\nspan"
                                     : "x"));
    // The quoted line breaks are stored as the file has them.
    for (auto& row : expected)
        for (std::size_t at = 0; (at = row.find('\n', at)) != std::string::npos; at += 2)
            row.insert(at, "\r");
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(ReadAll(folder + "/mended.csv.bad").empty()) << "nothing left out the second time";
}

INSTANTIATE_TEST_SUITE_P(Ways, BadFileTest,
                         testing::Values(std::vector<std::string>{},
                                         std::vector<std::string>{"--fast", "--batch-rows", "2"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& param) {
                             return param.param.empty() ? "RowByRow" : "BatchesOfTwo";
                         });

// The line that tells where a stopped file goes on, and its N.
std::int64_t ResumeCount(const std::string& out, const std::string& table) {
    const std::string tail = "; the rest loads with --append \"" + table + "\" --skip-rows ";
    const std::size_t at = out.find(tail);
    if (at == std::string::npos) return -1;
    return std::stoll(out.substr(at + tail.size()));
}

class StoppedRunTest : public testing::TestWithParam<std::vector<std::string>> {};

// The error limit stops the run where its resume point says; --skip-rows then completes
// the table with no row missing and none twice.
TEST_P(StoppedRunTest, TheErrorLimitNamesWhereToGoOnAndSkipRowsCompletesTheTable) {
    Backend db;
    TempDir files;
    const std::string table = db.Fresh("resume");
    db.MakeTypedTable(table);
    std::string content;
    std::vector<std::string> stored;
    for (int i = 1; i <= 40; ++i) {
        const bool refused = i == 7 || i == 15 || i == 33;
        content += std::to_string(i) + "," + (refused ? "no" : std::to_string(i)) + ",x\r\n";
        if (!refused) stored.push_back(std::to_string(i) + "|" + std::to_string(i) + "|x");
    }
    const std::string path = files.Write("rows.csv", content);
    const auto base = Join(db.Login(), Join({"--append", table}, GetParam()));
    const ProcessResult r = RunImportCommand(Join(base, {"--max-errors", "2", path}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.starts_with("The run stopped: 2 records were not stored")) << r.out;
    const std::int64_t n = ResumeCount(r.out, table);
    ASSERT_GE(n, 15) << r.out;
    ASSERT_LT(n, 33) << r.out;
    EXPECT_EQ(TypedRows(db, table).size(), static_cast<std::size_t>(n - 2));

    const ProcessResult r2 = RunImportCommand(Join(base, {"--skip-rows", std::to_string(n), path}));
    EXPECT_NE(r2.out.find(std::to_string(n) + " rows skipped."), std::string::npos) << r2.out;
    EXPECT_EQ(TypedRows(db, table), stored);
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppedRunTest,
                         testing::Values(std::vector<std::string>{},
                                         std::vector<std::string>{"--fast", "--batch-rows", "4"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& param) {
                             return param.param.empty() ? "RowByRow" : "BatchesOfFour";
                         });

#ifdef VERROLIFT_TEST_PG
// Interrupted in the middle of a large file, the run finishes what it sent and says where
// to go on; going on from there leaves no gap and no duplicate.
TEST_P(StoppedRunTest, AnInterruptNamesWhereToGoOnAndSkipRowsCompletesTheTable) {
    Backend db;
    TempDir files;
    const std::string table = db.Fresh("interrupt");
    db.Exec("CREATE TABLE \"" + table + "\"(n integer)");
    std::string content;
    constexpr int kRows = 200000;
    for (int i = 1; i <= kRows; ++i) content += std::to_string(i) + "\r\n";
    const std::string path = files.Write("many.csv", content);
    const auto base = Join(db.Login(), Join({"--append", table}, GetParam()));
    RunningProcess run(VERROLIFT_IMPORT_PROGRAM,
                       Join({VERROLIFT_IMPORT_PROGRAM}, Join(base, {path})));
    while (db.Column("SELECT count(*)::text FROM \"" + table + "\"").at(0) == "0")
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    run.Signal(SIGINT);
    const ProcessResult r = run.Wait();
    ASSERT_EQ(r.exitCode, 130) << r.out << r.err;
    const std::int64_t n = ResumeCount(r.out, table);
    ASSERT_GT(n, 0) << r.out;
    ASSERT_LT(n, kRows) << "stopped before the end";
    EXPECT_EQ(db.Column("SELECT count(*)::text FROM \"" + table + "\"").at(0), std::to_string(n));

    const ProcessResult r2 = RunImportCommand(Join(base, {"--skip-rows", std::to_string(n), path}));
    EXPECT_EQ(r2.exitCode, 0) << r2.err;
    EXPECT_EQ(db.Column("SELECT count(*)::text || ',' || count(DISTINCT n)::text || ',' || "
                        "min(n)::text || ',' || max(n)::text FROM \"" +
                        table + "\""),
              std::vector<std::string>{"200000,200000,1,200000"});
}
#endif

}  // namespace
}  // namespace verrolift::test
