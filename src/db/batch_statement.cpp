#include "db/batch_statement.h"

#include <algorithm>
#include <string>
#include <vector>

#include "db/odbc_calls.h"
#include "db/odbc_text.h"

namespace verrolift {

struct OdbcBatchStatement::Buffers {
    // Per parameter: its value in every set, each padded to the parameter's width.
    std::vector<std::string> data;
    std::vector<SQLLEN> widths;
    std::vector<std::vector<SQLLEN>> lengths;
    std::vector<SQLUSMALLINT> status;
    SQLULEN processed = 0;
};

namespace {

SQLRETURN SetParamsetSize(SQLHSTMT stmt, std::size_t rows) {
    return SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE,
                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(rows)), 0);
}

// Executes the bound statement; a statement that touched no rows is no failure.
SQLRETURN ExecutePrepared(SQLHSTMT stmt) {
    const SQLRETURN rc = SQLExecute(stmt);
    if (rc != SQL_NO_DATA) Check(rc, SQL_HANDLE_STMT, stmt, "SQLExecute");
    return rc;
}

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
    stmt_ = AllocateHandle(SQL_HANDLE_STMT, SQL_HANDLE_DBC, connection.NativeHandle());
    SQLHSTMT stmt = stmt_.Get();
    Check(odbc_text::Prepare(stmt, sql), SQL_HANDLE_STMT, stmt, "SQLPrepare");
    // A driver without parameter arrays refuses the size or answers with another one.
    const std::size_t maxSets = std::max<std::size_t>(maxRows_ / rowsPerSet_, 1);
    if (allowArrays && maxSets > 1 && SQL_SUCCEEDED(SetParamsetSize(stmt, maxSets))) {
        SQLULEN taken = 0;
        arrays_ = SQL_SUCCEEDED(SQLGetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, &taken, 0, nullptr)) &&
                  taken == maxSets;
    }
    if (!arrays_) SetParamsetSize(stmt, 1);
    buffers_->data.resize(parameters_);
    buffers_->widths.resize(parameters_);
    buffers_->lengths.resize(parameters_);
}

OdbcBatchStatement::~OdbcBatchStatement() = default;

void OdbcBatchStatement::Execute(const ParameterRows& rows, std::size_t first, std::size_t count) {
    if (rows.Columns() != Columns())
        throw OdbcError("The rows do not have one value per parameter", "");
    if (count == 0) return;
    if (count > maxRows_ || first > rows.Count() || count > rows.Count() - first)
        throw OdbcError("More rows than the statement was prepared for", "");
    if (count % rowsPerSet_ != 0) throw OdbcError("The rows do not fill whole sets", "");
    const std::size_t sets = count / rowsPerSet_;
    Fill(rows, first, sets);
    if (arrays_)
        ExecuteArray(sets);
    else
        ExecuteSetBySet(sets);
}

void OdbcBatchStatement::Fill(const ParameterRows& rows, std::size_t first, std::size_t sets) {
    // Column-wise arrays: parameter p = g * columns + j is value j of row g of each
    // set; its value in set s (row first + s * rowsPerSet + g) at data[p] + s * width(j).
    const std::size_t columns = Columns();
    Buffers& b = *buffers_;
    for (std::size_t p = 0; p < parameters_; ++p) {
        const std::size_t g = p / columns;
        const std::size_t j = p % columns;
        const std::size_t width =
            odbc_text::BoundTextBytes(std::max<std::size_t>(rows.Width(j), 1));
        b.widths[p] = static_cast<SQLLEN>(width);
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
            lengths[s] = static_cast<SQLLEN>(
                odbc_text::WriteBoundText(value.bytes, data.data() + s * width));
        }
    }
}

void OdbcBatchStatement::Bind(std::size_t p, std::size_t s) {
    Buffers& b = *buffers_;
    const SQLLEN width = b.widths[p];
    SQLHSTMT stmt = stmt_.Get();
    Check(odbc_text::BindText(stmt, static_cast<SQLUSMALLINT>(p + 1),
                              b.data[p].data() + s * static_cast<std::size_t>(width),
                              static_cast<std::size_t>(width), b.lengths[p].data() + s),
          SQL_HANDLE_STMT, stmt, "SQLBindParameter");
}

void OdbcBatchStatement::ExecuteSetBySet(std::size_t sets) {
    // One execute per set, each set's values bound in turn.
    for (std::size_t s = 0; s < sets; ++s) {
        for (std::size_t p = 0; p < parameters_; ++p) Bind(p, s);
        const CursorCloser closer(stmt_.Get());
        ExecutePrepared(stmt_.Get());
    }
}

void OdbcBatchStatement::ExecuteArray(std::size_t sets) {
    Buffers& b = *buffers_;
    SQLHSTMT stmt = stmt_.Get();
    for (std::size_t p = 0; p < parameters_; ++p) Bind(p, 0);
    // A driver that does not fill these in leaves them saying every row went in;
    // the return code then speaks for the whole array.
    b.status.assign(sets, SQL_PARAM_SUCCESS);
    b.processed = sets;
    Check(SetParamsetSize(stmt, sets), SQL_HANDLE_STMT, stmt, "SQLSetStmtAttr");
    Check(SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_STATUS_PTR, b.status.data(), 0), SQL_HANDLE_STMT,
          stmt, "SQLSetStmtAttr");
    Check(SQLSetStmtAttr(stmt, SQL_ATTR_PARAMS_PROCESSED_PTR, &b.processed, 0), SQL_HANDLE_STMT,
          stmt, "SQLSetStmtAttr");
    const CursorCloser closer(stmt);
    const SQLRETURN rc = ExecutePrepared(stmt);
    // Some drivers report a refused row of an array as a success with information.
    const bool refused = std::any_of(b.status.begin(), b.status.end(), [](SQLUSMALLINT s) {
        return s == SQL_PARAM_ERROR || s == SQL_PARAM_UNUSED;
    });
    if (refused || b.processed < sets) throw DiagnosticsOf(SQL_HANDLE_STMT, stmt, "SQLExecute", rc);
}

}  // namespace verrolift
