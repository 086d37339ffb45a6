// Text at the ODBC boundary on Windows: the wide calls, UTF-8 converted to UTF-16 and
// back with the UTF-8 code page.

// The names without a suffix stay the narrow calls whether or not UNICODE is defined.
#define SQL_NOUNICODEMAP

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <optional>

#include "base/wide_text.h"
#include "db/odbc_calls.h"
#include "db/odbc_text.h"

namespace verrolift::odbc_text {

namespace {

// The UTF-16 form of utf8; none when the bytes are not UTF-8 (nothing is replaced).
std::optional<std::wstring> Utf16(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) throw OdbcError("SQL text too long", "");
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

SQLWCHAR* Wide(const std::wstring& text) {
    // The ODBC API takes non-const text pointers but only reads them.
    return reinterpret_cast<SQLWCHAR*>(const_cast<wchar_t*>(text.data()));
}

SQLCHAR* Narrow(std::string_view text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data()));
}

// A statement in UTF-16 through call, or its bytes through narrowCall when they are not
// UTF-8 (no UTF-16 form keeps them; the narrow call reads them as the ANSI code page).
template <typename WideCall, typename NarrowCall>
SQLRETURN SendStatement(std::string_view sql, WideCall call, NarrowCall narrowCall) {
    const std::optional<std::wstring> wide = Utf16(sql);
    if (wide) return call(Wide(*wide), static_cast<SQLINTEGER>(wide->size()));
    return narrowCall(Narrow(sql), static_cast<SQLINTEGER>(sql.size()));
}

std::string Utf8(const SQLWCHAR* text, std::size_t units) {
    return Utf8FromWide(std::wstring_view(reinterpret_cast<const wchar_t*>(text), units));
}

}  // namespace

SQLRETURN DriverConnect(SQLHDBC dbc, std::string_view connectionString) {
    const std::optional<std::wstring> wide = Utf16(connectionString);
    if (!wide) throw OdbcError("The connection string is not UTF-8 text", "");
    SQLSMALLINT outLength = 0;
    return SQLDriverConnectW(dbc, nullptr, Wide(*wide), static_cast<SQLSMALLINT>(wide->size()),
                             nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
}

SQLRETURN ExecDirect(SQLHSTMT stmt, std::string_view sql) {
    return SendStatement(
        sql, [&](SQLWCHAR* text, SQLINTEGER length) { return SQLExecDirectW(stmt, text, length); },
        [&](SQLCHAR* text, SQLINTEGER length) { return SQLExecDirect(stmt, text, length); });
}

SQLRETURN Prepare(SQLHSTMT stmt, std::string_view sql) {
    return SendStatement(
        sql, [&](SQLWCHAR* text, SQLINTEGER length) { return SQLPrepareW(stmt, text, length); },
        [&](SQLCHAR* text, SQLINTEGER length) { return SQLPrepare(stmt, text, length); });
}

SQLRETURN DiagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record,
                           std::string& state, std::string& message) {
    SQLWCHAR stateText[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;  // in characters
    std::wstring text(512, L'\0');
    SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, stateText, &native,
                                  reinterpret_cast<SQLWCHAR*>(text.data()),
                                  static_cast<SQLSMALLINT>(text.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.assign(static_cast<std::size_t>(length) + 1, L'\0');
        rc = SQLGetDiagRecW(handleType, handle, record, stateText, &native,
                            reinterpret_cast<SQLWCHAR*>(text.data()),
                            static_cast<SQLSMALLINT>(text.size()), &length);
    }
    const std::size_t size =
        length < 0 ? 0 : std::min(static_cast<std::size_t>(length), text.size() - 1);
    message = Utf8(reinterpret_cast<const SQLWCHAR*>(text.data()), size);
    std::size_t stateLength = 0;
    while (stateLength < SQL_SQLSTATE_SIZE && stateText[stateLength] != 0) ++stateLength;
    state = Utf8(stateText, stateLength);
    return rc;
}

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;  // in bytes
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, item, text, sizeof text, &length))) return {};
    std::size_t units = 0;
    while (units < std::size(text) && text[units] != 0) ++units;
    return Utf8(text, units);
}

std::string FetchText(SQLHSTMT stmt, SQLUSMALLINT column) {
    const std::string bytes = FetchPieces(stmt, column, SQL_C_WCHAR, sizeof(SQLWCHAR));
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
    return Utf8FromWide(wide);
}

std::size_t BoundTextBytes(std::size_t utf8Bytes) {
    // Every UTF-8 byte gives at most one UTF-16 code unit.
    return utf8Bytes * sizeof(SQLWCHAR);
}

std::size_t WriteBoundText(std::string_view utf8, char* out) {
    const std::optional<std::wstring> wide = Utf16(utf8);
    if (!wide) throw OdbcError("A value is not UTF-8 text and has no Unicode form to bind", "");
    const std::size_t bytes = wide->size() * sizeof(wchar_t);
    if (bytes != 0) std::memcpy(out, wide->data(), bytes);
    return bytes;
}

SQLRETURN BindText(SQLHSTMT stmt, SQLUSMALLINT number, char* values, std::size_t width,
                   SQLLEN* length) {
    // The column size counts characters, the buffer and the lengths bytes.
    return SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WLONGVARCHAR,
                            static_cast<SQLULEN>(width / sizeof(SQLWCHAR)), 0, values,
                            static_cast<SQLLEN>(width), length);
}

}  // namespace verrolift::odbc_text
