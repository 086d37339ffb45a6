#include "import/file_import.h"

#include <vector>

#include "db/failure_kinds.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

void ExecuteStatement(OdbcConnection& connection, std::string_view sql) {
    connection.Execute(sql);
}

void SendRows(FileImport& file, const import_steps::RowSteps& steps,
              const std::function<std::string()>& tableName,
              const std::vector<bool>& emptyLeftOutAt) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    FileHandle in;
    if (!h.Run(steps.open, [&] { in = OpenWorkingCopy(file.workingCopy); })) return;

    LineReader reader(in.Get(), "Cannot read the working copy " + file.workingCopy.Path(),
                      file.workingCopy.LineEnds());
    std::vector<std::string_view> fields;
    std::string statement;
    std::string table;
    bool wholeFile = false;  // every line went out
    for (;;) {
        bool atEnd = false;
        std::string_view line;
        const bool read = h.Run(steps.read, [&] {
            atEnd = reader.AtEnd();
            if (atEnd) return;
            context.pump.Yield();
            line = reader.Next();
        });
        if (!read) break;
        if (atEnd) {
            wholeFile = true;
            break;
        }
        h.Run(steps.tableName, [&] { table = tableName(); });
        // A statement that could not be built must not go out as the previous line's.
        if (!h.Run(steps.build, [&] {
                SplitFieldsInto(line, context.options.Separator(), fields);
                AppendRowStatement(statement, table, fields, context.pump, emptyLeftOutAt);
            }))
            continue;
        bool targetLost = false;
        const bool accepted = h.Run(steps.send, [&] {
            try {
                ExecuteStatement(file.connection, statement);
            } catch (const OdbcError& error) {
                targetLost = IsTargetFailure(error, file.connection);
                throw;
            }
        });
        if (context.progress) {
            context.progress->RowSent();
            if (!accepted) context.progress->RowRefused();
        }
        // The connection or the table is gone: every further line would fail alike.
        if (targetLost) break;
    }
    h.Run(steps.close,
          [&] { in.Close("Cannot close the working copy " + file.workingCopy.Path()); });
    if (wholeFile && context.progress) context.progress->FileImported();
}

}  // namespace verrolift
