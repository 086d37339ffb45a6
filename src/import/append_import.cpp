// Append mode of the file importer: the chosen table's column count is compared
// with the field count of the file's first data record; a mismatch is told and
// skips the file, otherwise every record goes to the table as one row.
#include "db/failure_kinds.h"
#include "import/file_importer.h"
#include "import/import_messages.h"
#include "import/record_source.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

void FileImporter::ImportIntoTable() {
    std::string table;
    handler_.Run(steps::kTargetTable, [&] { table = options_.TargetTable().value_or(""); });
    outcome_.table = table;
    std::optional<int> tableColumns;
    std::optional<OdbcError> failure;
    handler_.Run(
        steps::kOpenRecordSet,
        [&] { tableColumns = connection_->ColumnCount(BuildColumnCountQuery(table)); }, failure);
    // No table, or no connection: each row would only fail the same way.
    if (failure && IsTargetFailure(*failure, *connection_)) return;

    std::optional<std::size_t> fileFields;
    std::string separator;
    handler_.Run(steps::kFirstDataLine, [&] {
        separator = options_.Separator();
        fileFields = FirstDataRecordFields();
    });

    // A count that could not be had is already reported; the check then lets the rows go.
    if (tableColumns && fileFields && !handler_.Test(steps::kColumnCheck, [&] {
            return *tableColumns >= 0 && static_cast<std::size_t>(*tableColumns) == *fileFields;
        })) {
        outcome_.skip = FileSkip::ColumnCountMismatch;
        handler_.Run(steps::kColumnCountMessage, [&] {
            context_.dialogs.ShowMessage(
                ColumnCountMessage(path_, separator, *fileFields, table, *tableColumns));
        });
        return;
    }
    std::optional<std::size_t> columns;
    if (tableColumns && *tableColumns > 0) columns = static_cast<std::size_t>(*tableColumns);
    SendRows(
        steps::kAppendRows, [&] { return options_.TargetTable().value_or(""); }, {}, columns);
}

// The field count of the first record that can be read; malformed ones are the second
// pass's to report. With none, nothing: the check then lets the rows go, so that they are.
std::optional<std::size_t> FileImporter::FirstDataRecordFields() {
    FileHandle in = OpenWorkingCopy(*workingCopy_);
    NoEventPump noYield;
    const auto records =
        OpenRecordSource(in.Get(), "Cannot read the working copy " + workingCopy_->Path(),
                         {options_, workingCopy_->LineEnds()}, noYield);
    bool any = false;
    while (records->Next()) {
        any = true;
        if (!records->Malformed()) return records->Fields().size();
    }
    if (!any) return 0;
    return std::nullopt;
}

}  // namespace verrolift
