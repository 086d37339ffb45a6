#include "import/new_table_import.h"

#include <vector>

#include "import/import_messages.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

namespace {

void HeaderMode(FileImport& file, const std::string& tableName) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    std::string statement;
    // The positions whose header field is empty: they have no column.
    std::vector<bool> emptyHeaderAt;
    std::vector<std::string> columns;
    const bool built = h.Run(steps::kHeaderColumns, [&] {
        std::vector<std::string_view> fields;
        SplitFieldsInto(file.prepared.firstLine, context.options.Separator(), fields);
        for (const auto field : fields) {
            context.pump.Yield();
            emptyHeaderAt.push_back(field.empty());
            if (!field.empty()) columns.push_back(CleanColumnName(field));
        }
        if (columns.empty())
            throw Failure("The first line of the file \"" + file.path +
                          "\" gives no column name, so no table is made for it.");
        statement = BuildCreateStatement(tableName, columns);
    });
    if (!built) return;
    // A refused CREATE leaves the name to whatever holds it (a view, another program's
    // table): no row of this file may go there, and the name is not listed as made.
    if (!h.Run(steps::kHeaderCreate, [&] { ExecuteStatement(file.connection, statement); })) return;
    SendRows(
        file, steps::kHeaderRows,
        [&] { return ResolveTableName(context.options.TableNamePattern(), file.position); },
        emptyHeaderAt, columns.size());
    h.Run(steps::kHeaderListName, [&] { context.tables.InsertAtTop(tableName); });
}

void TypedNamesMode(FileImport& file, const std::string& tableName) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    std::vector<std::string> columns;
    std::string lastAnswer;
    h.Run(steps::kTypedPrompts, [&] {
        // Only the number of fields of the first line counts here.
        std::vector<std::string_view> fields;
        SplitFieldsInto(file.prepared.firstLine, context.options.Separator(), fields);
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
    if (!h.Run(steps::kTypedCreate, [&] {
            ExecuteStatement(file.connection, BuildCreateStatement(tableName, columns));
        }))
        return;
    SendRows(
        file, steps::kTypedRows,
        [&] { return ResolveTableName(context.options.TableNamePattern(), file.position); }, {},
        columns.size());
    h.Run(steps::kTypedListName, [&] { context.tables.InsertAtTop(tableName); });
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
