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
    const bool accepted = file.handler.Run(step, [&] {
        try {
            ExecuteStatement(file.connection, statement);
        } catch (const OdbcError& error) {
            targetLost = IsTargetFailure(error, file.connection);
            throw;
        }
    });
    if (ImportProgress* progress = file.context.progress) {
        progress->RowSent();
        if (!accepted) progress->RowRefused();
    }
    return targetLost;
}

// The second pass with quoted fields: each record is one row; a malformed one is
// reported with its place in the file, and not sent. True when every record was read.
bool SendRecords(FileImport& file, const import_steps::RowSteps& steps,
                 const std::function<std::string()>& tableName,
                 const std::vector<bool>& emptyLeftOutAt, FileHandle& in) {
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
        if (!read) return false;
        if (atEnd) return true;
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
                AppendRowStatement(statement, table, records.Fields(), context.pump, emptyLeftOutAt,
                                   records.Quoted());
            }))
            continue;
        if (SendRow(file, steps.send, statement)) return false;
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
              const std::function<std::string()>& tableName,
              const std::vector<bool>& emptyLeftOutAt) {
    ProtectedHandler& h = file.handler;
    ImportContext& context = file.context;
    FileHandle in;
    if (!h.Run(steps.open, [&] { in = OpenWorkingCopy(file.workingCopy); })) return;

    bool wholeFile = false;  // every line went out
    if (context.options.QuotedFields()) {
        wholeFile = SendRecords(file, steps, tableName, emptyLeftOutAt, in);
    } else {
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
            // The connection or the table is gone: every further line would fail alike.
            if (SendRow(file, steps.send, statement)) break;
        }
    }
    h.Run(steps.close,
          [&] { in.Close("Cannot close the working copy " + file.workingCopy.Path()); });
    if (wholeFile && context.progress) context.progress->FileImported();
}

}  // namespace verrolift
