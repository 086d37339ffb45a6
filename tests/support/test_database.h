#pragma once

#include <string>
#include <vector>

#include "db/connection.h"
#include "support/temp_dir.h"

namespace verrolift::test {

// A connection source that always gives the same string.
class FixedConnection : public ConnectionSource {
public:
    explicit FixedConnection(std::string connectionString) : s_(std::move(connectionString)) {}
    std::string ConnectionString() const override { return s_; }
    void Set(std::string connectionString) { s_ = std::move(connectionString); }

private:
    std::string s_;
};

// One SQLite database file per test, in WAL mode, with a user_tables view
// listing its tables as the catalogue query expects.
class SqliteDatabase {
public:
    SqliteDatabase();
    const std::string& ConnectionString() const { return connectionString_; }
    const std::string& FilePath() const { return file_; }

    // Runs statements on a fresh connection (test set-up).
    void Exec(const std::string& sql) const;
    // The first column of every row of a query, as bytes.
    std::vector<std::string> Column(const std::string& sql) const;
    // Every row of a table (columns joined by "|", NULL as "<NULL>"), rowid order.
    std::vector<std::string> Rows(const std::string& table) const;

private:
    TempDir dir_;
    std::string file_;
    std::string connectionString_;
};

// The PostgreSQL stand-in started by scripts/pg-standin (its variables are
// exported by scripts/test). Fails the test when they are missing.
struct PgAccount {
    ConnectionProfile profile;
    std::string ConnectionString() const { return BuildConnectionString(profile); }
};
PgAccount PgMain();   // VERROLIFT_PG_SID, VERROLIFT_PG_USER, VERROLIFT_PG_PASSWORD
PgAccount PgOther();  // a second account: VERROLIFT_PG_OTHER_USER, VERROLIFT_PG_OTHER_PASSWORD
bool PgAvailable();

// The stand-in's set-up account, a superuser that logs in over its socket without a
// password: the OS user the server runs as (postgres when the tests run as root).
std::string PgSuperuserConnectionString();

// How many logins the stand-in refused for user with "password authentication
// failed", as its server log counts them.
int PgFailedLogins(const std::string& user);

// A login role of its own on the stand-in, with a password, made by the superuser
// and dropped when done: a test can count its failed logins alone.
class PgScratchRole {
public:
    PgScratchRole();
    ~PgScratchRole();
    PgScratchRole(const PgScratchRole&) = delete;
    PgScratchRole& operator=(const PgScratchRole&) = delete;
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    std::string password_ = "right-password";
};

// A table name unique to this test process and call, for tests sharing the stand-in.
std::string UniqueName(const std::string& stem);

// Runs statements / reads a column on the given connection string.
void ExecOn(const std::string& connectionString, const std::string& sql);
std::vector<std::string> ColumnOn(const std::string& connectionString, const std::string& sql);
// Every row of a table, columns joined by "|", NULL as "<NULL>", in the given order.
std::vector<std::string> RowsOn(const std::string& connectionString, const std::string& table,
                                const std::string& orderBy);

}  // namespace verrolift::test
