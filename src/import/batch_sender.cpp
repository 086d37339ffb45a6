#include "import/batch_sender.h"

#include <algorithm>

#include "base/ignoring_case.h"
#include "db/failure_kinds.h"
#include "db/transaction.h"
#include "import/import_messages.h"
#include "import/sql_text.h"

namespace verrolift {

namespace {

// INSERT INTO "T" VALUES(?,?,?), or with one group of markers per row: VALUES(?,?),(?,?)
std::string BuildParameterStatement(const std::string& table, std::size_t columns,
                                    std::size_t rows = 1) {
    std::string sql = "INSERT INTO " + QuoteIdentifier(table) + " VALUES";
    for (std::size_t r = 0; r < rows; ++r) {
        sql += r == 0 ? "(" : ",(";
        for (std::size_t j = 0; j < columns; ++j) sql += j == 0 ? "?" : ",?";
        sql += ')';
    }
    return sql;
}

bool IsOracle(const std::string& dbmsName) {
    return dbmsName.size() >= 6 && EqualIgnoringCase(dbmsName.substr(0, 6), "Oracle");
}

}  // namespace

BatchSender::BatchSender(const RowTarget& target, const RowSending& sending,
                         std::optional<std::size_t> columns)
    : target_(target),
      sending_(sending),
      statements_(target),
      columns_(columns),
      batchRows_(std::max<std::size_t>(sending.batchRows, 1)) {}

BatchSender::~BatchSender() = default;

bool BatchSender::Take(const std::string& table, const Row& row) {
    values_.clear();
    for (std::size_t i = 0; i < row.fields.size(); ++i)
        if (const auto value = FieldValue(row.fields, i, row.emptyLeftOutAt, row.quoted))
            values_.push_back(*value);
    const bool queued = Queue(table, values_, row.lines);
    if (ended_) return false;
    if (queued) return true;
    if (!statements_.Take(table, row)) ended_ = true;
    return !ended_;
}

void BatchSender::Clear() {
    rows_.Clear();
    lines_.clear();
}

bool BatchSender::Finish() {
    target_.handler.Run(target_.steps.send, [&] { Flush(); });
    // The last batch found the connection or the table gone: its rows did not go in.
    return !ended_;
}

bool BatchSender::FitsBatch(std::span<const ParameterValue> values) const {
    if (disabled_ || values.empty()) return false;
    const std::size_t parameters = columns_.value_or(values.size());
    if (values.size() != parameters) return false;
    // A bound value would end at the NUL, while the same byte in a statement's
    // text makes the database refuse the row.
    return std::none_of(values.begin(), values.end(), [](const ParameterValue& value) {
        return value.bytes.find('\0') != std::string_view::npos;
    });
}

// Queues one row for table, sending the batch when it is full. False when the row
// must go on its own, after what was queued went out.
bool BatchSender::Queue(const std::string& table, std::span<const ParameterValue> values,
                        RecordLines lines) {
    if (ended_) return false;
    if (!FitsBatch(values)) {
        Flush();
        return false;
    }
    if (!columns_) columns_ = values.size();
    if (!rows_.Empty() && table != table_) Flush();
    if (ended_) return false;

    if (rows_.Empty()) {
        if (rows_.Columns() != values.size()) rows_.Reset(values.size());
        // One row too large for any batch goes on its own.
        if (rows_.ArrayBytesWith(values) > kMaxBatchBytes) return false;
    } else if (rows_.ArrayBytesWith(values) > kMaxBatchBytes) {
        Flush();
        if (ended_) return false;
    }
    table_ = table;
    rows_.Add(values);
    lines_.push_back(lines);
    if (rows_.Count() >= batchRows_) Flush();
    return true;
}

void BatchSender::Prepare(const std::string& table) {
    const std::size_t columns = rows_.Columns();
    if (statement_ && preparedTable_ == table && statement_->Columns() == columns) return;
    statement_.reset();
    severalStatement_.reset();
    statement_ = std::make_unique<OdbcBatchStatement>(
        target_.connection, BuildParameterStatement(table, columns), columns, batchRows_,
        sending_.parameterArrays);
    preparedTable_ = table;

    // Oracle runs a parameter array of a one-row statement as one array insert on
    // the server, its fastest way; psqlODBC sends the server one statement per row.
    if (severalRows_ == SeveralRows::Untried && IsOracle(target_.connection.DbmsName()))
        severalRows_ = SeveralRows::Refused;
    const std::size_t perStatement =
        std::min({sending_.rowsPerStatement, batchRows_, kMaxStatementParameters / columns});
    if (severalRows_ == SeveralRows::Refused || perStatement < 2) return;
    try {
        // Each such statement is a batch in itself, executed on its own: psqlODBC
        // sends an array of them as literal text for the server to parse, where it
        // binds a single execute to the statement it prepared.
        severalStatement_ = std::make_unique<OdbcBatchStatement>(
            target_.connection, BuildParameterStatement(table, columns, perStatement),
            columns * perStatement, batchRows_, false, perStatement);
    } catch (const std::exception&) {
        // The statement of one row was taken, so it is this shape that was not.
        severalRows_ = SeveralRows::Refused;
    }
}

void BatchSender::Flush() {
    if (rows_.Empty() || ended_) return;
    try {
        Prepare(table_);
    } catch (const std::exception&) {
        // A statement that cannot be prepared would be refused for every batch.
        statement_.reset();
        severalStatement_.reset();
        disabled_ = true;
        SendOneByOne();
        return;
    }
    const bool several = severalStatement_ && rows_.Count() >= severalStatement_->RowsPerSet();
    if (SendBatch(several) || ended_) return;
    // Until a statement of several rows went in, a refusal may be one of its shape
    // rather than of a row: the batch once more with one row per statement tells.
    if (several && severalRows_ == SeveralRows::Untried) {
        if (SendBatch(false)) {
            severalRows_ = SeveralRows::Refused;
            severalStatement_.reset();
            return;
        }
        if (ended_) return;
    }
    SendOneByOne();
}

bool BatchSender::SendBatch(bool severalRows) {
    try {
        OdbcTransaction transaction(target_.connection);
        const std::size_t count = rows_.Count();
        std::size_t first = 0;
        if (severalRows) {
            // Whole statements of several rows, then the rest one row per statement.
            first = count - count % severalStatement_->RowsPerSet();
            severalStatement_->Execute(rows_, 0, first);
        }
        statement_->Execute(rows_, first, count - first);
        transaction.Commit();
        if (severalRows) severalRows_ = SeveralRows::Taken;
        for (std::size_t r = 0; r < count; ++r) target_.tally.Sent(false, lines_[r]);
        Clear();
        return true;
    } catch (const std::exception& refused) {
        // The transaction rolled the batch back on its way out.
        EndIfGone(refused);
        return false;
    }
}

void BatchSender::EndIfGone(const std::exception& refused) {
    // Without a connection, sending the rows again would only fail the same way. (A
    // missing table is left to the first row sent again, which reports it as a run
    // without batches would and ends the file.)
    if (!IsConnectionLost(refused, target_.connection)) return;
    target_.handler.Report(target_.steps.send, LostConnectionDescription(refused) +
                                                   RecordPlace(target_.path, lines_.front().first));
    // The batch went out and none of its rows went in: counted as a row
    // statement refused for its connection would be.
    for (std::size_t r = 0; r < rows_.Count(); ++r) target_.tally.Sent(true, lines_[r]);
    ended_ = true;
    Clear();
}

void BatchSender::SendOneByOne() {
    std::vector<ParameterValue> values;
    std::string statement;
    for (std::size_t r = 0; r < rows_.Count() && !ended_; ++r) {
        if (!target_.handler.Run(target_.steps.build, [&] {
                values.clear();
                for (std::size_t j = 0; j < rows_.Columns(); ++j) values.push_back(rows_.At(r, j));
                AppendRowStatement(statement, table_, values, target_.pump);
            }))
            continue;
        if (!statements_.Send(statement, lines_[r])) ended_ = true;
    }
    Clear();
}

}  // namespace verrolift
