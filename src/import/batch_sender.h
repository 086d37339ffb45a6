#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/batch_statement.h"
#include "db/parameter_rows.h"
#include "import/row_sink.h"

namespace verrolift {

// The rows of one file in batches: one prepared INSERT INTO "T" VALUES(?,...)
// executed for a batch of rows at once inside one transaction, committed per
// batch. Where the database takes it, the statement carries several rows
// (VALUES(?,...),(?,...)), so the server parses one statement for many rows; a
// database that refuses that shape gets one row per statement. A batch that the
// database refuses is rolled back and each of its rows sent again exactly as a run
// without batches sends it (same statement, same report, committed on its own), so
// every row ends as it would have without batches. A row that cannot go in a batch
// (another number of fields, a NUL byte, which the database would never see in a
// statement's text) goes on its own once the queued rows went out, so the rows keep
// their order.
class BatchSender : public RowSink {
public:
    // columns: the table's column count when known, the number of values a batch
    // row has; otherwise the first row's number of fields decides.
    BatchSender(const RowTarget& target, const RowSending& sending,
                std::optional<std::size_t> columns);
    ~BatchSender() override;
    BatchSender(const BatchSender&) = delete;
    BatchSender& operator=(const BatchSender&) = delete;

    bool Take(const std::string& table, const Row& row) override;
    bool Finish() override;

private:
    // Whether statements of several rows go in: not known until one batch of them did.
    enum class SeveralRows { Untried, Taken, Refused };

    bool Queue(const std::string& table, std::span<const ParameterValue> values, RecordLines lines);
    void Clear();
    bool FitsBatch(std::span<const ParameterValue> values) const;
    void Flush();
    void Prepare(const std::string& table);
    bool SendBatch(bool severalRows);
    void EndIfGone(const std::exception& refusal);
    void SendOneByOne();

    RowTarget target_;
    RowSending sending_;
    StatementSink statements_;  // rows that go on their own
    std::optional<std::size_t> columns_;
    std::size_t batchRows_;
    ParameterRows rows_;
    std::vector<RecordLines> lines_;                        // of each queued row
    std::vector<ParameterValue> values_;                    // of the row being taken
    std::string table_;                                     // of the queued rows
    std::unique_ptr<OdbcBatchStatement> statement_;         // one row per statement
    std::unique_ptr<OdbcBatchStatement> severalStatement_;  // several rows per statement
    SeveralRows severalRows_ = SeveralRows::Untried;
    std::string preparedTable_;
    bool disabled_ = false;  // the statement could not be prepared: every row goes on its own
    bool ended_ = false;
};

// The most bytes the parameter arrays of one batch may take; a batch with long
// values is sent before it reaches its row count.
inline constexpr std::size_t kMaxBatchBytes = std::size_t{64} << 20;

// The most parameters in one statement of several rows. psqlODBC loses its
// connection somewhere above 7,000; a database with a lower limit (SQLite before
// 3.32: 999) refuses the statement when it is prepared, and the file goes on with
// one row per statement.
inline constexpr std::size_t kMaxStatementParameters = 4000;

}  // namespace verrolift
