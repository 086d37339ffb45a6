#include "support/test_database.h"

#ifdef _WIN32
#include <process.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "db/odbc_api.h"

namespace verrolift::test {

namespace {

// A small raw ODBC client, independent of the code under test, so that what
// the core stored is read back by other means.
class RawConnection {
public:
    explicit RawConnection(const std::string& connectionString) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
        SQLCHAR out[1024];
        SQLSMALLINT outLen = 0;
        const SQLRETURN rc = SQLDriverConnect(
            dbc_, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
            static_cast<SQLSMALLINT>(connectionString.size()), out, sizeof out, &outLen,
            SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) Fail(SQL_HANDLE_DBC, dbc_, "connect " + connectionString);
        connected_ = true;
    }
    ~RawConnection() {
        if (connected_) SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }

    void Exec(const std::string& sql) {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
        const SQLRETURN rc =
            SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                          static_cast<SQLINTEGER>(sql.size()));
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
            std::string what = Diagnostics(SQL_HANDLE_STMT, st);
            SQLFreeHandle(SQL_HANDLE_STMT, st);
            throw std::runtime_error("exec failed: " + sql + ": " + what);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }

    std::vector<std::vector<std::string>> Query(const std::string& sql, const char* nullText) {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
        SQLRETURN rc = SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                                     static_cast<SQLINTEGER>(sql.size()));
        if (!SQL_SUCCEEDED(rc)) {
            std::string what = Diagnostics(SQL_HANDLE_STMT, st);
            SQLFreeHandle(SQL_HANDLE_STMT, st);
            throw std::runtime_error("query failed: " + sql + ": " + what);
        }
        SQLSMALLINT columns = 0;
        SQLNumResultCols(st, &columns);
        std::vector<std::vector<std::string>> rows;
        while (SQL_SUCCEEDED(SQLFetch(st))) {
            std::vector<std::string> row;
            for (SQLUSMALLINT c = 1; c <= columns; ++c) {
                std::string value;
                bool isNull = false;
                char buffer[4096];
                for (;;) {
                    SQLLEN len = 0;
                    rc = SQLGetData(st, c, SQL_C_BINARY, buffer, sizeof buffer, &len);
                    if (rc == SQL_NO_DATA) break;
                    if (!SQL_SUCCEEDED(rc))
                        throw std::runtime_error(Diagnostics(SQL_HANDLE_STMT, st));
                    if (len == SQL_NULL_DATA) {
                        isNull = true;
                        break;
                    }
                    const SQLLEN got =
                        (len == SQL_NO_TOTAL || len > static_cast<SQLLEN>(sizeof buffer))
                            ? static_cast<SQLLEN>(sizeof buffer)
                            : len;
                    value.append(buffer, static_cast<std::size_t>(got));
                    if (rc == SQL_SUCCESS) break;
                }
                row.push_back(isNull ? std::string(nullText) : value);
            }
            rows.push_back(std::move(row));
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        return rows;
    }

private:
    static std::string Diagnostics(SQLSMALLINT type, SQLHANDLE h) {
        std::string all;
        for (SQLSMALLINT i = 1;; ++i) {
            SQLCHAR state[6], msg[1024];
            SQLINTEGER native = 0;
            SQLSMALLINT len = 0;
            if (!SQL_SUCCEEDED(SQLGetDiagRec(type, h, i, state, &native, msg, sizeof msg, &len)))
                break;
            all += std::string("[") + reinterpret_cast<char*>(state) + "] " +
                   reinterpret_cast<char*>(msg) + " ";
        }
        return all;
    }
    [[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE h, const std::string& what) {
        std::string d = Diagnostics(type, h);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        throw std::runtime_error(what + ": " + d);
    }
    SQLHENV env_ = nullptr;
    SQLHDBC dbc_ = nullptr;
    bool connected_ = false;
};

// The path the database driver is given. Under wine the driver is the Linux one, which
// needs the Unix path of the file (wine's own wine_get_unix_file_name tells it).
std::string DriverPath(const std::string& path) {
#ifdef _WIN32
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!toUnix) return path;
    const std::wstring wide =
        std::filesystem::path(
            std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()))
            .wstring();
    char* unix = toUnix(wide.c_str());
    if (!unix) return path;
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
#else
    return path;
#endif
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace

SqliteDatabase::SqliteDatabase() {
    file_ = dir_.File("test.db");
    connectionString_ = "Driver={SQLite3};Database=" + DriverPath(file_) + ";";
    RawConnection c(connectionString_);
    // WAL: autocommitted statements need almost no syncs.
    c.Query("PRAGMA journal_mode=WAL", "");
    c.Exec(
        "CREATE VIEW user_tables AS SELECT name AS table_name FROM sqlite_master "
        "WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
}

void SqliteDatabase::Exec(const std::string& sql) const {
    ExecOn(connectionString_, sql);
}

std::vector<std::string> SqliteDatabase::Column(const std::string& sql) const {
    return ColumnOn(connectionString_, sql);
}

std::vector<std::string> SqliteDatabase::Rows(const std::string& table) const {
    return RowsOn(connectionString_, table, "rowid");
}

bool PgAvailable() {
    return !Env("VERROLIFT_PG_SID").empty();
}

PgAccount PgMain() {
    if (!PgAvailable())
        ADD_FAILURE() << "PostgreSQL stand-in not running: use scripts/test, or eval "
                         "\"$(scripts/pg-standin start)\"";
    return {{Env("VERROLIFT_PG_SID"), Env("VERROLIFT_PG_USER"), Env("VERROLIFT_PG_PASSWORD")}};
}

PgAccount PgOther() {
    if (!PgAvailable())
        ADD_FAILURE() << "PostgreSQL stand-in not running: use scripts/test, or eval "
                         "\"$(scripts/pg-standin start)\"";
    return {{Env("VERROLIFT_PG_SID"), Env("VERROLIFT_PG_OTHER_USER"),
             Env("VERROLIFT_PG_OTHER_PASSWORD")}};
}

std::string PgSuperuserConnectionString() {
    std::string user = "postgres";
#ifndef _WIN32
    if (::geteuid() != 0) {
        const passwd* entry = ::getpwuid(::geteuid());
        if (entry != nullptr) user = entry->pw_name;
    }
#endif
    return "Driver={Microsoft ODBC for Oracle};Server=" + Env("VERROLIFT_PG_SID") +
           ";Database=postgres;Uid=" + user + ";";
}

int PgFailedLogins(const std::string& user) {
    std::ifstream log(Env("VERROLIFT_PG_SID") + "/server.log");
    if (!log) ADD_FAILURE() << "cannot read the stand-in's server log";
    const std::string needle = "password authentication failed for user \"" + user + "\"";
    int count = 0;
    for (std::string line; std::getline(log, line);)
        if (line.find(needle) != std::string::npos) ++count;
    return count;
}

PgScratchRole::PgScratchRole() : name_(UniqueName("scratch")) {
    ExecOn(PgSuperuserConnectionString(),
           "CREATE ROLE \"" + name_ + "\" LOGIN PASSWORD '" + password_ + "'");
}

PgScratchRole::~PgScratchRole() {
    try {
        ExecOn(PgSuperuserConnectionString(), "DROP ROLE IF EXISTS \"" + name_ + "\"");
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
}

std::string UniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
#ifdef _WIN32
    const int pid = ::_getpid();
#else
    const int pid = ::getpid();
#endif
    return stem + "_" + std::to_string(pid) + "_" + std::to_string(++counter);
}

void ExecOn(const std::string& connectionString, const std::string& sql) {
    RawConnection(connectionString).Exec(sql);
}

std::vector<std::string> ColumnOn(const std::string& connectionString, const std::string& sql) {
    std::vector<std::string> out;
    for (auto& row : RawConnection(connectionString).Query(sql, "<NULL>")) out.push_back(row.at(0));
    return out;
}

std::vector<std::string> RowsOn(const std::string& connectionString, const std::string& table,
                                const std::string& orderBy) {
    std::string sql = "SELECT * FROM \"" + table + "\"";
    if (!orderBy.empty()) sql += " ORDER BY " + orderBy;
    std::vector<std::string> out;
    for (auto& row : RawConnection(connectionString).Query(sql, "<NULL>")) {
        std::string joined;
        for (std::size_t i = 0; i < row.size(); ++i) joined += (i ? "|" : "") + row[i];
        out.push_back(joined);
    }
    return out;
}

}  // namespace verrolift::test
