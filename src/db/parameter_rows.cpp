#include "db/parameter_rows.h"

#include <algorithm>
#include <stdexcept>

namespace verrolift {

void ParameterRows::Reset(std::size_t columns) {
    columns_ = columns;
    widths_.assign(columns, 0);
    bytes_.clear();
    cells_.clear();
}

void ParameterRows::Clear() {
    Reset(columns_);
}

void ParameterRows::Add(std::span<const ParameterValue> row) {
    if (row.size() != columns_ || columns_ == 0)
        throw std::invalid_argument("a row of parameters with the wrong number of values");
    for (std::size_t j = 0; j < columns_; ++j) {
        const ParameterValue& value = row[j];
        cells_.push_back({bytes_.size(), value.null ? 0 : value.bytes.size(), value.null});
        if (value.null) continue;
        bytes_.append(value.bytes);
        widths_[j] = std::max(widths_[j], value.bytes.size());
    }
}

ParameterValue ParameterRows::At(std::size_t row, std::size_t column) const {
    const Cell& cell = cells_.at(row * columns_ + column);
    if (cell.null) return {{}, true};
    return {std::string_view(bytes_).substr(cell.offset, cell.length), false};
}

std::size_t ParameterRows::ArrayBytes() const {
    std::size_t rowBytes = 0;
    // An empty column still takes one byte per row in its array.
    for (const std::size_t width : widths_) rowBytes += std::max<std::size_t>(width, 1);
    return rowBytes * Count();
}

std::size_t ParameterRows::ArrayBytesWith(std::span<const ParameterValue> row) const {
    std::size_t rowBytes = 0;
    for (std::size_t j = 0; j < columns_; ++j) {
        std::size_t width = widths_[j];
        if (j < row.size() && !row[j].null) width = std::max(width, row[j].bytes.size());
        rowBytes += std::max<std::size_t>(width, 1);
    }
    return rowBytes * (Count() + 1);
}

}  // namespace verrolift
