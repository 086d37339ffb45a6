#pragma once

#include <exception>
#include <string>

#include "db/odbc.h"

namespace verrolift {

// Whether failure came from a connection that is gone: the connection says it is
// dead, or the failure is an OdbcError of SQLSTATE class 08. Whatever the
// connection is asked next would fail the same way.
bool IsConnectionLost(const std::exception& failure, const OdbcConnection& connection);

// What a report says of a failure that IsConnectionLost found to be one: that the
// connection was lost, then the driver's words. Those need not say so themselves:
// psqlODBC answers "[HY000] internal SAVEPOINT failed" to a statement of a transaction
// whose session has ended, and only the connection's dead state tells.
std::string LostConnectionDescription(const std::exception& failure);

// Whether a failed statement failed because of its target rather than its row:
// the connection is gone (SQLSTATE class 08, or the driver reports the
// connection dead, as psqlODBC does after a session was ended by the server),
// or the table is gone (42S02; PostgreSQL's 42P01 as psqlODBC passes it on;
// sqliteodbc's HY000 "no such table"). Every later statement of the file would
// fail the same way, so the file ends after one report. Row refusals (a value
// the column cannot take, too many values) are not target failures.
bool IsTargetFailure(const OdbcError& error, const OdbcConnection& connection);

// Whether the database refused the login's credentials: SQLSTATE class 28 (as
// Oracle's driver reports a wrong password, 28000), or psqlODBC's 08001 whose
// message is the server's "password authentication failed" (a wrong password or
// an unknown user) or libpq's "no password supplied". Trying again with the
// same credentials would only count towards the account's lock.
bool IsLoginRefused(const OdbcError& error);

}  // namespace verrolift
