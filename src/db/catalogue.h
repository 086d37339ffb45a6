#pragma once

#include <cstdint>
#include <string>

#include "base/host.h"
#include "db/table_list.h"

namespace verrolift {

inline constexpr const char* kCatalogueQuery = "SELECT table_name FROM user_tables";

// The main window's load reports a failing catalogue at this step, and the
// command line's load, which stands in for it, does the same.
inline constexpr std::int32_t kListTablesStep = 120;

// Appends the connected user's table names to list, in the database's order,
// yielding before every row. Failures propagate; names appended before one stay.
void ListUserTables(TableList& list, const std::string& connectionString, EventPump& pump);

}  // namespace verrolift
