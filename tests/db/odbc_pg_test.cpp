// Against the live PostgreSQL stand-in, reached through the connection string that
// BuildConnectionString makes, driver name "Microsoft ODBC for Oracle" included.
// Tests run in parallel with others on the same accounts: every table name is unique.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "db/catalogue.h"
#include "db/connection.h"
#include "db/failure_kinds.h"
#include "db/odbc.h"
#include "db_test_util.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using test::ColumnOn;
using test::ExecOn;
using test::Hex;
using test::Literal;
using test::PgMain;
using test::PgOther;
using test::UniqueName;

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::vector<std::string> WithPrefix(const std::vector<std::string>& names, const std::string& p) {
    std::vector<std::string> out;
    for (const auto& n : names)
        if (n.compare(0, p.size(), p) == 0) out.push_back(n);
    return out;
}

// Drops the test's tables however the test ends.
class PgTables {
public:
    explicit PgTables(std::string connectionString) : cs_(std::move(connectionString)) {}
    ~PgTables() {
        for (const auto& t : tables_) {
            try {
                ExecOn(cs_, "DROP TABLE IF EXISTS " + Quoted(t));
            } catch (...) {
            }
        }
    }
    std::string Create(const std::string& name, const std::string& columns) {
        ExecOn(cs_, "CREATE TABLE " + Quoted(name) + " (" + columns + ")");
        tables_.push_back(name);
        return name;
    }

private:
    std::string cs_;
    std::vector<std::string> tables_;
};

struct ProbeCase {
    const char* what;
    bool expected;
    ConnectionProfile (*profile)();
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.what;
}

class PgProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(PgProbe, AnswersTrueOnlyForAWorkingLogin) {
    const ConnectionProfile profile = GetParam().profile();
    EXPECT_EQ(TryOpenConnection(BuildConnectionString(profile)), GetParam().expected)
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Logins, PgProbe,
    ::testing::Values(ProbeCase{"main account", true, [] { return PgMain().profile; }},
                      // The second account's password holds ";", "{" and "}".
                      ProbeCase{"second account", true, [] { return PgOther().profile; }},
                      ProbeCase{"wrong password", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.password += "x";
                                    return p;
                                }},
                      ProbeCase{"empty password", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.password.clear();
                                    return p;
                                }},
                      ProbeCase{"another account's password", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.password = PgOther().profile.password;
                                    return p;
                                }},
                      ProbeCase{"unknown user", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.userName = "verrolift_nobody";
                                    return p;
                                }},
                      ProbeCase{"unknown SID", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.sid += "-missing";
                                    return p;
                                }},
                      ProbeCase{"password with a blank added", false,
                                [] {
                                    auto p = PgMain().profile;
                                    p.password = " " + p.password;
                                    return p;
                                }},
                      ProbeCase{"empty profile", false, [] { return ConnectionProfile{}; }}),
    [](const ::testing::TestParamInfo<ProbeCase>& param) {
        std::string name = param.param.what;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(PgConnection, APasswordWithSemicolonLogsInOnlyWhenBraced) {
    const auto other = PgOther();
    ASSERT_NE(other.profile.password.find(';'), std::string::npos);
    EXPECT_TRUE(TryOpenConnection(other.ConnectionString()));
    OdbcConnection connection;
    connection.Open(other.ConnectionString());
    EXPECT_EQ(connection.QueryFirstColumn("SELECT current_user"),
              std::vector<std::string>{other.profile.userName});
    // The same profile pasted in verbatim is cut at the ";" and refused.
    const std::string verbatim = "Driver={Microsoft ODBC for Oracle};Server=" + other.profile.sid +
                                 ";Uid=" + other.profile.userName +
                                 ";Pwd=" + other.profile.password + ";";
    EXPECT_FALSE(TryOpenConnection(verbatim));
}

TEST(PgConnection, AnUnregisteredDriverIsAFailedProbe) {
    std::string s = PgMain().ConnectionString();
    const std::string registered = "Microsoft ODBC for Oracle";
    s.replace(s.find(registered), registered.size(), "Microsoft ODBC for Oracle 2");
    EXPECT_FALSE(TryOpenConnection(s));
    OdbcConnection connection;
    try {
        connection.Open(s);
        ADD_FAILURE() << "opened through an unregistered driver";
    } catch (const OdbcError& e) {
        EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
    }
}

TEST(PgConnection, ARefusedStatementDoesNotPoisonTheNextOne) {
    const std::string cs = PgMain().ConnectionString();
    PgTables tables(cs);
    const std::string t = tables.Create(UniqueName("vl_poison"), "v clob");
    OdbcConnection connection;
    connection.Open(cs);
    try {
        connection.Execute("INSERT INTO " + Quoted(t) + " VALUES(1, 2, 3)");
        ADD_FAILURE() << "refused statement did not fail";
    } catch (const OdbcError& e) {
        EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
        EXPECT_EQ(e.SqlState(), "42601");
    }
    connection.Execute("INSERT INTO " + Quoted(t) + " VALUES('next')");
    // Committed at once: another connection sees it while this one is still open.
    EXPECT_EQ(ColumnOn(cs, "SELECT v FROM " + Quoted(t)), std::vector<std::string>{"next"});
}

TEST(PgConnection, EveryStatementIsItsOwnTransaction) {
    OdbcConnection connection;
    connection.Open(PgMain().ConnectionString());
    const auto first = connection.QueryFirstColumn("SELECT txid_current()");
    const auto second = connection.QueryFirstColumn("SELECT txid_current()");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first, second);
}

TEST(PgConnection, TheImportsSettingsReachTheServer) {
    OdbcConnection connection;
    connection.Open(PgMain().ConnectionString(), ConnectionSettings{5000, 5000, true});
    EXPECT_EQ(connection.QueryFirstColumn("SHOW statement_timeout"),
              std::vector<std::string>{"5000s"});
    EXPECT_EQ(connection.QueryFirstColumn("SHOW transaction_read_only"),
              std::vector<std::string>{"off"});
}

TEST(PgConnection, BytesArriveAndComeBackUnchanged) {
    const std::string cs = PgMain().ConnectionString();
    PgTables tables(cs);
    const std::string t = tables.Create(UniqueName("vl_bytes"), "k int, v clob");
    const std::vector<std::string> values = {
        "caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC",  // UTF-8, the stand-in's encoding
        "it's ''quoted'' '",
        "line one\nline two\n",
        "cr\rcrlf\r\n",
        "\t blanks  ",
        ""};
    OdbcConnection connection;
    connection.Open(cs);
    for (std::size_t i = 0; i < values.size(); ++i)
        connection.Execute("INSERT INTO " + Quoted(t) + " VALUES(" + std::to_string(i) + ", " +
                           Literal(values[i]) + ")");
    std::vector<std::string> hex;
    for (const auto& v : values) hex.push_back(Hex(v));
    EXPECT_EQ(ColumnOn(cs, "SELECT upper(encode(convert_to(v, 'UTF8'), 'hex')) FROM " + Quoted(t) +
                               " ORDER BY k"),
              hex);
    EXPECT_EQ(connection.QueryFirstColumn("SELECT v FROM " + Quoted(t) + " ORDER BY k"), values);
}

TEST(PgConnection, LongValuesComeBackWhole) {
    OdbcConnection connection;
    connection.Open(PgMain().ConnectionString());
    const auto rows = connection.QueryFirstColumn("SELECT repeat('ab\xC3\xA9', 40000)");
    ASSERT_EQ(rows.size(), 1u);
    std::string expected;
    for (int i = 0; i < 40000; ++i) expected += "ab\xC3\xA9";
    EXPECT_EQ(rows[0].size(), expected.size());
    EXPECT_TRUE(rows[0] == expected);
}

TEST(PgConnection, ColumnCountDoesNotRunTheQuery) {
    const std::string cs = PgMain().ConnectionString();
    PgTables tables(cs);
    const std::string t = tables.Create(UniqueName("vl_cols"), "a int, b clob, c clob");
    ExecOn(cs, "INSERT INTO " + Quoted(t) + " VALUES(0, 'x', 'y')");
    OdbcConnection connection;
    connection.Open(cs);
    EXPECT_EQ(connection.ColumnCount("SELECT * FROM " + Quoted(t)), 3);
    // Running this divides by zero; describing it does not.
    const std::string failsWhenRun = "SELECT b, 1 / a FROM " + Quoted(t);
    EXPECT_THROW(connection.QueryFirstColumn(failsWhenRun), OdbcError);
    EXPECT_EQ(connection.ColumnCount(failsWhenRun), 2);
}

TEST(PgConnection, ColumnCountOfAMissingTableFailsWithTheDriversDescription) {
    OdbcConnection connection;
    connection.Open(PgMain().ConnectionString());
    const std::string missing = UniqueName("vl_missing");
    try {
        connection.ColumnCount("SELECT * FROM " + Quoted(missing));
        ADD_FAILURE() << "missing table gave a column count";
    } catch (const OdbcError& e) {
        EXPECT_EQ(e.SqlState(), "42P01");
        EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
        EXPECT_NE(e.Description().find(missing), std::string::npos) << e.Description();
    }
    EXPECT_EQ(connection.QueryFirstColumn("SELECT 'still usable'"),
              std::vector<std::string>{"still usable"});
}

TEST(PgConnection, AnEndedSessionIsALostConnectionAndARefusedStatementIsNot) {
    const std::string cs = PgMain().ConnectionString();
    OdbcConnection connection;
    connection.Open(cs);
    try {
        connection.Execute("SELECT 1 / 0");
        ADD_FAILURE() << "division by zero ran";
    } catch (const OdbcError& e) {
        EXPECT_FALSE(IsConnectionLost(e, connection)) << e.Description();
    }
    const auto pid = connection.QueryFirstColumn("SELECT pg_backend_pid()");
    ASSERT_EQ(pid.size(), 1u);
    // Ended as an administrator or a server restart would; waits until it is gone.
    ExecOn(cs, "SELECT pg_terminate_backend(" + pid[0] + ", 10000)");
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The first statement meets the end of the session (57P01), the next a dead link.
        try {
            connection.Execute("SELECT 1");
            ADD_FAILURE() << "a statement ran on an ended session";
        } catch (const OdbcError& e) {
            EXPECT_TRUE(IsConnectionLost(e, connection)) << e.Description();
            EXPECT_TRUE(IsTargetFailure(e, connection)) << e.Description();
        }
    }
}

TEST(PgCatalogue, KeepsTheDatabasesOrder) {
    const std::string cs = PgMain().ConnectionString();
    PgTables tables(cs);
    const std::string prefix = UniqueName("vl_cat") + "_";
    for (const char* suffix : {"zeta", "alpha", "mid", "beta"})
        tables.Create(prefix + suffix, "a clob");
    VectorTableList list({"already there"});
    test::RecordingPump pump;
    ListUserTables(list, cs, pump);
    EXPECT_EQ(list.At(0), "already there");
    EXPECT_EQ(pump.yields, list.Count() - 1);
    // Other tests create tables on this account meanwhile: compare this test's own tables.
    const auto mine = WithPrefix(list.Names(), prefix);
    EXPECT_EQ(mine.size(), 4u);
    EXPECT_EQ(mine, WithPrefix(ColumnOn(cs, kCatalogueQuery), prefix));
}

TEST(PgCatalogue, ListsOnlyTheAccountsOwnTables) {
    const std::string cs = PgMain().ConnectionString();
    PgTables tables(cs);
    const std::string name = tables.Create(UniqueName("vl_own"), "a clob");
    VectorTableList mainList, otherList;
    test::RecordingPump pump;
    ListUserTables(mainList, cs, pump);
    ListUserTables(otherList, PgOther().ConnectionString(), pump);
    EXPECT_TRUE(ListContains(mainList, name));
    EXPECT_FALSE(ListContains(otherList, name));
    EXPECT_FALSE(ListContains(mainList, "user_tables"));
    EXPECT_FALSE(ListContains(mainList, "pg_class"));
}

TEST(PgCatalogue, AWrongPasswordReachesTheCaller) {
    auto profile = PgMain().profile;
    profile.password += "-wrong";
    VectorTableList list;
    test::RecordingPump pump;
    try {
        ListUserTables(list, BuildConnectionString(profile), pump);
        ADD_FAILURE() << "no failure";
    } catch (const OdbcError& e) {
        EXPECT_NE(e.Description().find("password authentication failed"), std::string::npos)
            << e.Description();
    }
    EXPECT_EQ(list.Count(), 0);
}

TEST(PgTestConnection, SuccessShowsOneMessageAndLeavesNoConnectionOpen) {
    const std::string tag = UniqueName("vl_test_conn");
    // psqlODBC hands pqopt to libpq: the session can be found by its application name.
    const std::string cs = PgMain().ConnectionString() + "pqopt={application_name=" + tag + "};";
    test::RecordingPointer pointer;
    test::PointerWatchingDialogs dialogs(pointer);
    TestConnection(test::FixedConnection(cs), dialogs, pointer);
    EXPECT_EQ(dialogs.log,
              std::vector<std::string>{std::string("message: ") + kConnectionSuccessful});
    EXPECT_EQ(dialogs.pointerAtMessage, std::vector<PointerShape>{PointerShape::Busy});
    EXPECT_EQ(pointer.history,
              (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Default}));
    // The server ends a session shortly after the client leaves; wait for that, not a clock.
    std::vector<std::string> left;
    for (int i = 0; i < 200; ++i) {
        left = ColumnOn(
            PgMain().ConnectionString(),
            "SELECT count(*)::text FROM pg_stat_activity WHERE application_name = '" + tag + "'");
        if (left == std::vector<std::string>{"0"}) break;
    }
    EXPECT_EQ(left, std::vector<std::string>{"0"});
}

TEST(PgTestConnection, AWrongPasswordShowsOnlyTheFixedMessage) {
    auto profile = PgMain().profile;
    profile.password += "-wrong";
    test::RecordingPointer pointer;
    test::PointerWatchingDialogs dialogs(pointer);
    TestConnection(test::FixedConnection(BuildConnectionString(profile)), dialogs, pointer);
    EXPECT_EQ(dialogs.log, std::vector<std::string>{std::string("message: ") + kCouldNotConnect});
    EXPECT_EQ(pointer.history,
              (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Default}));
}

TEST(PgTestConnection, TheSecondAccountConnects) {
    test::RecordingPointer pointer;
    test::PointerWatchingDialogs dialogs(pointer);
    TestConnection(test::FixedConnection(PgOther().ConnectionString()), dialogs, pointer);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kConnectionSuccessful});
}

}  // namespace
}  // namespace verrolift
