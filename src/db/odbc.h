#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "db/odbc_handle.h"

namespace verrolift {

// A failure reported by the driver or the driver manager. The description
// holds every diagnostic record, each as "[SQLSTATE] message".
class OdbcError : public Failure {
public:
    OdbcError(std::string description, std::string sqlState)
        : Failure(std::move(description)), sqlState_(std::move(sqlState)) {}
    // The first record's state ("" when the driver gave none).
    const std::string& SqlState() const noexcept { return sqlState_; }

private:
    std::string sqlState_;
};

// Options a caller may set before Open. Zero means the driver's default.
struct ConnectionSettings {
    unsigned long loginTimeoutSeconds = 0;
    unsigned long queryTimeoutSeconds = 0;
    bool readWrite = true;
    // Off: statements stay in one transaction until the caller's own COMMIT.
    bool autocommit = true;
};

// One ODBC connection with one reusable statement handle. Autocommit by default:
// each statement is committed on its own. Not copyable; release closes.
class OdbcConnection {
public:
    OdbcConnection();
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // SQLDriverConnect without prompting. A string with "Server=" and no "DBQ="
    // is handed over with "DBQ=<same value>;" appended (Oracle's own driver reads DBQ).
    void Open(std::string_view connectionString, const ConnectionSettings& settings = {});

    // Sends one statement with its length, in one round trip: on POSIX its bytes
    // unchanged, on Windows as UTF-16 when they are UTF-8 (odbc_text.h).
    void Execute(std::string_view sql);

    // Runs a query and returns the first column of every row as bytes (NULL gives ""),
    // in the order the database returned them. Text comes as the driver gives it: on
    // Windows its UTF-16 converted to UTF-8.
    std::vector<std::string> QueryFirstColumn(std::string_view sql);

    // The column count of a SELECT, known without transferring its rows.
    int ColumnCount(std::string_view selectSql);

    // Autocommit on: each statement is committed on its own. Off: statements stay in
    // one transaction until Commit or Rollback.
    void SetAutocommit(bool on);
    void Commit();
    void Rollback();

    // Ends the connection and reports a refusal of the driver (an open transaction,
    // a broken link): the connection then stays open, and Close still releases it.
    void Disconnect();

    // Idempotent, never fails: work the caller left uncommitted is rolled back
    // when the driver will not disconnect without it.
    void Close() noexcept;
    bool IsOpen() const noexcept { return open_; }

    // True when the driver says the link to the server is gone
    // (SQL_ATTR_CONNECTION_DEAD); false while it holds, or when the driver cannot tell.
    bool IsDead() const noexcept;

    // The database product the driver names (SQL_DBMS_NAME), "" when it names none.
    std::string DbmsName() const;

    // The connection's SQLHDBC, for statements with handles of their own. Throws
    // OdbcError unless the connection is open for statements (not after a refused
    // Disconnect, when it is left only for closing).
    void* NativeHandle() const;

private:
    void* Statement() const;  // the statement handle of an open connection, or throws

    OdbcHandle dbc_;   // SQLHDBC
    OdbcHandle stmt_;  // SQLHSTMT, reused for every statement; freed before dbc_
    bool open_ = false;
};

// The failure of call on a handle (handleType an SQL_HANDLE_* value) that returned rc,
// with every diagnostic record the handle holds.
OdbcError DiagnosticsOf(int handleType, void* handle, const char* call, int rc);

// The connection string handed to the driver: adds DBQ when only Server is given.
std::string ConnectionStringForDriver(std::string_view connectionString);

}  // namespace verrolift
