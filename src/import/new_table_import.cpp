#include "import/new_table_import.h"

#include <vector>

#include "import/import_messages.h"
#include "import/line_fields.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

namespace {

// What both column sources share once the column names are known: the table is
// made, filled from the working copy and put at the top of the table list.
// emptyLeftOutAt: as for SendRows.
void CreateAndFill(FileImport& file, const std::string& tableName,
                   const std::vector<std::string>& columns, const std::vector<bool>& emptyLeftOutAt,
                   const steps::NewTableSteps& numbers) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    // A refused CREATE leaves the name to whatever holds it (a view, another program's
    // table): no row of this file may go there, and the name is not listed as made.
    if (!h.Run(numbers.create,
               [&] { file.connection.Execute(BuildCreateStatement(tableName, columns)); }))
        return;
    SendRows(
        file, numbers.rows,
        [&] { return ResolveTableName(context.options.TableNamePattern(), file.position); },
        emptyLeftOutAt, columns.size());
    h.Run(numbers.listName, [&] { context.tables.InsertAtTop(tableName); });
}

void HeaderMode(FileImport& file, const std::string& tableName) {
    ImportContext& context = file.context;
    // The positions whose header field is empty: they have no column.
    std::vector<bool> emptyHeaderAt;
    std::vector<std::string> columns;
    const bool named = file.handler.Run(steps::kHeaderColumns, [&] {
        const std::vector<std::string_view> fields = FirstLineFields(file);
        for (const auto field : fields) {
            context.pump.Yield();
            emptyHeaderAt.push_back(field.empty());
            if (!field.empty()) columns.push_back(CleanColumnName(field));
        }
        if (columns.empty())
            throw Failure("The first line of the file \"" + file.path +
                          "\" gives no column name, so no table is made for it.");
    });
    if (!named) return;
    CreateAndFill(file, tableName, columns, emptyHeaderAt, steps::kHeaderTable);
}

void TypedNamesMode(FileImport& file, const std::string& tableName) {
    ImportContext& context = file.context;
    std::vector<std::string> columns;
    std::string lastAnswer;
    file.handler.Run(steps::kTypedPrompts, [&] {
        // Only the number of fields of the first line counts here.
        const std::vector<std::string_view> fields = FirstLineFields(file);
        for (std::size_t j = 1; j <= fields.size(); ++j) {
            lastAnswer = context.dialogs.InputBox(ColumnPrompt(static_cast<int>(j)), "");
            columns.push_back(CleanColumnName(lastAnswer));
            if (lastAnswer.empty()) {
                context.dialogs.NoColumnName(file.path, static_cast<int>(j));
                break;
            }
        }
    });
    if (lastAnswer.empty()) return;
    CreateAndFill(file, tableName, columns, {}, steps::kTypedTable);
}

}  // namespace

void ImportNewTable(FileImport& file, const std::string& tableName) {
    ProtectedHandler& h = file.handler;
    const ImportOptionsSource& options = file.context.options;
    if (h.Test(steps::kHeaderModeTest,
               [&] { return options.Columns() == ColumnSource::HeaderLine; })) {
        HeaderMode(file, tableName);
        return;
    }
    if (h.Test(steps::kTypedModeTest,
               [&] { return options.Columns() == ColumnSource::TypedNames; }))
        TypedNamesMode(file, tableName);
}

}  // namespace verrolift
