#pragma once

// The database a test program of this folder runs against: sqliteodbc, or psqlODBC on
// the PostgreSQL stand-in when the program is built with VERROLIFT_TEST_PG. Header-only,
// as each program compiles it for its own database.

#include <string>
#include <vector>

#include "support/test_database.h"

namespace verrolift::test {

#ifdef VERROLIFT_TEST_PG
// A table (a text, b integer) of its own on the stand-in, dropped when done.
class DbBackend {
public:
    DbBackend() : connectionString_(PgMain().ConnectionString()), table_(UniqueName("batch")) {
        ExecOn(connectionString_, "CREATE TABLE \"" + table_ + "\"(a text, b integer)");
    }
    ~DbBackend() { ExecOn(connectionString_, "DROP TABLE IF EXISTS \"" + table_ + "\""); }
    const std::string& ConnectionString() const { return connectionString_; }
    const std::string& Table() const { return table_; }
    // Each row as "hex(a)|b", NULL as "<NULL>", in the order stored, read by another client.
    std::vector<std::string> Rows() const {
        return ColumnOn(connectionString_,
                        "SELECT coalesce(upper(encode(convert_to(a, 'UTF8'), 'hex')), "
                        "'<NULL>') || '|' || coalesce(b::text, '<NULL>') FROM \"" +
                            table_ + "\" ORDER BY ctid");
    }

private:
    std::string connectionString_;
    std::string table_;
};
#else
// A table (a TEXT, b INTEGER) in a database file of its own.
class DbBackend {
public:
    DbBackend() { db_.Exec("CREATE TABLE \"" + table_ + "\"(a TEXT, b INTEGER) STRICT"); }
    const std::string& ConnectionString() const { return db_.ConnectionString(); }
    const std::string& Table() const { return table_; }
    std::vector<std::string> Rows() const {
        return db_.Column(
            "SELECT CASE WHEN a IS NULL THEN '<NULL>' ELSE hex(a) END || '|' || "
            "coalesce(b, '<NULL>') "
            "FROM \"" +
            table_ + "\" ORDER BY rowid");
    }

private:
    SqliteDatabase db_;
    std::string table_ = "batch";
};
#endif

}  // namespace verrolift::test
