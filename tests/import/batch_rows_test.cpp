// Rows in batches and files on jobs, in process, against a real database: SQLite, or
// the PostgreSQL stand-in when built with VERROLIFT_TEST_PG. Whatever the way of
// sending, a run ends with the same rows and shows the same boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/failure.h"
#include "import/import_messages.h"
#include "import/import_steps.h"
#include "import/sql_text.h"
#include "support/import_fixture.h"

namespace verrolift {
namespace {

using namespace std::string_literals;

#ifdef VERROLIFT_TEST_PG
#define BatchRowsTest PgBatchRows
#define RunJobsTest PgRunJobs
const std::string kStrict;
#else
#define BatchRowsTest SqliteBatchRows
#define RunJobsTest SqliteRunJobs
// SQLite refuses a value of the wrong type only in a strict table, as other databases do.
const std::string kStrict = " STRICT";
#endif

void Drop(const test::ImportBackend& db, const std::string& table) {
    test::ExecOn(db.ConnectionString(), "DROP TABLE IF EXISTS \"" + table + "\"");
}

// What a run left: its boxes in order and the rows of its tables.
struct Outcome {
    std::vector<std::string> log;
    std::vector<std::vector<std::string>> rows;
    bool operator==(const Outcome&) const = default;
};

struct Sending {
    const char* name;
    RowSending sending;
    int jobs;
};

void PrintTo(const Sending& s, std::ostream* os) {
    *os << s.name;
}

// A temporary folder of the run's own, a folder of input files and a database.
class RunFixture : public testing::Test {
protected:
    test::TempDir tmp;
    test::ScopedEnvironment tmpdir{"TMPDIR", tmp.Path()};
    test::TempDir folder;
    test::ImportBackend db;
};

// Good rows, too many and too few values, a value the number column cannot take,
// empty fields, an empty line, apostrophes, UTF-8 and a lone Latin-1 byte, NUL bytes.
const std::string kRows =
    "a,1\r\nb,2,3\r\nc,x\r\n,4\r\nO'Brien,5\r\n\r\nd\r\n\xc3\xa9,6\r\n\xe9,7\r\nn\0n,8\r\n"s
    "e,9\r\nf,\r\ng,10\r\nh,0\0001\r\ni,11\r\n"s;

class BatchRowsTest : public RunFixture, public testing::WithParamInterface<Sending> {
protected:
    // Runs the files into tables (made afresh by the run, or the append target made
    // here), reads and drops them.
    Outcome Run(const std::vector<std::string>& paths, const std::vector<std::string>& tables,
                const Sending& how, bool appendTyped) {
        ImportOptions options;
        // The lone Latin-1 byte must reach the database as it is, to be refused there.
        options.encoding = TextEncoding(EncodingKind::Bytes);
        VectorTableList list;
        if (appendTyped) {
            test::ExecOn(db.ConnectionString(),
                         "CREATE TABLE \"" + tables.at(0) + "\"(a TEXT, b INTEGER)" + kStrict);
            options.mode = ImportMode::AppendToTable;
            list.Append(tables.at(0));
            list.Select(0);
            options.targetTable = tables.at(0);
        } else {
            options.tableNamePattern = stem + "_[counter]";
        }
        VectorFileList files(paths);
        test::FixedConnection connection(db.ConnectionString());
        test::RecordingDialogs dialogs;
        NoEventPump pump;
        NoWindowPointer pointer;
        ImportContext context{files, list, options, connection, dialogs, pump, pointer};
        context.sending = how.sending;
        context.jobs = how.jobs;
        RunImport(context);
        Outcome outcome{dialogs.log, {}};
        for (const auto& t : tables) {
            outcome.rows.push_back(db.Rows(t));
            Drop(db, t);
        }
        return outcome;
    }

    std::string stem = db.Fresh("rows");
};

TEST_P(BatchRowsTest, SameRowsAndBoxesAsOneStatementPerLine) {
    const std::vector<std::string> paths{folder.Write("a.csv", "h1,h2\r\n" + kRows),
                                         folder.Write("b.csv", "x\r\n1\r\n2,3\r\n4\r\n")};
    const std::vector<std::string> tables{stem + "_1", stem + "_2"};
    const Sending plain{"Plain", {}, 1};
    const Outcome expected = Run(paths, tables, plain, false);
    ASSERT_GE(expected.log.size(), 4u);
    EXPECT_EQ(Run(paths, tables, GetParam(), false), expected);

    const std::vector<std::string> appended{paths.at(0)};
    const Outcome expectedAppend = Run(appended, {stem}, plain, true);
    ASSERT_GE(expectedAppend.rows.at(0).size(), 6u);
    EXPECT_EQ(Run(appended, {stem}, GetParam(), true), expectedAppend);
}

INSTANTIATE_TEST_SUITE_P(Ways, BatchRowsTest,
                         testing::Values(Sending{"ArraysOfThree", {true, 3, true}, 1},
                                         Sending{"RowByRowInBatchesOfFour", {true, 4, false}, 1},
                                         Sending{"WholeFileInOneBatch", {true, 1000, true}, 1},
                                         Sending{"ThreeJobs", {}, 3},
                                         Sending{"ThreeJobsInBatchesOfTwo", {true, 2, true}, 3}),
                         [](const testing::TestParamInfo<Sending>& param) {
                             return std::string(param.param.name);
                         });

// A pump whose yields, from any thread, stop the run once asked to.
class StoppingPump : public EventPump {
public:
    void Yield() override {
        if (stop) throw RunAborted{};
    }
    std::atomic<bool> stop{false};
};

class RunJobsTest : public RunFixture {};

TEST_F(RunJobsTest, ClosingStopsEveryJobAndShowsNothingMore) {
    std::string lines = "h\r\n";
    for (int i = 0; i < 20000; ++i) lines += std::to_string(i) + "\r\n";
    VectorFileList files(
        {folder.Write("a.csv", lines), folder.Write("b.csv", lines), folder.Write("c.csv", lines)});
    VectorTableList list;
    ImportOptions options;
    options.tableNamePattern = db.Fresh("stop") + "_[counter]";
    test::FixedConnection connection(db.ConnectionString());
    test::RecordingDialogs dialogs;
    // The waiting thread asks to stop on its first yield; the jobs notice at their next.
    StoppingPump jobs;
    test::RecordingPump waiting;
    waiting.onYield = [&] { jobs.stop = true; };
    NoWindowPointer pointer;
    ImportContext context{files, list, options, connection, dialogs, waiting, pointer};
    context.jobs = 3;
    context.jobPump = &jobs;
    EXPECT_THROW(RunImport(context), RunAborted);
    EXPECT_EQ(dialogs.log, std::vector<std::string>{});
    for (int i = 1; i <= 3; ++i) Drop(db, ResolveTableName(options.tableNamePattern, i));
}

#ifdef VERROLIFT_TEST_PG
// The logins of a run on two jobs, in order: the first two (the first waits for the
// second, so that both jobs hold a file) are taken, every later one refused. The job of
// the second login is held at its first yield until a refusal has been seen for a while:
// its file is still under way when the run learns of the refusal.
class RefusedAfterTwoLogins : public ConnectionSource, public EventPump {
public:
    RefusedAfterTwoLogins(std::string right, std::string wrong)
        : right_(std::move(right)), wrong_(std::move(wrong)) {}

    std::string ConnectionString() const override {
        std::unique_lock lock(mutex_);
        const int login = ++logins_;
        changed_.notify_all();
        if (login == 1) changed_.wait_for(lock, kPatience, [&] { return logins_ >= 2; });
        if (login == 2) held_ = std::this_thread::get_id();
        return login <= 2 ? right_ : wrong_;
    }

    void Yield() override {
        std::unique_lock lock(mutex_);
        if (released_ || std::this_thread::get_id() != held_) return;
        changed_.wait_for(lock, kPatience, [&] { return logins_ >= 3; });
        released_ = true;
        lock.unlock();
        // Long enough for the run to look at the held file's future several times.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }

private:
    static constexpr std::chrono::seconds kPatience{20};
    std::string right_;
    std::string wrong_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable int logins_ = 0;
    mutable std::thread::id held_;
    bool released_ = false;
};

TEST_F(RunJobsTest, ARefusedLoginNamesOnlyTheFilesNeverStarted) {
    const test::PgScratchRole role;
    const std::vector<std::string> paths{
        folder.Write("1.csv", "v\r\n1\r\n"), folder.Write("2.csv", "v\r\n2\r\n"),
        folder.Write("3.csv", "v\r\n3\r\n"), folder.Write("4.csv", "v\r\n4\r\n"),
        folder.Write("5.csv", "v\r\n5\r\n")};
    VectorFileList files(paths);
    VectorTableList list;
    ImportOptions options;
    options.tableNamePattern = db.Fresh("refused") + "_[counter]";
    RefusedAfterTwoLogins logins(
        db.ConnectionString(),
        BuildConnectionString({test::PgMain().profile.sid, role.Name(), "wrong-password"}));
    test::RecordingDialogs dialogs;
    NoEventPump pump;
    NoWindowPointer pointer;
    ImportContext context{files, list, options, logins, dialogs, pump, pointer};
    context.jobs = 2;
    context.jobPump = &logins;
    RunImport(context);

    // The first two files went in, one of them after the refusal of the third's login;
    // the last two were never started and are named once.
    EXPECT_EQ(dialogs.ReportSteps(),
              (std::vector<int>{import_steps::kOpenConnection, import_steps::kOpenConnection}));
    ASSERT_EQ(dialogs.reports.size(), 2u);
    EXPECT_NE(dialogs.reports[0].description.find("password authentication failed"),
              std::string::npos)
        << dialogs.reports[0].description;
    EXPECT_EQ(dialogs.reports[1].description,
              FilesNotImportedAfterRefusedLogin({paths[3], paths[4]}));
    for (int i = 1; i <= 2; ++i) {
        const std::string table = ResolveTableName(options.tableNamePattern, i);
        EXPECT_EQ(db.Rows(table), (std::vector<std::string>{"v", std::to_string(i)})) << table;
        Drop(db, table);
    }
}
#endif

}  // namespace
}  // namespace verrolift
