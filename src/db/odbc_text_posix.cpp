// Text at the ODBC boundary on POSIX: the narrow calls, bytes unchanged.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "db/odbc_calls.h"
#include "db/odbc_text.h"

namespace verrolift::odbc_text {

namespace {

SQLCHAR* Narrow(std::string_view text) {
    // The ODBC API takes non-const text pointers but only reads them.
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data()));
}

SQLINTEGER StatementLength(std::string_view sql) {
    if (sql.size() > static_cast<std::size_t>(INT32_MAX)) throw OdbcError("SQL text too long", "");
    return static_cast<SQLINTEGER>(sql.size());
}

}  // namespace

SQLRETURN DriverConnect(SQLHDBC dbc, std::string_view connectionString) {
    SQLSMALLINT outLength = 0;
    return SQLDriverConnect(dbc, nullptr, Narrow(connectionString),
                            static_cast<SQLSMALLINT>(connectionString.size()), nullptr, 0,
                            &outLength, SQL_DRIVER_NOPROMPT);
}

SQLRETURN ExecDirect(SQLHSTMT stmt, std::string_view sql) {
    return SQLExecDirect(stmt, Narrow(sql), StatementLength(sql));
}

SQLRETURN Prepare(SQLHSTMT stmt, std::string_view sql) {
    return SQLPrepare(stmt, Narrow(sql), StatementLength(sql));
}

SQLRETURN DiagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record,
                           std::string& state, std::string& message) {
    SQLCHAR stateText[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    message.assign(512, '\0');
    SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, stateText, &native,
                                 reinterpret_cast<SQLCHAR*>(message.data()),
                                 static_cast<SQLSMALLINT>(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
        message.assign(static_cast<std::size_t>(length) + 1, '\0');
        rc = SQLGetDiagRec(handleType, handle, record, stateText, &native,
                           reinterpret_cast<SQLCHAR*>(message.data()),
                           static_cast<SQLSMALLINT>(message.size()), &length);
    }
    const std::size_t size =
        length < 0 ? 0 : std::min(static_cast<std::size_t>(length), message.size() - 1);
    message.resize(size);
    state.assign(reinterpret_cast<const char*>(stateText));
    return rc;
}

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(dbc, item, text, sizeof text, &length))) return {};
    return std::string(reinterpret_cast<const char*>(text));
}

std::string FetchText(SQLHSTMT stmt, SQLUSMALLINT column) {
    return FetchPieces(stmt, column, SQL_C_CHAR, 1);
}

std::size_t BoundTextBytes(std::size_t utf8Bytes) {
    return utf8Bytes;
}

std::size_t WriteBoundText(std::string_view utf8, char* out) {
    if (!utf8.empty()) std::memcpy(out, utf8.data(), utf8.size());
    return utf8.size();
}

SQLRETURN BindText(SQLHSTMT stmt, SQLUSMALLINT number, char* values, std::size_t width,
                   SQLLEN* length) {
    return SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR,
                            static_cast<SQLULEN>(width), 0, values, static_cast<SQLLEN>(width),
                            length);
}

}  // namespace verrolift::odbc_text
