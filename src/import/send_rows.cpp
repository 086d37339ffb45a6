// The second pass of the file importer: the working copy's records, read by the
// record source chosen for the file, go one by one into the row sink chosen for it.
#include <algorithm>

#include "import/bad_file.h"
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
// read rather than reporting the same failure for ever. After a row that failed because
// of its target (the connection or the table is gone) nothing more is sent: the rest of
// the file is only counted, and kept for the bad file. A stop asked for ends the pass
// between records, once what was sent is decided.
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
    RowTally tally(context_.progress, context_.stop, outcome_);
    const std::unique_ptr<RowSink> sink = OpenRowSink(
        {path_, *connection_, handler_, steps, context_.pump, tally}, context_.sending, columns);

    InvalidLines invalid(prepared_->invalidLines);
    // From the working copy's lines to the file's own.
    const std::uint64_t offset = prepared_->copyFromLine - 1;
    // A record that cannot go out as a row is reported with its place and not sent.
    auto unsendable = [&](RecordLines lines) {
        if (const auto malformed = records->Malformed()) {
            handler_.Report(
                import_steps::kMalformedRecord,
                MalformedRecordMessage(path_, {malformed->number + prepared_->copyFromRecord - 1,
                                               malformed->line + offset, malformed->fault}));
        } else if (invalid.Holds(lines.first, lines.last)) {
            handler_.Report(
                import_steps::kMalformedRecord,
                UndecodableRecordMessage(path_, lines.first, prepared_->encoding.DisplayName()));
        } else {
            return false;
        }
        tally.NotSent(lines);
        return true;
    };
    bool readAll = false, targetGone = false, stopped = false;
    std::int64_t read = 0;
    std::string table;
    for (;;) {
        if (context_.stop && context_.stop->Requested()) {
            stopped = true;
            break;
        }
        bool atEnd = false;
        if (!handler_.Run(steps.read, [&] { atEnd = !records->Next(); })) break;
        if (atEnd) {
            readAll = true;
            break;
        }
        const RecordLines lines{records->StartLine() + offset, records->EndLine() + offset};
        if (++read <= context_.skipRows) {
            ++outcome_.rowsSkipped;
        } else if (targetGone) {
            tally.NotSent(lines);
        } else if (!unsendable(lines)) {
            handler_.Run(steps.tableName, [&] { table = tableName(); });
            const Row row{records->Fields(), emptyLeftOutAt, records->Quoted(), lines};
            targetGone = !sink->Take(table, row);
        }
    }
    if (!sink->Finish()) targetGone = true;
    handler_.Run(steps.close,
                 [&] { in.Close("Cannot close the working copy " + workingCopy_->Path()); });
    if (stopped) outcome_.resumeAfter = read;
    outcome_.imported =
        readAll && !targetGone && outcome_.rowsRefused == 0 && outcome_.recordsNotSent == 0;
    if (outcome_.imported && context_.progress) context_.progress->FileImported();
    handler_.Run(steps.close, [&] { KeepNotStored(tally.NotStored()); });
}

// Every record of the file that was not stored goes to its bad file, after any first
// line that is no data, so that the bad file loads as the file did.
void FileImporter::KeepNotStored(const std::vector<RecordLines>& notStored) {
    if (context_.badFolder.empty()) return;
    std::vector<RecordLines> spans = lostInFirstPass_;
    spans.insert(spans.end(), notStored.begin(), notStored.end());
    if (spans.empty()) return;
    if (prepared_->copyFromLine > 1) spans.push_back({1, prepared_->copyFromLine - 1});
    std::sort(spans.begin(), spans.end(),
              [](const RecordLines& a, const RecordLines& b) { return a.first < b.first; });
    outcome_.badFile = WriteBadFile(
        context_.badFolder, path_,
        {prepared_->markLength, prepared_->encoding.Kind(), prepared_->lineEnds}, spans);
}

}  // namespace verrolift
