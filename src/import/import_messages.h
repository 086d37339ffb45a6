#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/quoted_record_reader.h"

namespace verrolift {

inline constexpr const char* kNoFilesAdded = "No files added.";
inline constexpr const char* kPleaseSelectTable = "Please select a table.";
inline constexpr const char* kTableNameExists = "Table name already exists.";
inline constexpr const char* kDone = "Done.";
inline constexpr const char* kTablesAlreadyExist = "Table(s) already exist.";

// The prompt for typed column name number (from 1): "Enter name for column #1:".
std::string ColumnPrompt(int number);

// The message of a file that append mode skips because its first data line
// has not as many fields as the table has columns.
std::string ColumnCountMessage(std::string_view path, std::string_view separator,
                               std::size_t fileFields, std::string_view table, int tableColumns);

// The report of a record that could not be read with quoted fields, and is not sent.
std::string MalformedRecordMessage(std::string_view path, const MalformedRecord& record);
// Said once of a file that is not UTF-8 and has no mark: it was read in the legacy code
// page, encoding.
std::string ReadAsLegacyNotice(std::string_view path, std::string_view encoding);

// The report of a record holding bytes that are not valid in the file's encoding.
std::string UndecodableRecordMessage(std::string_view path, std::uint64_t line,
                                     std::string_view encoding);

// Where a record starts, as reports about it name it: " (data.csv, line 1,234)".
std::string RecordPlace(std::string_view path, std::uint64_t line);

// What is said of the files left once the database refused the login's
// credentials: no further login is tried, since each failed one counts towards
// locking the account. One path per line.
std::string FilesNotImportedAfterRefusedLogin(const std::vector<std::string>& paths);

}  // namespace verrolift
