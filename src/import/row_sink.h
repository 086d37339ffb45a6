#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "base/protected_handler.h"
#include "db/odbc.h"
#include "import/import_context.h"
#include "import/import_outcome.h"
#include "import/import_steps.h"
#include "import/run_stop.h"

namespace verrolift {

// The lines of the file (from 1) that a record starts and ends on.
struct RecordLines {
    std::uint64_t first;
    std::uint64_t last;
};

// Counts a file's records into its outcome, tells the run's progress display and its
// stop (the error limit), and keeps the lines of the records that were not stored.
class RowTally {
public:
    RowTally(ImportProgress* progress, RunStop* stop, FileOutcome& outcome)
        : progress_(progress), stop_(stop), outcome_(outcome) {}
    // A row went out, accepted or refused.
    void Sent(bool refused, RecordLines lines) {
        ++outcome_.rowsSent;
        if (refused) {
            ++outcome_.rowsRefused;
            Lost(lines);
        }
        if (!progress_) return;
        progress_->RowSent();
        if (refused) progress_->RowRefused();
    }
    // A record that never went out as a row.
    void NotSent(RecordLines lines) {
        ++outcome_.recordsNotSent;
        Lost(lines);
    }
    // The records not stored, in the order they were met (file order).
    const std::vector<RecordLines>& NotStored() const { return notStored_; }

private:
    void Lost(RecordLines lines) {
        notStored_.push_back(lines);
        if (stop_) stop_->NotStored();
    }

    ImportProgress* progress_;
    RunStop* stop_;
    FileOutcome& outcome_;
    std::vector<RecordLines> notStored_;
};

// What the rows of one file need on their way: its connection, its handler and the
// step numbers its mode reports under, the yield, the tally.
struct RowTarget {
    const std::string& path;  // named, with the record's line, in reports about a row
    OdbcConnection& connection;
    ProtectedHandler& handler;
    const import_steps::RowSteps& steps;
    EventPump& pump;
    RowTally& tally;
};

// One record as a row: its fields, the positions whose empty value is left out (an
// empty header field made no column there), and which fields were read between quotes.
struct Row {
    const std::vector<std::string_view>& fields;
    const std::vector<bool>& emptyLeftOutAt;
    const std::vector<char>& quoted;
    RecordLines lines;
};

// Where a file's rows go: one statement per row, or batches. Chosen once per file.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Sends, or queues, one row into table. False when the file must end here: its
    // connection or its table is gone.
    virtual bool Take(const std::string& table, const Row& row) = 0;
    // Sends whatever is queued. False when that found the connection or table gone.
    virtual bool Finish() { return true; }
};

// One autocommitted INSERT per row, its values as literals; a refusal is reported at
// steps.send and the next row follows.
class StatementSink : public RowSink {
public:
    explicit StatementSink(const RowTarget& target) : target_(target) {}
    bool Take(const std::string& table, const Row& row) override;
    // Sends one statement built elsewhere for the record on lines; false as for Take.
    bool Send(const std::string& statement, RecordLines lines);

private:
    RowTarget target_;
    std::string statement_;
};

// The sink that sending chooses: batches when asked for, else one statement per row.
// columns: the table's column count when it is known.
std::unique_ptr<RowSink> OpenRowSink(const RowTarget& target, const RowSending& sending,
                                     std::optional<std::size_t> columns);

}  // namespace verrolift
