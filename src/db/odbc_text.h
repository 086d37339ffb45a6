#pragma once

// How text crosses the ODBC boundary. The program's text is UTF-8 bytes. On POSIX the
// narrow calls take and give those bytes unchanged, and unixODBC and its drivers read
// them as UTF-8. On Windows the driver manager reads narrow text in the ANSI code page,
// so text goes through the wide (W) calls as UTF-16, converted at this boundary.
// One implementation per platform: odbc_text_posix.cpp, odbc_text_windows.cpp.
//
// Bytes that are not UTF-8 have no UTF-16 form. On Windows a statement holding them goes
// through the narrow call as it did before, read in the ANSI code page (as a file that
// Windows programs wrote in that code page means it); a bound value holding them is
// refused, so that its row goes as a statement of its own.

#include <cstddef>
#include <string>
#include <string_view>

#include "db/odbc_api.h"

namespace verrolift::odbc_text {

// SQLDriverConnect without prompting. Throws OdbcError when the string cannot be handed over.
SQLRETURN DriverConnect(SQLHDBC dbc, std::string_view connectionString);

// SQLExecDirect and SQLPrepare of a statement, taken with its length (not up to a NUL).
// Throw OdbcError when the text cannot be handed over.
SQLRETURN ExecDirect(SQLHSTMT stmt, std::string_view sql);
SQLRETURN Prepare(SQLHSTMT stmt, std::string_view sql);

// One diagnostic record of a handle (SQLGetDiagRec): its SQLSTATE and message.
SQLRETURN DiagnosticRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record,
                           std::string& state, std::string& message);

// A text item of SQLGetInfo (SQL_DBMS_NAME ...), "" when the driver gives none.
std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item);

// Column column of the fetched row as text, NULL as "" (SQLGetData, in pieces).
std::string FetchText(SQLHSTMT stmt, SQLUSMALLINT column);

// The most bytes a value of utf8Bytes bytes takes as bound text.
std::size_t BoundTextBytes(std::size_t utf8Bytes);

// Writes utf8 as bound text to out, which has room for BoundTextBytes(utf8.size()), and
// gives the bytes written. Throws OdbcError when it has no bound form.
std::size_t WriteBoundText(std::string_view utf8, char* out);

// Binds parameter number to column-wise bound text, each value in width bytes (a
// multiple of the text's code unit), its length in bytes at *length.
SQLRETURN BindText(SQLHSTMT stmt, SQLUSMALLINT number, char* values, std::size_t width,
                   SQLLEN* length);

}  // namespace verrolift::odbc_text
