#pragma once

// Shortcuts into the import engine for tests and benchmarks: each does in one call
// what the engine does in steps, on owned text rather than views.
#include <string>
#include <string_view>
#include <vector>

#include "import/line_fields.h"
#include "import/sql_text.h"
#include "import/working_copy.h"

namespace verrolift {

// The fields of a line as SplitFieldsInto cuts them, as owned strings.
inline std::vector<std::string> SplitFields(std::string_view line, std::string_view separator) {
    std::vector<std::string_view> views;
    SplitFieldsInto(line, separator, views);
    return {views.begin(), views.end()};
}

// The row statement of fields, with no yield.
inline std::string BuildRowStatement(std::string_view table, const std::vector<std::string>& fields,
                                     const std::vector<bool>& emptyLeftOutAt = {}) {
    const std::vector<std::string_view> views(fields.begin(), fields.end());
    NoEventPump pump;
    std::string statement;
    AppendRowStatement(statement, table, views, pump, emptyLeftOutAt);
    return statement;
}

// MakeWorkingCopy and PrepareLines, as a run does for each file before any
// statement; a missing copy is reported as the failure to open it.
inline PreparedLines PrepareFile(WorkingCopy& copy, const std::string& path,
                                 const ImportOptionsSource& options, EventPump& pump,
                                 const MalformedRecordReport& report = {}) {
    MakeWorkingCopy(path, copy);
    return PrepareLines(copy, options, pump, report);
}

// The same with a working copy claimed for the call.
inline PreparedLines PrepareFile(const std::string& path, const ImportOptionsSource& options,
                                 EventPump& pump, const MalformedRecordReport& report = {}) {
    WorkingCopy copy = WorkingCopy::Claim();
    return PrepareFile(copy, path, options, pump, report);
}

}  // namespace verrolift
