#pragma once

#include <cstddef>
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

namespace verrolift {

// Counts a file's rows into its outcome and tells the run's progress display.
class RowTally {
public:
    RowTally(ImportProgress* progress, FileOutcome& outcome)
        : progress_(progress), outcome_(outcome) {}
    // A row went out, accepted or refused.
    void Sent(bool refused) {
        ++outcome_.rowsSent;
        if (refused) ++outcome_.rowsRefused;
        if (!progress_) return;
        progress_->RowSent();
        if (refused) progress_->RowRefused();
    }
    void NotSent() { ++outcome_.recordsNotSent; }

private:
    ImportProgress* progress_;
    FileOutcome& outcome_;
};

// What the rows of one file need on their way: its connection, its handler and the
// step numbers its mode reports under, the yield, the tally.
struct RowTarget {
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
    // Sends one statement built elsewhere; false as for Take.
    bool Send(const std::string& statement);

private:
    RowTarget target_;
    std::string statement_;
};

// The sink that sending chooses: batches when asked for, else one statement per row.
// columns: the table's column count when it is known.
std::unique_ptr<RowSink> OpenRowSink(const RowTarget& target, const RowSending& sending,
                                     std::optional<std::size_t> columns);

}  // namespace verrolift
