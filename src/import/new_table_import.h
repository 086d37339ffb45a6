#pragma once

#include <string>

#include "import/file_import.h"

namespace verrolift {

// Create mode for one file whose name the run has checked: the table is made
// with one CLOB column per name (from the first line, or typed by the user),
// filled with one row per kept line, and its name put at the top of the table list.
//
// A header line that gives no column name ends the file with one report. When
// the user leaves a typed name empty the file is left alone: no table, no rows,
// no list entry, since every row would be refused or land in a table the user
// did not make.
void ImportNewTable(FileImport& file, const std::string& tableName);

}  // namespace verrolift
