#include "db/odbc_calls.h"

namespace verrolift {

std::string FetchPieces(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType,
                        std::size_t terminator) {
    // Long values come in pieces: SQL_SUCCESS_WITH_INFO means more follows. The indicator
    // gives each piece's length, so embedded NUL bytes are kept. Aligned for wide text.
    std::string value;
    alignas(8) char buffer[8192];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, cType, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) break;
        Check(rc, SQL_HANDLE_STMT, stmt, "SQLGetData");
        if (indicator == SQL_NULL_DATA) break;
        const std::size_t room = sizeof buffer - terminator;
        std::size_t got = room;
        if (indicator != SQL_NO_TOTAL && indicator >= 0 &&
            static_cast<std::size_t>(indicator) < room)
            got = static_cast<std::size_t>(indicator);
        value.append(buffer, got);
        if (rc == SQL_SUCCESS) break;
    }
    return value;
}

}  // namespace verrolift
