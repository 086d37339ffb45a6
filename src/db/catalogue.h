#pragma once

#include <string>

#include "base/host.h"
#include "db/table_list.h"

namespace verrolift {

inline constexpr const char* kCatalogueQuery = "SELECT table_name FROM user_tables";

// Appends the connected user's table names to list, in the database's order,
// yielding before every row. Failures propagate; names appended before one stay.
void ListUserTables(TableList& list, const std::string& connectionString, EventPump& pump);

}  // namespace verrolift
