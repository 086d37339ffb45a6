#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/odbc.h"
#include "db_test_util.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using test::Hex;
using test::Literal;
using test::SqliteDatabase;

const std::string kUnregistered = "Driver={Verrolift No Such Driver};Server=ORCL;Uid=a;Pwd=b;";

std::string AllHighBytes() {
    std::string s;
    for (int c = 0x80; c <= 0xFF; ++c) s += static_cast<char>(c);
    return s;
}

struct BytesCase {
    const char* name;
    std::string value;
    bool utf8 = true;
};

void PrintTo(const BytesCase& c, std::ostream* os) {
    *os << c.name;
}

class SqliteBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(SqliteBytes, ExecuteStoresEveryByteAndQueryReadsThemBack) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    const std::string& value = GetParam().value;
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    connection.Execute("INSERT INTO t VALUES(" + Literal(value) + ")");

    // Read back by an independent client, as hexadecimal and as a byte count.
    EXPECT_EQ(db.Column("SELECT hex(v) FROM t"), std::vector<std::string>{Hex(value)});
    EXPECT_EQ(db.Column("SELECT length(CAST(v AS BLOB)) FROM t"),
              std::vector<std::string>{std::to_string(value.size())});
    const std::vector<std::string> back = connection.QueryFirstColumn("SELECT v FROM t");
    ASSERT_EQ(back.size(), 1u);
#ifdef _WIN32
    // Text comes back through the wide calls, as the driver reads it in Unicode: bytes
    // that are not UTF-8 have no such reading of their own, and arrive as UTF-8.
    if (!GetParam().utf8) {
        EXPECT_TRUE(test::IsUtf8(back[0])) << Hex(back[0]);
        return;
    }
#endif
    EXPECT_EQ(Hex(back[0]), Hex(value));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SqliteBytes,
    ::testing::Values(BytesCase{"plain", "plain"},
                      BytesCase{"bytes_80_to_FF", AllHighBytes(), false},
                      BytesCase{"apostrophes", "it's ''quoted'' '"},
                      BytesCase{"line_feeds", "line one\nline two\n"},
                      BytesCase{"carriage_returns", "cr\rcrlf\r\nend"},
                      BytesCase{"controls_and_blanks", "\x01\x1f\x7f\t blanks  "},
                      BytesCase{"latin1_utf8_mix", "caf\xE9 \xC3\xA9t\xC3\xA9 \xE2\x82\xAC", false},
                      BytesCase{"scripts",
                                "Gr\xC3\xB6\xC3\x9F"
                                "e \xE6\x95\xB0\xE6\x8D\xAE "
                                "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xC3\xA9"},
                      BytesCase{"empty", ""}),
    [](const ::testing::TestParamInfo<BytesCase>& param) { return std::string(param.param.name); });

TEST(SqliteOdbc, LongValuesComeBackWhole) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    std::string value;
#ifdef _WIN32
    // Text comes back through the wide calls, in UTF-16 pieces: a long text of
    // characters of one to three UTF-8 bytes.
    const char* characters[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xE6\x95\xB0", "z"};
    for (int i = 0; value.size() < 100000; ++i) value += characters[(i * 7) % 5];
#else
    for (int i = 0; i < 100000; ++i) value += static_cast<char>(0x20 + (i * 7) % 0xDF);
#endif
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    connection.Execute("INSERT INTO t VALUES(" + Literal(value) + ")");
    const auto back = connection.QueryFirstColumn("SELECT v FROM t");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].size(), value.size());
    EXPECT_TRUE(back[0] == value);
}

TEST(SqliteOdbc, TheDriverNamesItsDatabaseOnlyWhileConnected) {
    // Batches choose their statement shape by this name (Oracle's differs).
    SqliteDatabase db;
    OdbcConnection connection;
    EXPECT_EQ(connection.DbmsName(), "");
    connection.Open(db.ConnectionString());
    EXPECT_EQ(connection.DbmsName(), "SQLite");
}

TEST(SqliteOdbc, BinaryValuesKeepTheirNulBytes) {
    SqliteDatabase db;
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    EXPECT_EQ(connection.QueryFirstColumn("SELECT X'00FF0A00'"),
              std::vector<std::string>{std::string("\x00\xFF\n\x00", 4)});
}

TEST(SqliteOdbc, TheStatementIsTakenWithItsLengthNotUpToATerminator) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    // The text after the statement is not part of it; it is in the buffer all the same.
    const std::string buffer = "INSERT INTO t VALUES('kept') this is not SQL";
    connection.Execute(std::string_view(buffer).substr(0, buffer.find(" this")));
    EXPECT_EQ(db.Column("SELECT v FROM t"), std::vector<std::string>{"kept"});
}

TEST(SqliteOdbc, AnEmbeddedNulIsNotQuietlyCutToAShorterStatement) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    // The driver stops reading at the NUL: the statement is refused, nothing shorter is stored.
    const std::string sql("INSERT INTO t VALUES('a\0b')", 27);
    try {
        connection.Execute(sql);
        ADD_FAILURE() << "a statement with a NUL inside its literal was accepted";
    } catch (const OdbcError& e) {
        EXPECT_FALSE(e.Description().empty());
    }
    EXPECT_TRUE(db.Column("SELECT v FROM t").empty());
    connection.Execute("INSERT INTO t VALUES('after')");
    EXPECT_EQ(db.Column("SELECT v FROM t"), std::vector<std::string>{"after"});
}

TEST(SqliteOdbc, ARefusedStatementLeavesTheConnectionUsable) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    try {
        connection.Execute("INSERT INTO missing_table VALUES('x')");
        ADD_FAILURE() << "refused statement did not fail";
    } catch (const OdbcError& e) {
        EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
        EXPECT_NE(e.Description().find("missing_table"), std::string::npos) << e.Description();
        EXPECT_EQ(e.SqlState(), e.Description().substr(1, 5));
    }
    connection.Execute("INSERT INTO t VALUES('next')");
    connection.Execute("INSERT INTO t VALUES('and next')");
    EXPECT_EQ(db.Column("SELECT v FROM t ORDER BY rowid"),
              (std::vector<std::string>{"next", "and next"}));
}

TEST(SqliteOdbc, StatementsTouchingNoRowsAndQueriesPassedToExecuteSucceed) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    EXPECT_NO_THROW(connection.Execute("DELETE FROM t WHERE v = 'none'"));
    EXPECT_NO_THROW(connection.Execute("UPDATE t SET v = 'x' WHERE 0"));
    // A query leaves no open cursor behind to block the next statement.
    EXPECT_NO_THROW(connection.Execute("SELECT 1"));
    EXPECT_NO_THROW(connection.Execute("INSERT INTO t VALUES('x')"));
    EXPECT_EQ(db.Column("SELECT count(*) FROM t"), std::vector<std::string>{"1"});
}

TEST(SqliteOdbc, QueryGivesRowsInTheDatabasesOrderWithNullAsEmpty) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT)");
    db.Exec("INSERT INTO t VALUES(3, 'c'), (1, NULL), (2, 'b')");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    EXPECT_EQ(connection.QueryFirstColumn("SELECT v FROM t ORDER BY k DESC"),
              (std::vector<std::string>{"c", "b", ""}));
    EXPECT_EQ(connection.QueryFirstColumn("SELECT k FROM t ORDER BY k"),
              (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(connection.QueryFirstColumn("SELECT v FROM t WHERE 0").empty());
    // The statement handle is reused: a second query on it works.
    EXPECT_EQ(connection.QueryFirstColumn("SELECT count(*) FROM t"), std::vector<std::string>{"3"});
}

TEST(SqliteOdbc, ColumnCountDoesNotRunTheQuery) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (a TEXT, b TEXT, c TEXT)");
    db.Exec("INSERT INTO t VALUES('1', '2', '3')");
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    EXPECT_EQ(connection.ColumnCount("SELECT * FROM \"t\""), 3);
    // Running this query fails (integer overflow); describing it does not.
    const std::string failsWhenRun = "SELECT abs(-9223372036854775807 - 1), a FROM t";
    EXPECT_THROW(connection.QueryFirstColumn(failsWhenRun), OdbcError);
    EXPECT_EQ(connection.ColumnCount(failsWhenRun), 2);
}

TEST(SqliteOdbc, ColumnCountOfAMissingTableFailsWithTheDriversDescription) {
    SqliteDatabase db;
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    try {
        connection.ColumnCount("SELECT * FROM \"NoSuchTable\"");
        ADD_FAILURE() << "missing table gave a column count";
    } catch (const OdbcError& e) {
        EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
        EXPECT_NE(e.Description().find("NoSuchTable"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(connection.QueryFirstColumn("SELECT 'still usable'"),
              std::vector<std::string>{"still usable"});
}

TEST(SqliteOdbc, OpenWithTheImportsSettingsAndCloseTwice) {
    SqliteDatabase db;
    OdbcConnection connection;
    EXPECT_FALSE(connection.IsOpen());
    connection.Open(db.ConnectionString(), ConnectionSettings{5000, 5000, true});
    EXPECT_TRUE(connection.IsOpen());
    connection.Execute("CREATE TABLE t (v TEXT)");
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
    connection.Close();
    try {
        connection.Execute("INSERT INTO t VALUES('x')");
        ADD_FAILURE() << "a closed connection ran a statement";
    } catch (const OdbcError& e) {
        EXPECT_FALSE(e.Description().empty());
    }
    // The same object opens again.
    connection.Open(db.ConnectionString());
    connection.Execute("INSERT INTO t VALUES('x')");
    EXPECT_EQ(db.Column("SELECT v FROM t"), std::vector<std::string>{"x"});
}

TEST(SqliteOdbc, DisconnectEndsTheConnectionAndKeepsCommittedRows) {
    SqliteDatabase db;
    OdbcConnection connection;
    connection.Open(db.ConnectionString());
    connection.Execute("CREATE TABLE t (v TEXT)");
    connection.Execute("INSERT INTO t VALUES('kept')");
    connection.Disconnect();
    EXPECT_FALSE(connection.IsOpen());
    connection.Disconnect();  // nothing left to end
    EXPECT_THROW(connection.Execute("INSERT INTO t VALUES('late')"), OdbcError);
    EXPECT_EQ(db.Column("SELECT v FROM t"), std::vector<std::string>{"kept"});
}

// The driver refuses to disconnect with work uncommitted: the refusal reaches
// the caller with its state, and Close still lets the handle go.
TEST(SqliteOdbc, ARefusedDisconnectIsReportedAndCloseStillReleases) {
    SqliteDatabase db;
    db.Exec("CREATE TABLE t (v TEXT)");
    db.Exec("INSERT INTO t VALUES('committed')");
    OdbcConnection connection;
    ConnectionSettings manual;
    manual.autocommit = false;
    connection.Open(db.ConnectionString(), manual);
    connection.Execute("INSERT INTO t VALUES('uncommitted')");
    try {
        connection.Disconnect();
        ADD_FAILURE() << "a connection with an open transaction disconnected";
    } catch (const OdbcError& e) {
        EXPECT_EQ(e.SqlState(), "25000") << e.Description();
        EXPECT_NE(e.Description().find("incomplete transaction"), std::string::npos)
            << e.Description();
    }
    EXPECT_TRUE(connection.IsOpen());
    // Left for closing only: a statement is refused, not sent on a freed handle.
    EXPECT_THROW(connection.Execute("INSERT INTO t VALUES('after')"), OdbcError);
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(db.Column("SELECT v FROM t"), std::vector<std::string>{"committed"});
}

TEST(SqliteOdbc, FailedOpensCarryADescription) {
    test::TempDir dir;
    for (const std::string& s :
         {kUnregistered, "Driver={SQLite3};Database=" + dir.File("no/such/folder/x.db") + ";"}) {
        OdbcConnection connection;
        try {
            connection.Open(s);
            ADD_FAILURE() << "opened " << s;
        } catch (const OdbcError& e) {
            EXPECT_TRUE(test::HasStatePrefix(e.Description())) << e.Description();
        }
        EXPECT_FALSE(connection.IsOpen());
    }
}

TEST(SqliteProbe, TrueOnlyWhenTheConnectionOpens) {
    SqliteDatabase db;
    test::TempDir dir;
    EXPECT_TRUE(TryOpenConnection(db.ConnectionString()));
    EXPECT_FALSE(TryOpenConnection(kUnregistered));
    EXPECT_FALSE(TryOpenConnection("Driver={SQLite3};Database=" + dir.File("none/x.db") + ";"));
    EXPECT_FALSE(TryOpenConnection(""));
}

TEST(SqliteTestConnection, SuccessShowsOneMessageWhileBusy) {
    SqliteDatabase db;
    test::RecordingPointer pointer;
    test::PointerWatchingDialogs dialogs(pointer);
    TestConnection(test::FixedConnection(db.ConnectionString()), dialogs, pointer);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{kConnectionSuccessful});
    EXPECT_EQ(dialogs.pointerAtMessage, std::vector<PointerShape>{PointerShape::Busy});
    EXPECT_EQ(pointer.history,
              (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Default}));
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST(SqliteTestConnection, FailureShowsOnlyTheFixedMessage) {
    test::RecordingPointer pointer;
    test::PointerWatchingDialogs dialogs(pointer);
    TestConnection(test::FixedConnection(kUnregistered), dialogs, pointer);
    // Exactly the fixed text: the driver's "Can't open lib" is never shown.
    EXPECT_EQ(dialogs.log, std::vector<std::string>{std::string("message: ") + kCouldNotConnect});
    EXPECT_EQ(dialogs.pointerAtMessage, std::vector<PointerShape>{PointerShape::Busy});
    EXPECT_EQ(pointer.history,
              (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Default}));
    EXPECT_EQ(pointer.current, PointerShape::Default);
}

}  // namespace
}  // namespace verrolift
