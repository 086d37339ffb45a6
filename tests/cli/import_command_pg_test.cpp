// verrolift-import against the PostgreSQL stand-in, through the login driver name.
#include <signal.h>
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "db/catalogue.h"
#include "import/import_steps.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace verrolift::test {
namespace {

std::string At(int step) {
    return std::string(kImportTag) + "at line " + std::to_string(step);
}

class ImportCommandPg : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PgAvailable()) << "PostgreSQL stand-in not running: use scripts/test";
        account = PgMain();
    }
    void TearDown() override {
        for (const auto& t : made)
            ExecOn(account.ConnectionString(), "DROP TABLE IF EXISTS \"" + t + "\"");
    }
    // A table name this test owns; dropped at its end.
    std::string Owned(const std::string& name) {
        made.push_back(name);
        return name;
    }
    std::vector<std::string> Login(const std::string& password) {
        return {"--sid", account.profile.sid, "--user", account.profile.userName, "--password",
                password};
    }
    std::vector<std::string> Rows(const std::string& table) {
        return RowsOn(account.ConnectionString(), table, "ctid");
    }

    PgAccount account;
    std::vector<std::string> made;
    TempDir files;
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ImportCommandPg, LoginProfileCreatesTablesWithTheirRows) {
    const std::string stem = UniqueName("cli");
    const std::string t1 = Owned(stem + "_1"), t2 = Owned(stem + "_2");
    const auto a = files.Write("a.csv", "Name,Age\r\nAnn,30\r\nO'Brien,42\r\n");
    const auto b = files.Write("b.csv", "k|v\r\n1|\r\n");
    const auto r =
        RunImportCommand(Join(Login(account.profile.password),
                              {"--table-name", stem + "_[counter]", "--separator", ",", a}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Done.\nSummary: 1 of 1 files imported, 3 rows stored, 0 rows refused, 0 records not "
              "sent, 0 rows skipped.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Rows(t1), (std::vector<std::string>{"Name|Age", "Ann|30", "O'Brien|42"}));

    const auto r2 = RunImportCommand(Join(Login(account.profile.password),
                                          {"--table-name", stem + "_2", "--separator", "|", b}));
    EXPECT_EQ(r2.exitCode, 0) << r2.err;
    EXPECT_EQ(Rows(t2), (std::vector<std::string>{"k|v", "1|<NULL>"}));
}

TEST_F(ImportCommandPg, PasswordMayComeFromTheEnvironment) {
    const std::string table = Owned(UniqueName("clienv"));
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    ProcessOptions env;
    env.environment["VERROLIFT_PASSWORD"] = account.profile.password;
    const auto r = RunImportCommand({"--sid", account.profile.sid, "--user",
                                     account.profile.userName, "--table-name", table, a},
                                    env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Done.\nSummary: 1 of 1 files imported, 2 rows stored, 0 rows refused, 0 records not "
              "sent, 0 rows skipped.\n");
    EXPECT_EQ(Rows(table), (std::vector<std::string>{"x", "1"}));
}

TEST_F(ImportCommandPg, GivenPasswordWinsOverTheEnvironment) {
    const std::string table = Owned(UniqueName("cliwin"));
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    ProcessOptions env;
    env.environment["VERROLIFT_PASSWORD"] = "wrong";
    const auto r =
        RunImportCommand(Join(Login(account.profile.password), {"--table-name", table, a}), env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Rows(table), (std::vector<std::string>{"x", "1"}));
}

TEST_F(ImportCommandPg, RefusedLoginIsTriedOnceBeforeTheFirstFileAndEndsTheRun) {
    const PgScratchRole role;
    const int before = PgFailedLogins(role.Name());
    const std::string table = UniqueName("clibad");
    const auto a = files.Write("a.csv", "x\r\n1\r\n");
    const auto b = files.Write("b.csv", "y\r\n2\r\n");
    const auto c = files.Write("c.csv", "z\r\n3\r\n");
    const auto r =
        RunImportCommand({"--sid", account.profile.sid, "--user", role.Name(), "--password",
                          "not-the-password", "--table-name", table + "[counter]", a, b, c});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "The database refused the login, so no further login is tried and these files are "
              "not imported:\n" +
                  a + "\n" + b + "\n" + c + "\n");
    EXPECT_EQ(ReportLocations(r.err), std::vector<std::string>{LoadAt(kListTablesStep)});
    EXPECT_EQ(PgFailedLogins(role.Name()) - before, 1);
    EXPECT_EQ(
        ColumnOn(account.ConnectionString(),
                 "SELECT count(*)::text FROM user_tables WHERE table_name LIKE '" + table + "%'"),
        std::vector<std::string>{"0"});
}

TEST_F(ImportCommandPg, AppendSelectsTheCatalogueSpellingOfTheTable) {
    const std::string table = Owned(UniqueName("CliEmp"));
    ExecOn(account.ConnectionString(), "CREATE TABLE \"" + table + "\"(a text, b text)");
    const auto a = files.Write("a.csv", "A,B\r\n1,2\r\n3,4\r\n");
    std::string lower = table;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto r = RunImportCommand(
        Join(Login(account.profile.password), {"--append", lower, "--skip-header", a}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Done.\nSummary: 1 of 1 files imported, 2 rows stored, 0 rows refused, 0 records not "
              "sent, 0 rows skipped.\n");
    EXPECT_EQ(Rows(table), (std::vector<std::string>{"1|2", "3|4"}));
}

TEST_F(ImportCommandPg, ColumnCountMessageNamesFileSeparatorAndTable) {
    const std::string table = Owned(UniqueName("clicount"));
    ExecOn(account.ConnectionString(),
           "CREATE TABLE \"" + table + "\"(a text, b text, c text, d text)");
    const auto a = files.Write("a.csv", "1;2;3;\r\n");
    const auto r = RunImportCommand(
        Join(Login(account.profile.password), {"--append", table, "--separator", ";", a}));
    EXPECT_EQ(r.exitCode, 0) << "a trailing separator counts a fourth field: " << r.out << r.err;
    EXPECT_EQ(Rows(table), std::vector<std::string>{"1|2|3|<NULL>"});

    const auto b = files.Write("b.csv", "1;2;3\r\n");
    const auto r2 = RunImportCommand(
        Join(Login(account.profile.password), {"--append", table, "--separator", ";", b}));
    EXPECT_EQ(r2.exitCode, 1);
    EXPECT_EQ(r2.out,
              "The columns in the text file and the columns in the table must be identical.\n\n" +
                  b + " was split by ; and has 3 columns. The table " + table +
                  " has 4 columns.\nDone.\nSummary: 0 of 1 files imported, 0 rows stored, 0 rows "
                  "refused, 0 records not sent, 0 rows skipped.\n");
    EXPECT_EQ(Rows(table).size(), 1u);
}

// A session that holds a lock in an open transaction.
class LockingSession {
public:
    explicit LockingSession(const std::string& connectionString) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
        SQLCHAR out[1024];
        SQLSMALLINT outLen = 0;
        ok_ = SQL_SUCCEEDED(SQLDriverConnect(
            dbc_, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
            SQL_NTS, out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT));
        SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    }
    ~LockingSession() {
        End();
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }
    bool Exec(const std::string& sql) {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
        const bool ok = SQL_SUCCEEDED(
            SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS));
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        return ok && ok_;
    }
    void End() { SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK); }

private:
    SQLHENV env_ = nullptr;
    SQLHDBC dbc_ = nullptr;
    bool ok_ = false;
};

TEST_F(ImportCommandPg, InterruptStopsTheRunAtItsNextYieldAndKeepsTheRowsSent) {
    const std::string table = Owned(UniqueName("cliint"));
    ExecOn(account.ConnectionString(), "CREATE TABLE \"" + table + "\"(a text)");
    const auto a = files.Write("a.csv", "1\r\n2\r\n3\r\n");

    // The lock lets the column check read the table but holds the first row back.
    LockingSession lock(account.ConnectionString());
    ASSERT_TRUE(lock.Exec("LOCK TABLE \"" + table + "\" IN EXCLUSIVE MODE"));

    std::vector<std::string> argv = Join(
        {VERROLIFT_IMPORT_PROGRAM}, Join(Login(account.profile.password), {"--append", table, a}));
    ProcessOptions options;
    options.environment["VERROLIFT_PASSWORD"] = std::nullopt;
    RunningProcess run(VERROLIFT_IMPORT_PROGRAM, argv, options);

    // Wait (without a time limit of the test's own) until the first INSERT waits for the lock.
    const std::string waiting =
        "SELECT count(*)::text FROM pg_locks WHERE NOT granted AND relation = '\"" + table +
        "\"'::regclass";
    while (ColumnOn(account.ConnectionString(), waiting) != std::vector<std::string>{"1"})
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    run.Signal(SIGTERM);
    lock.End();
    const auto r = run.Wait();
    // The statement under way is finished, then the run says where it stopped.
    EXPECT_EQ(r.exitCode, 143);
    EXPECT_EQ(r.out,
              "The run was stopped.\nSummary: 0 of 1 files imported, 1 rows stored, 0 rows "
              "refused, 0 records not sent, 0 rows skipped.\n\"" +
                  a + "\": its first 1 rows are stored in \"" + table +
                  "\"; the rest loads with --append \"" + table + "\" --skip-rows 1\n");
    EXPECT_EQ(r.err, "") << "no report after an interrupt";
    EXPECT_EQ(Rows(table), std::vector<std::string>{"1"});
}

TEST_F(ImportCommandPg, FastRunThatLosesItsConnectionEndsTheFileAfterOneReport) {
    const std::string table = Owned(UniqueName("clilost"));
    ExecOn(account.ConnectionString(), "CREATE TABLE \"" + table + "\"(a text)");
    const auto a = files.Write("a.csv", "1\r\n2\r\n3\r\n4\r\n5\r\n");
    const auto b = files.Write("b.csv", "9\r\n");

    // The first batch waits for the lock; its session is ended meanwhile.
    LockingSession lock(account.ConnectionString());
    ASSERT_TRUE(lock.Exec("LOCK TABLE \"" + table + "\" IN EXCLUSIVE MODE"));
    std::vector<std::string> argv = Join(
        {VERROLIFT_IMPORT_PROGRAM}, Join(Login(account.profile.password),
                                         {"--fast", "--batch-rows", "2", "--append", table, a, b}));
    ProcessOptions options;
    options.environment["VERROLIFT_PASSWORD"] = std::nullopt;
    RunningProcess run(VERROLIFT_IMPORT_PROGRAM, argv, options);
    const std::string waiting =
        "SELECT pid::text FROM pg_locks WHERE NOT granted AND relation = '\"" + table +
        "\"'::regclass";
    std::vector<std::string> pids;
    while ((pids = ColumnOn(account.ConnectionString(), waiting)).empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ExecOn(account.ConnectionString(), "SELECT pg_terminate_backend(" + pids.at(0) + ")");
    lock.End();

    const auto r = run.Wait();
    EXPECT_EQ(r.exitCode, 1);
    // The lost batch's two rows count as sent and refused.
    EXPECT_EQ(r.out,
              "Done.\nSummary: 1 of 2 files imported, 1 rows stored, 2 rows refused, 3 records not "
              "sent, 0 rows skipped.\n");
    // One report for the lost batch; the file's later rows are not tried; the next file
    // has a connection of its own.
    EXPECT_EQ(ReportLocations(r.err), std::vector<std::string>{At(import_steps::kAppendRows.send)})
        << r.err;
    EXPECT_EQ(Rows(table), std::vector<std::string>{"9"});
}

TEST_F(ImportCommandPg, SessionEndedBetweenTheStatementsOfABatchIsNamedALostConnection) {
    const std::string table = Owned(UniqueName("clisvp"));
    ExecOn(account.ConnectionString(), "CREATE TABLE \"" + table + "\"(a text)");
    std::string lines;
    for (int i = 0; i < 300000; ++i) lines += std::to_string(i) + "\r\n";
    const auto a = files.Write("a.csv", lines);
    const auto b = files.Write("b.csv", "9\r\n");
    std::vector<std::string> argv =
        Join({VERROLIFT_IMPORT_PROGRAM},
             Join(Login(account.profile.password), {"--fast", "--append", table, a, b}));
    ProcessOptions options;
    options.environment["VERROLIFT_PASSWORD"] = std::nullopt;
    RunningProcess run(VERROLIFT_IMPORT_PROGRAM, argv, options);

    // Held still, the program's session waits inside a batch's transaction about every
    // other time: then it is ended, and the program's next statement meets the loss.
    const std::string inBatch =
        "SELECT pid::text FROM pg_stat_activity WHERE state = 'idle in transaction' AND query "
        "LIKE '%\"" +
        table + "\"%'";
    bool ended = false;
    for (int attempt = 0; attempt < 500 && !ended; ++attempt) {
        run.Signal(SIGSTOP);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto pids = ColumnOn(account.ConnectionString(), inBatch);
        if (!pids.empty()) {
            ExecOn(account.ConnectionString(),
                   "SELECT pg_terminate_backend(" + pids.at(0) + ", 10000)");
            ended = true;
        }
        run.Signal(SIGCONT);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto r = run.Wait();
    ASSERT_TRUE(ended) << "the session was never found inside a batch";
    EXPECT_EQ(r.exitCode, 1);
    // The lost batch's thousand rows count as sent and refused; the next file has a
    // connection of its own.
    EXPECT_TRUE(r.out.starts_with("Done.\nSummary: 1 of 2 files imported, ")) << r.out;
    EXPECT_NE(r.out.find(" rows stored, 1000 rows refused, "), std::string::npos) << r.out;
    // One report, naming the loss; the file's later rows are not tried.
    EXPECT_EQ(ReportLocations(r.err), std::vector<std::string>{At(import_steps::kAppendRows.send)})
        << r.err;
    ASSERT_EQ(ReportDescriptions(r.err).size(), 1u);
    EXPECT_TRUE(
        ReportDescriptions(r.err)[0].starts_with("The connection to the database was lost: "))
        << r.err;
    const auto rows = Rows(table);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), "9");
    EXPECT_EQ((rows.size() - 1) % 1000, 0u);
}

}  // namespace
}  // namespace verrolift::test
