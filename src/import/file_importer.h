#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/protected_handler.h"
#include "db/odbc.h"
#include "import/import_context.h"
#include "import/import_outcome.h"
#include "import/import_steps.h"
#include "import/row_sink.h"
#include "import/working_copy.h"

namespace verrolift {

// Imports one file of the list: opens the file's connection, prepares its working
// copy, then makes a new table and fills it, or fills the chosen table, and closes
// the connection. Its steps report under the import command's tag and go on after a
// failure, as the run's own do. One importer per file; the working copy it fills is
// the run's (or the job's), claimed at the first file that needs it.
class FileImporter {
public:
    FileImporter(ImportContext& context, std::optional<WorkingCopy>& workingCopy);
    FileImporter(const FileImporter&) = delete;
    FileImporter& operator=(const FileImporter&) = delete;

    // The file at position (from 1: the counter's value) whose list entry is entry.
    FileOutcome Import(std::int32_t position, const std::string& entry);

    // The database refused the login's credentials: no further login may be tried.
    bool LoginRefused() const { return loginRefused_; }

private:
    bool Connect();
    void ImportOpenFile();
    bool Prepare();
    void RequireKeptLines() const;
    void CreateMode();

    // New table (new_table_import.cpp).
    void ImportNewTable(const std::string& tableName);
    void HeaderMode(const std::string& tableName);
    void TypedNamesMode(const std::string& tableName);
    void CreateAndFill(const std::string& tableName, const std::vector<std::string>& columns,
                       const std::vector<bool>& emptyLeftOutAt,
                       const import_steps::NewTableSteps& steps);

    // Existing table (append_import.cpp).
    void ImportIntoTable();
    std::optional<std::size_t> FirstDataRecordFields();

    // The second pass (send_rows.cpp): every record of the working copy as one row
    // into the table that tableName names at that moment.
    void SendRows(const import_steps::RowSteps& steps,
                  const std::function<std::string()>& tableName,
                  const std::vector<bool>& emptyLeftOutAt, std::optional<std::size_t> columns);

    void KeepNotStored(const std::vector<RecordLines>& notStored);

    // The first line's fields: cut at the separator of the moment, or, with quoted
    // fields, the first record as the first pass read it. Views into prepared_.
    std::vector<std::string_view> FirstLineFields() const;

    ImportContext& context_;
    const ImportOptionsSource& options_;
    ProtectedHandler handler_;
    std::optional<WorkingCopy>& workingCopy_;
    std::optional<OdbcConnection> connection_;
    std::optional<PreparedLines> prepared_;
    std::int32_t position_ = 0;
    std::string path_;
    FileOutcome outcome_;
    std::vector<RecordLines> lostInFirstPass_;  // malformed records the first pass met
    bool loginRefused_ = false;
};

}  // namespace verrolift
