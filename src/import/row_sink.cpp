#include "import/row_sink.h"

#include "db/failure_kinds.h"
#include "import/batch_sender.h"
#include "import/sql_text.h"

namespace verrolift {

bool StatementSink::Take(const std::string& table, const Row& row) {
    // A statement that could not be built must not go out as the previous row's.
    if (!target_.handler.Run(target_.steps.build, [&] {
            AppendRowStatement(statement_, table, row.fields, target_.pump, row.emptyLeftOutAt,
                               row.quoted);
        }))
        return true;
    return Send(statement_);
}

bool StatementSink::Send(const std::string& statement) {
    std::optional<OdbcError> refusal;
    const bool accepted = target_.handler.Run(
        target_.steps.send, [&] { target_.connection.Execute(statement); }, refusal);
    target_.tally.Sent(!accepted);
    // The connection or the table is gone: every further row would fail alike.
    return !(refusal && IsTargetFailure(*refusal, target_.connection));
}

std::unique_ptr<RowSink> OpenRowSink(const RowTarget& target, const RowSending& sending,
                                     std::optional<std::size_t> columns) {
    if (sending.batches) return std::make_unique<BatchSender>(target, sending, columns);
    return std::make_unique<StatementSink>(target);
}

}  // namespace verrolift
