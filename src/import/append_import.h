#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "import/file_import.h"

namespace verrolift {

// True when the table has as many columns as the file's first data line has fields.
bool CheckColumnCount(int tableColumns, std::size_t fileFields);

// Append mode for one file: the selected table's column count is compared with
// the field count of the first data line; a mismatch shows ColumnCountMessage (import_messages.h)
// and skips the file, otherwise every kept line is sent as one row. When the
// column count cannot be had (reported), the rows are sent unchecked.
void ImportIntoTable(FileImport& file);

}  // namespace verrolift
