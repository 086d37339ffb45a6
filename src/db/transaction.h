#pragma once

#include "db/odbc.h"

namespace verrolift {

// Turns autocommit off for its lifetime; rolls back unless Commit() was called,
// then turns autocommit back on. The destructor never throws.
class OdbcTransaction {
public:
    // Throws OdbcError if autocommit cannot be turned off.
    explicit OdbcTransaction(OdbcConnection& connection);
    ~OdbcTransaction();
    // Throws OdbcError; after it the destructor only restores autocommit.
    void Commit();
    OdbcTransaction(const OdbcTransaction&) = delete;
    OdbcTransaction& operator=(const OdbcTransaction&) = delete;

private:
    OdbcConnection& connection_;
    bool committed_ = false;
};

}  // namespace verrolift
