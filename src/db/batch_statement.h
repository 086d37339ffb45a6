#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "db/odbc.h"
#include "db/parameter_rows.h"

namespace verrolift {

// A prepared statement with character parameters, sent for many rows at once:
// column-wise parameter arrays (one execute for every set of parameters) where the
// driver takes them, otherwise one execute per set on the same prepared statement.
// Values go as character data with their lengths (odbc_text.h: their bytes on POSIX,
// UTF-16 on Windows); a null value as SQL NULL.
//
// A statement may take several rows per set (INSERT ... VALUES(?,?),(?,?)): then
// rows r*k to r*k+k-1 fill set r, k = rowsPerSet.
//
// Has a statement handle of its own on the connection, so the connection's other
// statements can run between two batches. Must go before the connection closes.
class OdbcBatchStatement {
public:
    // Prepares sql, whose parameter markers number parameters, for up to maxRows
    // rows per execute, rowsPerSet rows to a set (parameters must be a multiple of
    // it). With allowArrays false, sets are always executed one by one. Throws
    // OdbcError.
    OdbcBatchStatement(OdbcConnection& connection, std::string_view sql, std::size_t parameters,
                       std::size_t maxRows, bool allowArrays = true, std::size_t rowsPerSet = 1);
    ~OdbcBatchStatement();
    OdbcBatchStatement(const OdbcBatchStatement&) = delete;
    OdbcBatchStatement& operator=(const OdbcBatchStatement&) = delete;

    // True when the driver took a parameter array for the sets of maxRows rows.
    bool UsesArrays() const noexcept { return arrays_; }
    // The values of one row: the statement's parameters over its rows per set.
    std::size_t Columns() const noexcept { return parameters_ / rowsPerSet_; }
    std::size_t RowsPerSet() const noexcept { return rowsPerSet_; }

    // Sends count rows of rows from first on (rows.Columns() must equal Columns(),
    // count a multiple of RowsPerSet() and at most maxRows). Throws OdbcError when
    // the database refuses any of them; rows before the refused one may then have
    // been executed: the caller rolls the transaction back. On Windows a value that
    // is not UTF-8 is refused before any row is sent.
    void Execute(const ParameterRows& rows, std::size_t first, std::size_t count);
    void Execute(const ParameterRows& rows) { Execute(rows, 0, rows.Count()); }

private:
    struct Buffers;

    // Copies the values of sets sets from row first on into the parameter arrays.
    void Fill(const ParameterRows& rows, std::size_t first, std::size_t sets);
    // Binds parameter p to its value in set s of the arrays.
    void Bind(std::size_t p, std::size_t s);
    void ExecuteSetBySet(std::size_t sets);
    void ExecuteArray(std::size_t sets);

    OdbcHandle stmt_;  // SQLHSTMT
    std::size_t parameters_;
    std::size_t rowsPerSet_;
    std::size_t maxRows_;
    bool arrays_ = false;
    std::unique_ptr<Buffers> buffers_;
};

}  // namespace verrolift
