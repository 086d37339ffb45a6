#include "db/batch_statement.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "db/odbc_api.h"

namespace verrolift {

struct OdbcBatchStatement::Buffers {
    // Per parameter: its value in every set, each padded to the parameter's width.
    std::vector<std::string> data;
    std::vector<std::vector<SQLLEN>> lengths;
    std::vector<SQLUSMALLINT> status;
    SQLULEN processed = 0;
};

namespace {

void Check(SQLRETURN rc, SQLHSTMT stmt, const char* call) {
    if (!SQL_SUCCEEDED(rc)) throw DiagnosticsOf(SQL_HANDLE_STMT, stmt, call, rc);
}

SQLRETURN SetParamsetSize(SQLHSTMT stmt, std::size_t rows) {
    return SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE,
                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(rows)), 0);
}

// Leaves the statement ready for the next execute, whatever the last one did.
struct CursorCloser {
    SQLHSTMT stmt;
    ~CursorCloser() { SQLFreeStmt(stmt, SQL_CLOSE); }
};

}  // namespace

OdbcBatchStatement::OdbcBatchStatement(OdbcConnection& connection, std::string_view sql,
                                       std::size_t parameters, std::size_t maxRows,
                                       bool allowArrays, std::size_t rowsPerSet)
    : parameters_(parameters),
      rowsPerSet_(std::max<std::size_t>(rowsPerSet, 1)),
      maxRows_(std::max<std::size_t>(maxRows, 1)),
      buffers_(std::make_unique<Buffers>()) {
    if (parameters_ % rowsPerSet_ != 0)
        throw OdbcError("The parameters do not make whole rows", "");
    connection.Statement();  // only on an open connection
    SQLHDBC dbc = static_cast<SQLHDBC>(connection.dbc_);
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    if (!SQL_SUCCEEDED(rc)) throw DiagnosticsOf(SQL_HANDLE_DBC, dbc, "SQLAllocHandle", rc);
    stmt_ = stmt;
    try {
        if (sql.size() > 0x7fffffff) throw OdbcError("SQL text too long", "");
        Check(SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                         static_cast<SQLINTEGER>(sql.size())),
              stmt, "SQLPrepare");
        // A driver without parameter arrays refuses the size or answers with another one.
        const std::size_t maxSets = std::max<std::size_t>(maxRows_ / rowsPerSet_, 1);
        if (allowArrays && maxSets > 1 && SQL_SUCCEEDED(SetParamsetSize(stmt, maxSets))) {
            SQLULEN taken = 0;
            arrays_ =
                SQL_SUCCEEDED(SQLGetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, &taken, 0, nullptr)) &&
                taken == maxSets;
        }
        if (!arrays_) SetParamsetSize(stmt, 1);
    } catch (...) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        throw;
    }
    buffers_->data.resize(parameters_);
    buffers_->lengths.resize(parameters_);
}

OdbcBatchStatement::~OdbcBatchStatement() {
    if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, static_cast<SQLHSTMT>(stmt_));
}

void OdbcBatchStatement::Execute(const ParameterRows& rows, std::size_t first, std::size_t count) {
    const std::size_t columns = Columns();
    if (rows.Columns() != columns)
        throw OdbcError("The rows do not have one value per parameter", "");
    if (count == 0) return;
    if (count > maxRows_ || first > rows.Count() || count > rows.Count() - first)
        throw OdbcError("More rows than the statement was prepared for", "");
    if (count % rowsPerSet_ != 0) throw OdbcError("The rows do not fill whole sets", "");
    const std::size_t sets = count / rowsPerSet_;
    SQLHSTMT stmt = static_cast<SQLHSTMT>(stmt_);
    Buffers& b = *buffers_;

    // Column-wise arrays: parameter p = g * columns + j is value j of row g of each
    // set; its value in set s (row first + s * rowsPerSet + g) at data[p] + s * width(j).
    std::vector<SQLLEN> widths(parameters_);
    for (std::size_t p = 0; p < parameters_; ++p) {
        const std::size_t g = p / columns;
        const std::size_t j = p % columns;
        const std::size_t width = std::max<std::size_t>(rows.Width(j), 1);
        widths[p] = static_cast<SQLLEN>(width);
        std::string& data = b.data[p];
        data.assign(sets * width, '\0');
        std::vector<SQLLEN>& lengths = b.lengths[p];
        lengths.resize(sets);
        for (std::size_t s = 0; s < sets; ++s) {
            const ParameterValue value = rows.At(first + s * rowsPerSet_ + g, j);
            if (value.null) {
                lengths[s] = SQL_NULL_DATA;
                continue;
            }
            if (!value.bytes.empty())
                std::memcpy(data.data() + s * width, value.bytes.data(), value.bytes.size());
            lengths[s] = static_cast<SQLLEN>(value.bytes.size());
        }
    }

    auto bind = [&](std::size_t j, std::size_t row) {
        const SQLLEN width = widths[j];
        Check(SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(j + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                               SQL_LONGVARCHAR, static_cast<SQLULEN>(width), 0,
                               b.data[j].data() + row * static_cast<std::size_t>(width), width,
                               b.lengths[j].data() + row),
              stmt, "SQLBindParameter");
    };

    if (!arrays_) {
        // One execute per set, each set's values bound in turn.
        for (std::size_t r = 0; r < sets; ++r) {
            for (std::size_t j = 0; j < parameters_; ++j) bind(j, r);
            const CursorCloser closer{stmt};
            const SQLRETURN rc = SQLExecute(stmt);
            if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Check(rc, stmt, "SQLExecute");
        }
        return;
    }

    for (std::size_t j = 0; j < parameters_; ++j) bind(j, 0);
    // A driver that does not fill these in leaves them saying every row went in;
    // the return code then speaks for the whole array.
    b.status.assign(sets, SQL_PARAM_SUCCESS);
    b.processed = sets;
    Check(SetParamsetSize(stmt, sets), stmt, "SQLSetStmtAttr");
    Check(SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_STATUS_PTR, b.status.data(), 0), stmt,
          "SQLSetStmtAttr");
    Check(SQLSetStmtAttr(stmt, SQL_ATTR_PARAMS_PROCESSED_PTR, &b.processed, 0), stmt,
          "SQLSetStmtAttr");
    const CursorCloser closer{stmt};
    const SQLRETURN rc = SQLExecute(stmt);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Check(rc, stmt, "SQLExecute");
    // Some drivers report a refused row of an array as a success with information.
    const bool refused = std::any_of(b.status.begin(), b.status.end(), [](SQLUSMALLINT s) {
        return s == SQL_PARAM_ERROR || s == SQL_PARAM_UNUSED;
    });
    if (refused || b.processed < sets) {
        OdbcError error = DiagnosticsOf(SQL_HANDLE_STMT, stmt, "SQLExecute", rc);
        throw error;
    }
}

}  // namespace verrolift
