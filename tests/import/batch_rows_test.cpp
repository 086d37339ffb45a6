// Rows in batches and files on jobs, in process, against a real database: SQLite, or
// the PostgreSQL stand-in when built with VERROLIFT_TEST_PG. Whatever the way of
// sending, a run ends with the same rows and shows the same boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/failure.h"
#include "import/import_messages.h"
#include "import/import_run.h"
#include "import/sql_text.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using namespace std::string_literals;

#ifdef VERROLIFT_TEST_PG
#define BatchRowsTest PgBatchRows
#define RunJobsTest PgRunJobs
class Backend {
public:
    Backend() : connectionString_(test::PgMain().ConnectionString()) {}
    ~Backend() {
        for (const auto& t : made_) Drop(t);
    }
    const std::string& ConnectionString() const { return connectionString_; }
    std::string Fresh(const std::string& stem) {
        made_.push_back(test::UniqueName(stem));
        return made_.back();
    }
    void Drop(const std::string& table) const {
        test::ExecOn(connectionString_, "DROP TABLE IF EXISTS \"" + table + "\"");
    }
    void MakeTypedTable(const std::string& table) const {
        test::ExecOn(connectionString_, "CREATE TABLE \"" + table + "\"(a text, b integer)");
    }
    std::vector<std::string> Rows(const std::string& table) const {
        return test::RowsOn(connectionString_, table, "ctid");
    }

private:
    std::string connectionString_;
    std::vector<std::string> made_;
};
#else
#define BatchRowsTest SqliteBatchRows
#define RunJobsTest SqliteRunJobs
class Backend {
public:
    const std::string& ConnectionString() const { return db_.ConnectionString(); }
    std::string Fresh(const std::string& stem) const { return stem; }
    void Drop(const std::string& table) const {
        db_.Exec("DROP TABLE IF EXISTS \"" + table + "\"");
    }
    void MakeTypedTable(const std::string& table) const {
        db_.Exec("CREATE TABLE \"" + table + "\"(a TEXT, b INTEGER) STRICT");
    }
    std::vector<std::string> Rows(const std::string& table) const { return db_.Rows(table); }

private:
    test::SqliteDatabase db_;
};
#endif

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

class Runner {
public:
    // Runs the files into tables (made afresh by the run, or the append target made
    // here), reads and drops them.
    Outcome Run(const std::vector<std::string>& paths, const std::vector<std::string>& tables,
                const Sending& how, bool appendTyped) {
        ImportOptions options;
        VectorTableList list;
        if (appendTyped) {
            db.MakeTypedTable(tables.at(0));
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
            db.Drop(t);
        }
        return outcome;
    }

    Backend db;
    std::string stem = db.Fresh("rows");
};

// Good rows, too many and too few values, a value the number column cannot take,
// empty fields, an empty line, apostrophes, UTF-8 and a lone Latin-1 byte, NUL bytes.
const std::string kRows =
    "a,1\r\nb,2,3\r\nc,x\r\n,4\r\nO'Brien,5\r\n\r\nd\r\n\xc3\xa9,6\r\n\xe9,7\r\nn\0n,8\r\n"s
    "e,9\r\nf,\r\ng,10\r\nh,0\0001\r\ni,11\r\n"s;

class BatchRowsTest : public testing::TestWithParam<Sending> {
protected:
    test::TempDir tmp;
    test::ScopedEnvironment tmpdir{"TMPDIR", tmp.Path()};
    test::TempDir folder;
    Runner runner;
};

TEST_P(BatchRowsTest, SameRowsAndBoxesAsOneStatementPerLine) {
    const std::vector<std::string> paths{folder.Write("a.csv", "h1,h2\r\n" + kRows),
                                         folder.Write("b.csv", "x\r\n1\r\n2,3\r\n4\r\n")};
    const std::vector<std::string> tables{runner.stem + "_1", runner.stem + "_2"};
    const Sending plain{"Plain", {}, 1};
    const Outcome expected = runner.Run(paths, tables, plain, false);
    ASSERT_GE(expected.log.size(), 4u);
    EXPECT_EQ(runner.Run(paths, tables, GetParam(), false), expected);

    const std::vector<std::string> appended{paths.at(0)};
    const Outcome expectedAppend = runner.Run(appended, {runner.stem}, plain, true);
    ASSERT_GE(expectedAppend.rows.at(0).size(), 6u);
    EXPECT_EQ(runner.Run(appended, {runner.stem}, GetParam(), true), expectedAppend);
}

INSTANTIATE_TEST_SUITE_P(Ways, BatchRowsTest,
                         testing::Values(Sending{"ArraysOfThree", {true, 3, true}, 1},
                                         Sending{"ArraysOfOne", {true, 1, true}, 1},
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

TEST(RunJobsTest, ClosingStopsEveryJobAndShowsNothingMore) {
    test::TempDir tmp;
    const test::ScopedEnvironment tmpdir{"TMPDIR", tmp.Path()};
    test::TempDir folder;
    Backend db;
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
    for (int i = 1; i <= 3; ++i) db.Drop(ResolveTableName(options.tableNamePattern, i));
}

}  // namespace
}  // namespace verrolift
