// Rows in batches and files on jobs, in process, against a real database: SQLite, or
// the PostgreSQL stand-in when built with VERROLIFT_TEST_PG. Whatever the way of
// sending, a run ends with the same rows and shows the same boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/failure.h"
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

}  // namespace
}  // namespace verrolift
