#include "db/catalogue.h"

#include <vector>

#include "db/odbc.h"

namespace verrolift {

void ListUserTables(TableList& list, const std::string& connectionString, EventPump& pump) {
    std::vector<std::string> names;
    {
        OdbcConnection connection;
        connection.Open(connectionString);
        // The whole answer is on hand before the list is touched, and the connection is
        // closed before yielding: other commands may run during the yields.
        names = connection.QueryFirstColumn(kCatalogueQuery);
        connection.Close();
    }
    for (const std::string& name : names) {
        pump.Yield();
        list.Append(name);
    }
}

}  // namespace verrolift
