#include "import/append_import.h"

#include <optional>
#include <vector>

#include "db/failure_kinds.h"
#include "import/import_messages.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

bool CheckColumnCount(int tableColumns, std::size_t fileFields) {
    return tableColumns >= 0 && static_cast<std::size_t>(tableColumns) == fileFields;
}

void ImportIntoTable(FileImport& file) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    const ImportOptionsSource& options = context.options;

    std::string table;
    h.Run(steps::kTargetTable, [&] { table = options.TargetTable().value_or(""); });
    std::optional<int> tableColumns;
    bool targetLost = false;
    h.Run(steps::kOpenRecordSet, [&] {
        try {
            tableColumns = file.connection.ColumnCount(BuildColumnCountQuery(table));
        } catch (const OdbcError& error) {
            targetLost = IsTargetFailure(error, file.connection);
            throw;
        }
    });
    // No table, or no connection: each row would only fail the same way.
    if (targetLost) return;

    std::optional<std::size_t> fileFields;
    std::string separator;
    h.Run(steps::kFirstDataLine, [&] {
        FileHandle in = OpenWorkingCopy(file.workingCopy);
        LineReader reader(in.Get(), "Cannot read the working copy " + file.workingCopy.Path(),
                          file.workingCopy.LineEnds());
        const std::string_view line = reader.AtEnd() ? std::string_view() : reader.Next();
        separator = options.Separator();
        std::vector<std::string_view> fields;
        SplitFieldsInto(line, separator, fields);
        fileFields = fields.size();
    });

    // A count that could not be had is already reported; the check then lets the rows go.
    if (tableColumns && fileFields && !h.Test(steps::kColumnCheck, [&] {
            return CheckColumnCount(*tableColumns, *fileFields);
        })) {
        h.Run(steps::kColumnCountMessage, [&] {
            context.dialogs.ShowMessage(
                ColumnCountMessage(file.path, separator, *fileFields, table, *tableColumns));
        });
        return;
    }
    std::optional<std::size_t> columns;
    if (tableColumns && *tableColumns > 0) columns = static_cast<std::size_t>(*tableColumns);
    SendRows(
        file, steps::kAppendRows, [&] { return options.TargetTable().value_or(""); }, {}, columns);
}

}  // namespace verrolift
