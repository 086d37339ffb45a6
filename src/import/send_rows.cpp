// The second pass of the file importer: the working copy's records, read by the
// record source chosen for the file, go one by one into the row sink chosen for it.
#include "import/file_importer.h"
#include "import/import_messages.h"
#include "import/record_source.h"
#include "import/row_sink.h"

namespace verrolift {

namespace {

// The file's lines that hold bytes not valid in its encoding, asked about in file order.
class InvalidLines {
public:
    explicit InvalidLines(const std::vector<std::uint64_t>& lines) : lines_(lines) {}
    // Whether any of lines first to last is one of them.
    bool Holds(std::uint64_t first, std::uint64_t last) {
        while (next_ < lines_.size() && lines_[next_] < first) ++next_;
        return next_ < lines_.size() && lines_[next_] <= last;
    }

private:
    const std::vector<std::uint64_t>& lines_;
    std::size_t next_ = 0;
};

}  // namespace

// A refused row is reported and the next record follows. The pass ends at a failed
// read rather than reporting the same failure for ever, and after the report of a row
// that failed because of its target (the connection or the table is gone).
//
// emptyLeftOutAt marks the positions whose header field was empty, which have no
// column: an empty value there is left out of the row, while a value there keeps the
// whole row as it is, for the database to refuse. Other positions keep their place,
// an empty value as NULL. columns: the table's column count when it is known.
void FileImporter::SendRows(const import_steps::RowSteps& steps,
                            const std::function<std::string()>& tableName,
                            const std::vector<bool>& emptyLeftOutAt,
                            std::optional<std::size_t> columns) {
    outcome_.skip = FileSkip::None;
    FileHandle in;
    if (!handler_.Run(steps.open, [&] { in = OpenWorkingCopy(*workingCopy_); })) return;
    const std::string what = "Cannot read the working copy " + workingCopy_->Path();
    std::unique_ptr<RecordSource> records;
    if (!handler_.Run(steps.read, [&] {
            records = OpenRecordSource(in.Get(), what, {options_, workingCopy_->LineEnds()},
                                       context_.pump);
        }))
        return;
    RowTally tally(context_.progress, outcome_);
    const std::unique_ptr<RowSink> sink = OpenRowSink(
        {*connection_, handler_, steps, context_.pump, tally}, context_.sending, columns);

    InvalidLines invalid(prepared_->invalidLines);
    bool wholeFile = false;  // every record went out
    std::string table;
    for (;;) {
        bool atEnd = false;
        if (!handler_.Run(steps.read, [&] { atEnd = !records->Next(); })) break;
        if (atEnd) {
            wholeFile = true;
            break;
        }
        if (const auto malformed = records->Malformed()) {
            // Reported with its place in the file, and not sent.
            tally.NotSent();
            handler_.Report(
                import_steps::kMalformedRecord,
                MalformedRecordMessage(
                    path_, {malformed->number + prepared_->copyFromRecord - 1,
                            malformed->line + prepared_->copyFromLine - 1, malformed->fault}));
            continue;
        }
        // From the working copy's lines to the file's own.
        const std::uint64_t line = records->StartLine() + prepared_->copyFromLine - 1;
        if (invalid.Holds(line, records->EndLine() + prepared_->copyFromLine - 1)) {
            tally.NotSent();
            handler_.Report(
                import_steps::kMalformedRecord,
                UndecodableRecordMessage(path_, line, prepared_->encoding.DisplayName()));
            continue;
        }
        handler_.Run(steps.tableName, [&] { table = tableName(); });
        if (!sink->Take(table, {records->Fields(), emptyLeftOutAt, records->Quoted()})) break;
    }
    if (!sink->Finish()) wholeFile = false;
    handler_.Run(steps.close,
                 [&] { in.Close("Cannot close the working copy " + workingCopy_->Path()); });
    outcome_.imported = wholeFile;
    if (wholeFile && context_.progress) context_.progress->FileImported();
}

}  // namespace verrolift
