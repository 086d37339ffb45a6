#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "db/odbc.h"
#include "db/parameter_rows.h"

namespace verrolift {

// A prepared statement with character parameters, sent for many rows at once:
// column-wise parameter arrays (one execute for every row) where the driver takes
// them, otherwise one execute per row on the same prepared statement. Values go
// as SQL_C_CHAR with their byte lengths; a null value as SQL NULL.
//
// Has a statement handle of its own on the connection, so the connection's other
// statements can run between two batches. Must go before the connection closes.
class OdbcBatchStatement {
public:
    // Prepares sql, whose parameter markers number parameters, for up to maxRows
    // rows per execute. With allowArrays false, rows are always executed one by
    // one. Throws OdbcError.
    OdbcBatchStatement(OdbcConnection& connection, std::string_view sql, std::size_t parameters,
                       std::size_t maxRows, bool allowArrays = true);
    ~OdbcBatchStatement();
    OdbcBatchStatement(const OdbcBatchStatement&) = delete;
    OdbcBatchStatement& operator=(const OdbcBatchStatement&) = delete;

    // True when the driver took a parameter array of maxRows rows.
    bool UsesArrays() const noexcept { return arrays_; }
    std::size_t Parameters() const noexcept { return parameters_; }

    // Sends every row (rows.Columns() must equal Parameters(), at most maxRows rows).
    // Throws OdbcError when the database refuses any of them; rows before the refused
    // one may then have been executed: the caller rolls the transaction back.
    void Execute(const ParameterRows& rows);

private:
    struct Buffers;

    void* stmt_ = nullptr;  // SQLHSTMT
    std::size_t parameters_;
    std::size_t maxRows_;
    bool arrays_ = false;
    std::unique_ptr<Buffers> buffers_;
};

}  // namespace verrolift
