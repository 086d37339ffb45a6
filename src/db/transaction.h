#pragma once
// TEMPORARY stand-in until the db layer's own transaction lands.
#include "db/odbc.h"
namespace verrolift {
class OdbcTransaction {
public:
    explicit OdbcTransaction(OdbcConnection& c) : c_(c) { c_.SetAutocommit(false); }
    ~OdbcTransaction() {
        try {
            if (!committed_) c_.Rollback();
        } catch (...) {
        }
        try {
            c_.SetAutocommit(true);
        } catch (...) {
        }
    }
    void Commit() {
        c_.Commit();
        committed_ = true;
    }

private:
    OdbcConnection& c_;
    bool committed_ = false;
};
inline bool IsConnectionLost(const std::exception& e, const OdbcConnection& c) {
    const auto* odbc = dynamic_cast<const OdbcError*>(&e);
    return c.IsDead() || (odbc && odbc->SqlState().starts_with("08"));
}
}  // namespace verrolift
