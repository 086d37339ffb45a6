// Create mode of the file importer: a new table, its columns named by the file's
// first line or typed by the user, filled with the file's rows.
#include "base/display_text.h"
#include "import/file_importer.h"
#include "import/import_messages.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

void FileImporter::ImportNewTable(const std::string& tableName) {
    if (handler_.Test(steps::kHeaderModeTest,
                      [&] { return options_.Columns() == ColumnSource::HeaderLine; })) {
        HeaderMode(tableName);
        return;
    }
    if (handler_.Test(steps::kTypedModeTest,
                      [&] { return options_.Columns() == ColumnSource::TypedNames; }))
        TypedNamesMode(tableName);
}

// A header line that gives no column name ends the file with one report.
void FileImporter::HeaderMode(const std::string& tableName) {
    // The positions whose header field is empty: they have no column.
    std::vector<bool> emptyHeaderAt;
    std::vector<std::string> columns;
    const bool named = handler_.Run(steps::kHeaderColumns, [&] {
        for (const auto field : FirstLineFields()) {
            context_.pump.Yield();
            emptyHeaderAt.push_back(field.empty());
            if (!field.empty()) columns.push_back(CleanColumnName(field));
        }
        if (columns.empty())
            throw Failure("The first line of the file \"" + ForDisplay(path_) +
                          "\" gives no column name, so no table is made for it.");
    });
    if (!named) return;
    CreateAndFill(tableName, columns, emptyHeaderAt, steps::kHeaderTable);
}

// When the user leaves a typed name empty the file is left alone: no table, no rows,
// no list entry, since every row would be refused or land in a table the user did
// not make.
void FileImporter::TypedNamesMode(const std::string& tableName) {
    std::vector<std::string> columns;
    std::string lastAnswer;
    handler_.Run(steps::kTypedPrompts, [&] {
        // Only the number of fields of the first line counts here.
        const std::size_t count = FirstLineFields().size();
        for (std::size_t j = 1; j <= count; ++j) {
            const int column = static_cast<int>(j);
            lastAnswer = context_.dialogs.AskColumnName(ColumnPrompt(column), column);
            columns.push_back(CleanColumnName(lastAnswer));
            if (lastAnswer.empty()) {
                outcome_.skip = FileSkip::NoColumnName;
                context_.dialogs.NoColumnName(path_, column);
                break;
            }
        }
    });
    if (lastAnswer.empty()) return;
    CreateAndFill(tableName, columns, {}, steps::kTypedTable);
}

// What both column sources share once the column names are known: the table is
// made, filled from the working copy and put at the top of the table list.
void FileImporter::CreateAndFill(const std::string& tableName,
                                 const std::vector<std::string>& columns,
                                 const std::vector<bool>& emptyLeftOutAt,
                                 const steps::NewTableSteps& numbers) {
    // A refused CREATE leaves the name to whatever holds it (a view, another program's
    // table): no row of this file may go there, and the name is not listed as made.
    if (!handler_.Run(numbers.create,
                      [&] { connection_->Execute(BuildCreateStatement(tableName, columns)); }))
        return;
    outcome_.table = tableName;
    SendRows(
        numbers.rows, [&] { return ResolveTableName(options_.TableNamePattern(), position_); },
        emptyLeftOutAt, columns.size());
    handler_.Run(numbers.listName, [&] { context_.tables.InsertAtTop(tableName); });
}

}  // namespace verrolift
