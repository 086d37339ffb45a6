#include "import/row_sink.h"

#include "db/failure_kinds.h"
#include "import/batch_sender.h"
#include "import/import_messages.h"
#include "import/sql_text.h"

namespace verrolift {

bool StatementSink::Take(const std::string& table, const Row& row) {
    // A statement that could not be built must not go out as the previous row's.
    if (!target_.handler.Run(target_.steps.build, [&] {
            AppendRowStatement(statement_, table, row.fields, target_.pump, row.emptyLeftOutAt,
                               row.quoted);
        }))
        return true;
    return Send(statement_, row.lines);
}

bool StatementSink::Send(const std::string& statement, RecordLines lines) {
    bool targetGone = false;
    const bool accepted = target_.handler.Run(target_.steps.send, [&] {
        try {
            target_.connection.Execute(statement);
        } catch (const OdbcError& refusal) {
            // The connection or the table is gone: every further row would fail alike.
            targetGone = IsTargetFailure(refusal, target_.connection);
            // Named as lost whatever the driver's words, as a batch's loss is.
            const std::string place = RecordPlace(target_.path, lines.first);
            if (IsConnectionLost(refusal, target_.connection))
                throw Failure(LostConnectionDescription(refusal) + place);
            throw OdbcError(refusal.Description() + place, refusal.SqlState());
        }
    });
    target_.tally.Sent(!accepted, lines);
    return !targetGone;
}

std::unique_ptr<RowSink> OpenRowSink(const RowTarget& target, const RowSending& sending,
                                     std::optional<std::size_t> columns) {
    if (sending.batches) return std::make_unique<BatchSender>(target, sending, columns);
    return std::make_unique<StatementSink>(target);
}

}  // namespace verrolift
