#pragma once

// What the ODBC layer's own sources share of the C API; not for other layers, which
// reach the database through OdbcConnection and OdbcBatchStatement only.

#include <cstddef>
#include <string>

#include "db/odbc.h"
#include "db/odbc_api.h"
#include "db/odbc_handle.h"

namespace verrolift {

// Throws the handle's diagnostics when call did not succeed (SQL_NO_DATA included:
// a caller for whom it is an answer tests for it first).
inline void Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* call) {
    if (!SQL_SUCCEEDED(rc)) throw DiagnosticsOf(handleType, handle, call, rc);
}

// A new handle of type under parent, a handle of parentType. Throws the parent's
// diagnostics.
inline OdbcHandle AllocateHandle(SQLSMALLINT type, SQLSMALLINT parentType, SQLHANDLE parent) {
    SQLHANDLE handle = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(type, parent, &handle), parentType, parent, "SQLAllocHandle");
    return OdbcHandle(type, handle);
}

// Leaves the statement ready for the next one, whatever happens in between. Closing
// clears the statement's diagnostics: a failure must be read from it before this goes
// (a thrown failure is, as it is made before the scope unwinds).
class CursorCloser {
public:
    explicit CursorCloser(SQLHSTMT stmt) noexcept : stmt_(stmt) {}
    ~CursorCloser() { SQLFreeStmt(stmt_, SQL_CLOSE); }
    CursorCloser(const CursorCloser&) = delete;
    CursorCloser& operator=(const CursorCloser&) = delete;

private:
    SQLHSTMT stmt_;
};

// Column column of the fetched row as cType data, NULL as "": every piece of a long
// value, each piece's terminator (terminator bytes; none for binary data) left out.
std::string FetchPieces(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType,
                        std::size_t terminator);

}  // namespace verrolift
