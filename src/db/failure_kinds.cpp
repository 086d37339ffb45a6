#include "db/failure_kinds.h"

#include <string_view>

namespace verrolift {

namespace {

bool HasClass(const std::string& state, std::string_view stateClass) {
    return state.size() == 5 && std::string_view(state).substr(0, 2) == stateClass;
}

bool Mentions(const OdbcError& error, std::string_view text) {
    return error.Description().find(text) != std::string::npos;
}

}  // namespace

bool IsConnectionLost(const std::exception& failure, const OdbcConnection& connection) {
    const auto* error = dynamic_cast<const OdbcError*>(&failure);
    if (error && HasClass(error->SqlState(), "08")) return true;
    return connection.IsDead();
}

std::string LostConnectionDescription(const std::exception& failure) {
    const auto* known = dynamic_cast<const Failure*>(&failure);
    return "The connection to the database was lost: " +
           (known ? known->Description() : std::string(failure.what()));
}

bool IsTargetFailure(const OdbcError& error, const OdbcConnection& connection) {
    const std::string& state = error.SqlState();
    if (state == "42S02" || state == "42P01") return true;
    // sqliteodbc gives a general error with SQLite's own text for a missing table.
    if (state == "HY000" && Mentions(error, "no such table:")) return true;
    return IsConnectionLost(error, connection);
}

bool IsLoginRefused(const OdbcError& error) {
    const std::string& state = error.SqlState();
    if (HasClass(state, "28")) return true;
    // psqlODBC reports every failed connection as 08001, an unreachable server too;
    // only libpq's words tell a refused or missing password apart.
    return state == "08001" && (Mentions(error, "password authentication failed") ||
                                Mentions(error, "no password supplied"));
}

}  // namespace verrolift
