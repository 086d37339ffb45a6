#pragma once

#include <string>

#include "base/dialogs.h"
#include "base/host.h"

namespace verrolift {

struct ConnectionProfile {
    std::string sid;
    std::string userName;
    std::string password;
};

// "Driver={Microsoft ODBC for Oracle};Server=<sid>;Uid=<user>;Pwd=<password>;".
// A value holding ";" or beginning with "{" is braced with "}" doubled; all
// other values verbatim, blanks kept.
std::string BuildConnectionString(const ConnectionProfile& profile);

// The live source of the connection string, read at the moment of connecting:
// the login window's three boxes, or what the command line was given.
class ConnectionSource {
public:
    virtual ~ConnectionSource() = default;
    virtual std::string ConnectionString() const = 0;
};

// Opens and drops a connection; true only when it could be opened.
bool TryOpenConnection(const std::string& connectionString);

// The login window's "Test Connection" command: busy pointer, one attempt,
// exactly one of the two messages, pointer back to default on every path.
void TestConnection(const ConnectionSource& source, Dialogs& dialogs, WindowPointer& pointer);

inline constexpr const char* kConnectionSuccessful = "Connection successful.";
inline constexpr const char* kCouldNotConnect =
    "Could not connect. Please check with your administrator.";

}  // namespace verrolift
