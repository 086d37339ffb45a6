#include "db/transaction.h"

namespace verrolift {

OdbcTransaction::OdbcTransaction(OdbcConnection& connection) : connection_(connection) {
    connection_.SetAutocommit(false);
}

OdbcTransaction::~OdbcTransaction() {
    // Rolled back first: turning autocommit on would commit what is still open.
    if (!committed_) {
        try {
            connection_.Rollback();
        } catch (...) {
            // A link that is gone has nothing left to roll back.
        }
    }
    try {
        connection_.SetAutocommit(true);
    } catch (...) {
        // Nor will it take another statement, in a transaction or on its own.
    }
}

void OdbcTransaction::Commit() {
    connection_.Commit();
    committed_ = true;
}

}  // namespace verrolift
