#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/protected_handler.h"
#include "db/odbc.h"
#include "import/import_run.h"
#include "import/import_steps.h"
#include "import/working_copy.h"

namespace verrolift {

// One file of a run, as the importers of both modes see it.
struct FileImport {
    ImportContext& context;
    ProtectedHandler& handler;
    OdbcConnection& connection;
    const WorkingCopy& workingCopy;
    std::int32_t position;  // in the file list, from 1: the counter's value
    std::string path;       // the text of the list entry
    PreparedLines prepared;
};

// Sends one statement on the run's connection; nothing of its result is used.
void ExecuteStatement(OdbcConnection& connection, std::string_view sql);

// Sends one row statement at steps.send, a refusal reported there, and counts the
// row as sent. False when the file must end here.
bool SendRowStatement(FileImport& file, const import_steps::RowSteps& steps,
                      const std::string& statement);

// The second pass: every line of the working copy, split with the separator of
// the moment, is sent as one row into the table that tableName gives at that
// moment. A refused row is reported and the next line follows. The pass ends
// at a failed read rather than reporting the same failure for ever, and after
// the report of a row that failed because of its target (IsTargetFailure: the
// connection or the table is gone).
//
// emptyLeftOutAt marks the positions whose header field was empty, which have
// no column: an empty value there is left out of the row, while a value there
// keeps the whole row as it is, for the database to refuse. Other positions
// keep their place, an empty value as NULL. With batches (context.sending),
// columns is the table's column count when it is known.
void SendRows(FileImport& file, const import_steps::RowSteps& steps,
              const std::function<std::string()>& tableName,
              const std::vector<bool>& emptyLeftOutAt = {},
              std::optional<std::size_t> columns = std::nullopt);

}  // namespace verrolift
