#include "import/file_import.h"

#include <vector>

#include "db/failure_kinds.h"
#include "import/batch_sender.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

void ExecuteStatement(OdbcConnection& connection, std::string_view sql) {
    connection.Execute(sql);
}

bool SendRowStatement(FileImport& file, const import_steps::RowSteps& steps,
                      const std::string& statement) {
    bool targetLost = false;
    const bool accepted = file.handler.Run(steps.send, [&] {
        try {
            ExecuteStatement(file.connection, statement);
        } catch (const OdbcError& error) {
            targetLost = IsTargetFailure(error, file.connection);
            throw;
        }
    });
    if (file.context.progress) {
        file.context.progress->RowSent();
        if (!accepted) file.context.progress->RowRefused();
    }
    // The connection or the table is gone: every further line would fail alike.
    return !targetLost;
}

void SendRows(FileImport& file, const import_steps::RowSteps& steps,
              const std::function<std::string()>& tableName,
              const std::vector<bool>& emptyLeftOutAt, std::optional<std::size_t> columns) {
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
    std::optional<BatchSender> batches;
    std::vector<ParameterValue> values;
    if (context.sending.batches) batches.emplace(file, steps, columns);
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
        if (batches) {
            bool queued = false;
            if (!h.Run(steps.build, [&] {
                    SplitFieldsInto(line, context.options.Separator(), fields);
                    // An empty field is NULL, as in a row statement.
                    values.clear();
                    for (std::size_t i = 0; i < fields.size(); ++i) {
                        const std::string_view field = fields[i];
                        // As in a row statement: left out where the header had no name.
                        if (field.empty() && i < emptyLeftOutAt.size() && emptyLeftOutAt[i])
                            continue;
                        values.push_back({field, field.empty()});
                    }
                    queued = batches->Take(table, values);
                }))
                continue;
            if (batches->Ended()) break;
            if (queued) continue;
        }
        // A statement that could not be built must not go out as the previous line's.
        if (!h.Run(steps.build, [&] {
                if (!batches) SplitFieldsInto(line, context.options.Separator(), fields);
                AppendRowStatement(statement, table, fields, context.pump, emptyLeftOutAt);
            }))
            continue;
        if (!SendRowStatement(file, steps, statement)) break;
    }
    if (batches) {
        h.Run(steps.send, [&] { batches->Flush(); });
        // The last batch found the connection or the table gone: its rows did not go in.
        if (batches->Ended()) wholeFile = false;
    }
    h.Run(steps.close,
          [&] { in.Close("Cannot close the working copy " + file.workingCopy.Path()); });
    if (wholeFile && context.progress) context.progress->FileImported();
}

}  // namespace verrolift
