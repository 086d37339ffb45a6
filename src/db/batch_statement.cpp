#include "db/batch_statement.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "db/odbc_api.h"

namespace verrolift {

struct OdbcBatchStatement::Buffers {
    // Per parameter: the values of every row, each padded to the parameter's width.
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
                                       bool allowArrays)
    : parameters_(parameters),
      maxRows_(std::max<std::size_t>(maxRows, 1)),
      buffers_(std::make_unique<Buffers>()) {
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
        if (allowArrays && maxRows_ > 1 && SQL_SUCCEEDED(SetParamsetSize(stmt, maxRows_))) {
            SQLULEN taken = 0;
            arrays_ =
                SQL_SUCCEEDED(SQLGetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, &taken, 0, nullptr)) &&
                taken == maxRows_;
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

void OdbcBatchStatement::Execute(const ParameterRows& rows) {
    if (rows.Columns() != parameters_)
        throw OdbcError("The rows do not have one value per parameter", "");
    const std::size_t count = rows.Count();
    if (count == 0) return;
    if (count > maxRows_) throw OdbcError("More rows than the statement was prepared for", "");
    SQLHSTMT stmt = static_cast<SQLHSTMT>(stmt_);
    Buffers& b = *buffers_;

    // Column-wise arrays: value r of parameter j at data[j] + r * width(j).
    std::vector<SQLLEN> widths(parameters_);
    for (std::size_t j = 0; j < parameters_; ++j) {
        const std::size_t width = std::max<std::size_t>(rows.Width(j), 1);
        widths[j] = static_cast<SQLLEN>(width);
        std::string& data = b.data[j];
        data.assign(count * width, '\0');
        std::vector<SQLLEN>& lengths = b.lengths[j];
        lengths.resize(count);
        for (std::size_t r = 0; r < count; ++r) {
            const ParameterValue value = rows.At(r, j);
            if (value.null) {
                lengths[r] = SQL_NULL_DATA;
                continue;
            }
            if (!value.bytes.empty())
                std::memcpy(data.data() + r * width, value.bytes.data(), value.bytes.size());
            lengths[r] = static_cast<SQLLEN>(value.bytes.size());
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
        // One execute per row, each row's values bound in turn.
        for (std::size_t r = 0; r < count; ++r) {
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
    b.status.assign(count, SQL_PARAM_SUCCESS);
    b.processed = count;
    Check(SetParamsetSize(stmt, count), stmt, "SQLSetStmtAttr");
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
    if (refused || b.processed < count) {
        OdbcError error = DiagnosticsOf(SQL_HANDLE_STMT, stmt, "SQLExecute", rc);
        throw error;
    }
}

}  // namespace verrolift
