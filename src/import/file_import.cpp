#include "import/file_import.h"

#include <vector>

#include "db/failure_kinds.h"
#include "import/import_messages.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

namespace {

// Sends one row statement; true when it failed because its target is gone (the
// connection or the table), so that every further row would fail alike.
bool SendRow(FileImport& file, std::int32_t step, const std::string& statement) {
    bool targetLost = false;
    file.handler.Run(step, [&] {
        try {
            ExecuteStatement(file.connection, statement);
        } catch (const OdbcError& error) {
            targetLost = IsTargetFailure(error, file.connection);
            throw;
        }
    });
    if (file.context.progress) file.context.progress->RowSent();
    return targetLost;
}

// The second pass with quoted fields: each record is one row; a malformed one is
// reported with its place in the file, and not sent.
void SendRecords(FileImport& file, const import_steps::RowSteps& steps,
                 const std::function<std::string()>& tableName, FileHandle& in) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    QuotedRecordReader records(in.Get(), "Cannot read the working copy " + file.workingCopy.Path(),
                               WorkingCopyRecords(file));
    std::string statement;
    std::string table;
    for (;;) {
        bool atEnd = false;
        const bool read = h.Run(steps.read, [&] {
            context.pump.Yield();
            atEnd = !records.Next();
        });
        if (!read || atEnd) break;
        if (records.GetFault() != QuotedRecordReader::Fault::None) {
            h.Report(import_steps::kMalformedRecord,
                     MalformedRecordMessage(file.path,
                                            {records.Number() + file.prepared.copyFromRecord - 1,
                                             records.StartLine() + file.prepared.copyFromLine - 1,
                                             records.GetFault()}));
            continue;
        }
        h.Run(steps.tableName, [&] { table = tableName(); });
        if (!h.Run(steps.build, [&] {
                AppendRowStatement(statement, table, records.Fields(), records.Quoted(),
                                   context.pump);
            }))
            continue;
        if (SendRow(file, steps.send, statement)) break;
    }
}

}  // namespace

std::vector<std::string_view> FirstLineFields(const FileImport& file) {
    std::vector<std::string_view> fields;
    if (file.context.options.QuotedFields()) {
        fields.assign(file.prepared.firstFields.begin(), file.prepared.firstFields.end());
    } else {
        SplitFieldsInto(file.prepared.firstLine, file.context.options.Separator(), fields);
    }
    return fields;
}

QuotedRecordReader::Settings WorkingCopyRecords(const FileImport& file) {
    QuotedRecordReader::Settings settings;
    settings.separator = file.context.options.Separator();
    settings.lineEnds = file.workingCopy.LineEnds();
    return settings;
}

void ExecuteStatement(OdbcConnection& connection, std::string_view sql) {
    connection.Execute(sql);
}

void SendRows(FileImport& file, const import_steps::RowSteps& steps,
              const std::function<std::string()>& tableName) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    FileHandle in;
    if (!h.Run(steps.open, [&] { in = OpenWorkingCopy(file.workingCopy); })) return;
    if (context.options.QuotedFields()) {
        SendRecords(file, steps, tableName, in);
        h.Run(steps.close,
              [&] { in.Close("Cannot close the working copy " + file.workingCopy.Path()); });
        return;
    }

    LineReader reader(in.Get(), "Cannot read the working copy " + file.workingCopy.Path(),
                      file.workingCopy.LineEnds());
    std::vector<std::string_view> fields;
    std::string statement;
    std::string table;
    for (;;) {
        bool atEnd = false;
        std::string_view line;
        const bool read = h.Run(steps.read, [&] {
            atEnd = reader.AtEnd();
            if (atEnd) return;
            context.pump.Yield();
            line = reader.Next();
        });
        if (!read || atEnd) break;
        h.Run(steps.tableName, [&] { table = tableName(); });
        // A statement that could not be built must not go out as the previous line's.
        if (!h.Run(steps.build, [&] {
                SplitFieldsInto(line, context.options.Separator(), fields);
                AppendRowStatement(statement, table, fields, context.pump);
            }))
            continue;
        if (SendRow(file, steps.send, statement)) break;
    }
    h.Run(steps.close,
          [&] { in.Close("Cannot close the working copy " + file.workingCopy.Path()); });
}

}  // namespace verrolift
