#include "db/failure_kinds.h"

#include <gtest/gtest.h>

#include <string>

namespace verrolift {
namespace {

struct KindCase {
    const char* state;
    const char* description;
    bool target;
    bool loginRefused;
    bool connectionLost;
};

class FailureKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(FailureKinds, TellTargetAndLoginFailuresFromRowRefusals) {
    const KindCase& c = GetParam();
    const OdbcError error(c.description, c.state);
    // A connection that never opened: the driver has nothing to say about its link.
    const OdbcConnection connection;
    EXPECT_EQ(IsTargetFailure(error, connection), c.target);
    EXPECT_EQ(IsLoginRefused(error), c.loginRefused);
    EXPECT_EQ(IsConnectionLost(error, connection), c.connectionLost);
}

TEST(ConnectionLost, OnlyADriversStateSaysSo) {
    // The same words from elsewhere than the driver name no SQLSTATE.
    const Failure failure("[08S01] Could not send Query(connection dead)");
    const OdbcConnection connection;
    EXPECT_FALSE(IsConnectionLost(failure, connection));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureKinds,
    ::testing::Values(
        // The connection is gone.
        KindCase{"08S01", "[08S01] Could not send Query(connection dead)", true, false, true},
        // The table is gone, as each driver says it.
        KindCase{"42S02", "[42S02] table or view does not exist", true, false, false},
        KindCase{"42P01", "[42P01] ERROR: relation \"T\" does not exist", true, false, false},
        KindCase{"HY000", "[HY000] [SQLite]no such table: T (1)", true, false, false},
        // The row itself is refused.
        KindCase{"42601", "[42601] ERROR: INSERT has more expressions than target columns", false,
                 false, false},
        KindCase{"HY000", "[HY000] [SQLite]table T has 2 columns but 3 values were supplied (1)",
                 false, false, false},
        KindCase{"", "The connection is not open", false, false, false},
        // Refused credentials: Oracle's class 28, psqlODBC's words under 08001.
        KindCase{"28000", "[28000] ORA-01017: invalid username/password; logon denied", false, true,
                 false},
        KindCase{"08001",
                 "[08001] connection to server failed: FATAL:  password authentication failed "
                 "for user \"scott\"",
                 true, true, true},
        KindCase{"08001",
                 "[08001] connection to server on socket \"/x/.s.PGSQL.5432\" failed: "
                 "fe_sendauth: no password supplied",
                 true, true, true},
        // An unreachable server is no verdict on the password.
        KindCase{"08001",
                 "[08001] connection to server on socket \"/x/.s.PGSQL.5432\" failed: No such "
                 "file or directory",
                 true, false, true},
        KindCase{"IM002", "[IM002] Data source name not found", false, false, false}));

}  // namespace
}  // namespace verrolift
