#include "db/connection.h"

#include <exception>
#include <optional>

#include "base/error_report.h"
#include "base/protected_handler.h"
#include "db/odbc.h"

namespace verrolift {

namespace {

// A value the driver would otherwise cut at ";" or read as a braced value goes
// between braces, with every "}" doubled; every other value is left verbatim.
std::string AttributeValue(const std::string& value) {
    if (value.find(';') == std::string::npos && (value.empty() || value.front() != '{'))
        return value;
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    braced += '}';
    return braced;
}

}  // namespace

std::string BuildConnectionString(const ConnectionProfile& profile) {
    return "Driver={Microsoft ODBC for Oracle};Server=" + AttributeValue(profile.sid) +
           ";Uid=" + AttributeValue(profile.userName) + ";Pwd=" + AttributeValue(profile.password) +
           ";";
}

bool TryOpenConnection(const std::string& connectionString) {
    // Failing to create the access objects is not an answer to the probe: it reaches the caller.
    OdbcConnection connection;
    try {
        connection.Open(connectionString);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void TestConnection(const ConnectionSource& source, Dialogs& dialogs, WindowPointer& pointer) {
    ProtectedHandler handler(tags::kForm1TestConnection, dialogs);
    std::optional<OdbcConnection> connection;
    handler.Run(100, [&] { connection.emplace(); });

    // Should a box fail to show, the pointer still goes back to default.
    struct PointerRestorer {
        WindowPointer& pointer;
        bool armed = true;
        ~PointerRestorer() {
            if (armed) pointer.SetPointer(PointerShape::Default);
        }
    } restorer{pointer};

    // From here on a failure is the answer "could not connect", never an error report,
    // and the driver's own text is not shown.
    bool connected = false;
    try {
        pointer.SetPointer(PointerShape::Busy);
        if (!connection) throw Failure("no connection object");
        connection->Open(source.ConnectionString());
        connected = true;
    } catch (const std::exception&) {
        connected = false;
    }

    // Either box is shown while the pointer is still busy.
    dialogs.ShowMessage(connected ? kConnectionSuccessful : kCouldNotConnect);
    restorer.armed = false;
    pointer.SetPointer(PointerShape::Default);
    if (connection) connection->Close();
}

}  // namespace verrolift
