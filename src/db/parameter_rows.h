#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace verrolift {

// One value for a statement parameter: bytes, or SQL NULL. An empty value that
// is not null is the empty string, which a database may keep apart from NULL.
struct ParameterValue {
    std::string_view bytes;
    bool null = false;
};

// Rows of parameter values, copied in and kept until they are sent (and, should the
// database refuse them, sent again one by one). Every row has the same number of values.
class ParameterRows {
public:
    explicit ParameterRows(std::size_t columns = 0) : columns_(columns), widths_(columns, 0) {}

    // Empty, with a new number of values per row.
    void Reset(std::size_t columns);
    void Clear();

    std::size_t Columns() const noexcept { return columns_; }
    std::size_t Count() const noexcept { return columns_ == 0 ? 0 : cells_.size() / columns_; }
    bool Empty() const noexcept { return cells_.empty(); }

    // row.size() must equal Columns(); the bytes are copied.
    void Add(std::span<const ParameterValue> row);

    // Valid until the next Add, Reset or Clear.
    ParameterValue At(std::size_t row, std::size_t column) const;

    // The longest value of a column, in bytes.
    std::size_t Width(std::size_t column) const { return widths_.at(column); }

    // What column-wise arrays of every row take (each value padded to its column's
    // longest), counting one more row when given: the caller's bound on memory.
    std::size_t ArrayBytes() const;
    std::size_t ArrayBytesWith(std::span<const ParameterValue> row) const;

private:
    struct Cell {
        std::size_t offset;
        std::size_t length;
        bool null;
    };

    std::size_t columns_;
    std::string bytes_;
    std::vector<Cell> cells_;
    std::vector<std::size_t> widths_;
};

}  // namespace verrolift
