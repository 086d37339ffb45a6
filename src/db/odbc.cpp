#include "db/odbc.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

#include "base/ignoring_case.h"
#include "db/odbc_calls.h"
#include "db/odbc_text.h"

namespace verrolift {

namespace {

// Every diagnostic record of a handle, each "[SQLSTATE] message", one per line.
// Never empty: a call that failed without records says which call it was.
OdbcError Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const char* call, SQLRETURN rc) {
    std::string description;
    std::string firstState;
    if (handle != SQL_NULL_HANDLE) {
        for (SQLSMALLINT record = 1;; ++record) {
            std::string sqlState;
            std::string message;
            const SQLRETURN got =
                odbc_text::DiagnosticRecord(handleType, handle, record, sqlState, message);
            if (!SQL_SUCCEEDED(got)) break;
            if (record == 1) firstState = sqlState;
            if (!description.empty()) description += '\n';
            description += "[" + sqlState + "] " + message;
        }
    }
    if (description.empty())
        description = std::string(call) + " failed with return code " + std::to_string(rc) +
                      " and no diagnostic record";
    return OdbcError(std::move(description), std::move(firstState));
}

// The one ODBC environment of the process, created on first use and kept for the
// process's life (freeing it at exit would race the driver manager's own clean-up).
SQLHENV SharedEnvironment() {
    static const SQLHENV env = [] {
        SQLHENV handle = SQL_NULL_HENV;
        const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle);
        if (!SQL_SUCCEEDED(rc) || handle == SQL_NULL_HENV)
            throw OdbcError("Cannot create the ODBC environment (SQLAllocHandle returned " +
                                std::to_string(rc) + ")",
                            "");
        OdbcHandle owner(SQL_HANDLE_ENV, handle);
        Check(SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, handle, "SQLSetEnvAttr");
        return static_cast<SQLHENV>(owner.Release());
    }();
    return env;
}

// One attribute of a connection string: the key and its raw value as written
// (braces included), found by the ODBC rules: "key=value" pairs cut at ";",
// a value in braces runs to its closing "}" with "}}" standing for one "}".
struct Attribute {
    std::string_view key;
    std::string_view value;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::vector<Attribute> ParseAttributes(std::string_view s) {
    std::vector<Attribute> attributes;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t eq = s.find('=', pos);
        const std::size_t semi = s.find(';', pos);
        if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
            // A piece without "=": not an attribute, skip it.
            if (semi == std::string_view::npos) break;
            pos = semi + 1;
            continue;
        }
        const std::string_view key = Trim(s.substr(pos, eq - pos));
        std::size_t valueStart = eq + 1;
        while (valueStart < s.size() && s[valueStart] == ' ') ++valueStart;
        std::size_t end = valueStart;
        if (end < s.size() && s[end] == '{') {
            ++end;
            while (end < s.size()) {
                if (s[end] == '}') {
                    if (end + 1 < s.size() && s[end + 1] == '}') {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
        }
        const std::size_t next = s.find(';', end);
        const std::size_t valueEnd = next == std::string_view::npos ? s.size() : next;
        attributes.push_back({key, s.substr(eq + 1, valueEnd - (eq + 1))});
        if (next == std::string_view::npos) break;
        pos = next + 1;
    }
    return attributes;
}

}  // namespace

OdbcError DiagnosticsOf(int handleType, void* handle, const char* call, int rc) {
    return Diagnostics(static_cast<SQLSMALLINT>(handleType), handle, call,
                       static_cast<SQLRETURN>(rc));
}

std::string ConnectionStringForDriver(std::string_view connectionString) {
    std::optional<std::string_view> server;
    for (const Attribute& a : ParseAttributes(connectionString)) {
        if (EqualIgnoringCase(a.key, "DBQ")) return std::string(connectionString);
        if (!server && EqualIgnoringCase(a.key, "Server")) server = a.value;
    }
    std::string out(connectionString);
    if (!server) return out;
    if (!out.empty() && out.back() != ';') out += ';';
    out += "DBQ=";
    out += *server;
    out += ';';
    return out;
}

OdbcConnection::OdbcConnection()
    : dbc_(AllocateHandle(SQL_HANDLE_DBC, SQL_HANDLE_ENV, SharedEnvironment())) {}

OdbcConnection::~OdbcConnection() {
    // Disconnected first: a connected handle cannot be freed.
    Close();
}

void OdbcConnection::Open(std::string_view connectionString, const ConnectionSettings& settings) {
    Close();
    SQLHDBC dbc = dbc_.Get();
    if (settings.loginTimeoutSeconds != 0)
        Check(SQLSetConnectAttr(
                  dbc, SQL_ATTR_LOGIN_TIMEOUT,
                  reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(settings.loginTimeoutSeconds)),
                  0),
              SQL_HANDLE_DBC, dbc, "SQLSetConnectAttr");

    const std::string text = ConnectionStringForDriver(connectionString);
    if (text.size() > 32767) throw OdbcError("Connection string too long", "");
    Check(odbc_text::DriverConnect(dbc, text), SQL_HANDLE_DBC, dbc, "SQLDriverConnect");
    open_ = true;

    try {
        // Each statement is committed on its own, with no BEGIN/COMMIT round trips around it.
        Check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(
                                    settings.autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF),
                                0),
              SQL_HANDLE_DBC, dbc, "SQLSetConnectAttr");
        const SQLRETURN mode =
            SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE,
                              reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(
                                  settings.readWrite ? SQL_MODE_READ_WRITE : SQL_MODE_READ_ONLY)),
                              0);
        // Read-write is every driver's default; only a refused read-only request matters.
        if (!settings.readWrite) Check(mode, SQL_HANDLE_DBC, dbc, "SQLSetConnectAttr");

        stmt_ = AllocateHandle(SQL_HANDLE_STMT, SQL_HANDLE_DBC, dbc);
        SQLHSTMT stmt = stmt_.Get();
        if (settings.queryTimeoutSeconds != 0)
            Check(SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT,
                                 reinterpret_cast<SQLPOINTER>(
                                     static_cast<SQLULEN>(settings.queryTimeoutSeconds)),
                                 0),
                  SQL_HANDLE_STMT, stmt, "SQLSetStmtAttr");
    } catch (...) {
        Close();
        throw;
    }
}

void OdbcConnection::Execute(std::string_view sql) {
    SQLHSTMT stmt = static_cast<SQLHSTMT>(Statement());
    // A statement that returned rows leaves a cursor open; the next one needs it closed.
    const CursorCloser closer(stmt);
    const SQLRETURN rc = odbc_text::ExecDirect(stmt, sql);
    if (rc != SQL_NO_DATA) Check(rc, SQL_HANDLE_STMT, stmt, "SQLExecDirect");
}

std::vector<std::string> OdbcConnection::QueryFirstColumn(std::string_view sql) {
    SQLHSTMT stmt = static_cast<SQLHSTMT>(Statement());
    const CursorCloser closer(stmt);

    SQLRETURN rc = odbc_text::ExecDirect(stmt, sql);
    if (rc == SQL_NO_DATA) return {};
    Check(rc, SQL_HANDLE_STMT, stmt, "SQLExecDirect");
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt, "SQLNumResultCols");
    if (columns < 1) throw OdbcError("The statement returned no columns", "");

    // Text as the driver gives it; binary columns as their raw bytes. (Asking for binary
    // everywhere would hand over a number's internal representation.)
    SQLSMALLINT type = SQL_UNKNOWN_TYPE;
    Check(SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr),
          SQL_HANDLE_STMT, stmt, "SQLDescribeCol");
    const bool binary = type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;

    std::vector<std::string> rows;
    for (;;) {
        rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA) break;
        Check(rc, SQL_HANDLE_STMT, stmt, "SQLFetch");
        rows.push_back(binary ? FetchPieces(stmt, 1, SQL_C_BINARY, 0)
                              : odbc_text::FetchText(stmt, 1));
    }
    return rows;
}

int OdbcConnection::ColumnCount(std::string_view selectSql) {
    SQLHSTMT stmt = static_cast<SQLHSTMT>(Statement());
    const CursorCloser closer(stmt);
    // Prepared, never executed: the driver describes the result without sending rows.
    // Depending on the driver, a missing table is reported by either call.
    Check(odbc_text::Prepare(stmt, selectSql), SQL_HANDLE_STMT, stmt, "SQLPrepare");
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt, "SQLNumResultCols");
    return columns;
}

void OdbcConnection::SetAutocommit(bool on) {
    SQLHDBC dbc = NativeHandle();
    Check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                            reinterpret_cast<SQLPOINTER>(
                                static_cast<SQLULEN>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                            0),
          SQL_HANDLE_DBC, dbc, "SQLSetConnectAttr");
}

void OdbcConnection::Commit() {
    SQLHDBC dbc = NativeHandle();
    Check(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT), SQL_HANDLE_DBC, dbc, "SQLEndTran");
}

void OdbcConnection::Rollback() {
    SQLHDBC dbc = NativeHandle();
    Check(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK), SQL_HANDLE_DBC, dbc, "SQLEndTran");
}

void* OdbcConnection::Statement() const {
    // Without a statement after a refused disconnect: open, but only for closing.
    if (!open_ || !stmt_) throw OdbcError("The connection is not open", "");
    return stmt_.Get();
}

void* OdbcConnection::NativeHandle() const {
    Statement();  // the same test of an open connection
    return dbc_.Get();
}

void OdbcConnection::Disconnect() {
    if (!open_) return;
    stmt_.Free();
    SQLHDBC dbc = dbc_.Get();
    const SQLRETURN rc = SQLDisconnect(dbc);
    // With info (01002) the link is gone all the same.
    if (SQL_SUCCEEDED(rc)) {
        open_ = false;
        return;
    }
    throw Diagnostics(SQL_HANDLE_DBC, dbc, "SQLDisconnect", rc);
}

bool OdbcConnection::IsDead() const noexcept {
    if (!open_) return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc = SQLGetConnectAttr(dbc_.Get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    return SQL_SUCCEEDED(rc) && dead == SQL_CD_TRUE;
}

std::string OdbcConnection::DbmsName() const {
    if (!open_) return {};
    return odbc_text::InfoText(dbc_.Get(), SQL_DBMS_NAME);
}

void OdbcConnection::Close() noexcept {
    stmt_.Free();
    if (open_) {
        SQLHDBC dbc = dbc_.Get();
        // A handle still connected cannot be freed: an open transaction would leak it.
        if (!SQL_SUCCEEDED(SQLDisconnect(dbc))) {
            SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
            SQLDisconnect(dbc);
        }
        open_ = false;
    }
}

}  // namespace verrolift
