#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/import_options.h"

namespace verrolift {

// The fields of a line, as views into it: cut at every occurrence of the whole
// separator, left to right, case-sensitive; nothing trimmed. An empty line gives no
// field; an empty separator gives the whole line as one field. The list is reused,
// so a line costs no allocation.
void SplitFieldsInto(std::string_view line, std::string_view separator,
                     std::vector<std::string_view>& fields);

// True when the options drop the file's first line from the data: always,
// except in append mode without header skipping and in create mode with
// column names from the header line unless SkipHeaderOnCreate holds.
bool SkipsFirstLine(const ImportOptionsSource& options);

}  // namespace verrolift
