#include "import/file_import.h"

#include <vector>

#include "db/failure_kinds.h"
#include "import/batch_sender.h"
#include "import/import_messages.h"
#include "import/line_fields.h"
#include "import/line_reader.h"
#include "import/sql_text.h"

namespace verrolift {

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

bool SendRowStatement(FileImport& file, const import_steps::RowSteps& steps,
                      const std::string& statement) {
    bool targetLost = false;
    const bool accepted = file.handler.Run(steps.send, [&] {
        try {
            file.connection.Execute(statement);
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

    // Lines cut at the separator of the moment, or, with quoted fields, whole records.
    const std::string what = "Cannot read the working copy " + file.workingCopy.Path();
    std::optional<LineReader> lines;
    std::optional<QuotedRecordReader> records;
    if (context.options.QuotedFields()) {
        records.emplace(in.Get(), what, WorkingCopyRecords(file));
    } else {
        lines.emplace(in.Get(), what, file.workingCopy.LineEnds());
    }
    const std::vector<char> noQuotes;
    std::vector<std::string_view> fields;
    auto cut = [&](std::string_view line) {
        if (records) {
            fields = records->Fields();
        } else {
            SplitFieldsInto(line, context.options.Separator(), fields);
        }
    };
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
            if (records) {
                context.pump.Yield();
                atEnd = !records->Next();
                return;
            }
            atEnd = lines->AtEnd();
            if (atEnd) return;
            context.pump.Yield();
            line = lines->Next();
        });
        if (!read) break;
        if (atEnd) {
            wholeFile = true;
            break;
        }
        if (records && records->GetFault() != QuotedRecordReader::Fault::None) {
            // Reported with its place in the file, and not sent.
            h.Report(import_steps::kMalformedRecord,
                     MalformedRecordMessage(file.path,
                                            {records->Number() + file.prepared.copyFromRecord - 1,
                                             records->StartLine() + file.prepared.copyFromLine - 1,
                                             records->GetFault()}));
            continue;
        }
        const std::vector<char>& quoted = records ? records->Quoted() : noQuotes;
        h.Run(steps.tableName, [&] { table = tableName(); });
        if (batches) {
            bool queued = false;
            if (!h.Run(steps.build, [&] {
                    cut(line);
                    values.clear();
                    for (std::size_t i = 0; i < fields.size(); ++i)
                        if (const auto value = FieldValue(fields, i, emptyLeftOutAt, quoted))
                            values.push_back(*value);
                    queued = batches->Take(table, values);
                }))
                continue;
            if (batches->Ended()) break;
            if (queued) continue;
        }
        // A statement that could not be built must not go out as the previous line's.
        if (!h.Run(steps.build, [&] {
                if (!batches) cut(line);
                AppendRowStatement(statement, table, fields, context.pump, emptyLeftOutAt, quoted);
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
