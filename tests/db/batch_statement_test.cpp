// A prepared INSERT sent for many rows at once, against a real driver: sqliteodbc,
// or psqlODBC on the PostgreSQL stand-in when built with VERROLIFT_TEST_PG. Each
// case runs with parameter arrays and with one execute per row.
#include "db/batch_statement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db_backend.h"
#include "db_test_util.h"

namespace verrolift {
namespace {

using namespace std::string_literals;

#ifdef VERROLIFT_TEST_PG
#define BatchStatementTest PgBatchStatement
#else
#define BatchStatementTest SqliteBatchStatement
#endif

class BatchStatementTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { connection.Open(db.ConnectionString()); }
    OdbcBatchStatement Prepare(std::size_t maxRows) {
        return OdbcBatchStatement(connection, "INSERT INTO \"" + db.Table() + "\" VALUES(?,?)", 2,
                                  maxRows, GetParam());
    }
    static void Add(ParameterRows& rows, ParameterValue a, ParameterValue b) {
        const ParameterValue row[] = {a, b};
        rows.Add(row);
    }

    test::DbBackend db;
    OdbcConnection connection;
};

TEST_P(BatchStatementTest, ValuesArriveAsTheirBytesWithNullAndEmptyKeptApart) {
    auto statement = Prepare(10);
    // Both drivers here take parameter arrays; without them every row goes on its own.
    EXPECT_EQ(statement.UsesArrays(), GetParam());
    ParameterRows rows(2);
    Add(rows, {"O'Brien", false}, {"1", false});
    Add(rows, {"", true}, {"2", false});
    Add(rows, {"\xc3\xa9t\xc3\xa9 \"x\", ", false}, {"", true});
    Add(rows, {"a much longer value than the others", false}, {"4", false});
    connection.SetAutocommit(false);
    statement.Execute(rows);
    connection.Commit();
    const std::vector<std::string> expected{
        test::Hex("O'Brien") + "|1", "<NULL>|2", test::Hex("\xc3\xa9t\xc3\xa9 \"x\", ") + "|<NULL>",
        test::Hex("a much longer value than the others") + "|4"};
    EXPECT_EQ(db.Rows(), expected);

    // An empty value that is not null is the empty string, not NULL.
    ParameterRows empty(2);
    Add(empty, {"", false}, {"5", false});
    statement.Execute(empty);
    connection.Commit();
    EXPECT_EQ(db.Rows().back(), "|5");
}

TEST_P(BatchStatementTest, ARefusedRowFailsTheBatchAndRollbackLeavesNothingOfIt) {
    auto statement = Prepare(10);
    ParameterRows rows(2);
    Add(rows, {"before", false}, {"2", false});
    Add(rows, {"bad", false}, {"not a number", false});
    Add(rows, {"after", false}, {"3", false});
    connection.SetAutocommit(false);
    EXPECT_THROW(statement.Execute(rows), OdbcError);
    connection.Rollback();
    EXPECT_EQ(db.Rows(), std::vector<std::string>{});

    // The statement and the connection go on after the refusal.
    rows.Clear();
    Add(rows, {"next", false}, {"4", false});
    statement.Execute(rows);
    connection.Commit();
    EXPECT_EQ(db.Rows(), std::vector<std::string>{test::Hex("next") + "|4"});
}

TEST_P(BatchStatementTest, RowsBeyondThePreparedCountOrOfAnotherWidthAreRefused) {
    auto statement = Prepare(2);
    ParameterRows three(2);
    for (int i = 0; i < 3; ++i) Add(three, {"x", false}, {"1", false});
    EXPECT_THROW(statement.Execute(three), OdbcError);
    ParameterRows narrow(1);
    const ParameterValue one[] = {{"x", false}};
    narrow.Add(one);
    EXPECT_THROW(statement.Execute(narrow), OdbcError);
    EXPECT_EQ(db.Rows(), std::vector<std::string>{});
}

TEST_P(BatchStatementTest, RowsGoSeveralToAStatementInTheirOrder) {
    OdbcBatchStatement statement(connection,
                                 "INSERT INTO \"" + db.Table() + "\" VALUES(?,?),(?,?),(?,?)", 6, 9,
                                 GetParam(), 3);
    EXPECT_EQ(statement.Columns(), 2u);
    ParameterRows rows(2);
    std::vector<std::string> expected;
    for (int i = 0; i < 8; ++i) {
        // A null and an empty value in other places of the sets, values of other widths.
        const std::string a(static_cast<std::size_t>(i), 'a');
        const bool nullA = i == 4;
        Add(rows, {a, nullA}, {std::to_string(i * 100), i == 7});
        expected.push_back((nullA ? "<NULL>" : test::Hex(a)) + "|" +
                           (i == 7 ? "<NULL>" : std::to_string(i * 100)));
    }
    connection.SetAutocommit(false);
    // Part of a set is refused; whole sets from a later row go.
    EXPECT_THROW(statement.Execute(rows, 0, 8), OdbcError);
    statement.Execute(rows, 2, 6);
    connection.Commit();
    EXPECT_EQ(db.Rows(), std::vector<std::string>(expected.begin() + 2, expected.end()));
}

TEST_P(BatchStatementTest, TextOfOtherScriptsArrivesAsItsUtf8) {
    auto statement = Prepare(10);
    const std::vector<std::string> texts{
        "Gr\xc3\xb6\xc3\x9f"
        "e",
        "\xe6\x95\xb0\xe6\x8d\xae", "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1", "\xc3\xa9"};
    ParameterRows rows(2);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        Add(rows, {texts[i], false}, {std::to_string(i), false});
        expected.push_back(test::Hex(texts[i]) + "|" + std::to_string(i));
    }
    statement.Execute(rows);
    EXPECT_EQ(db.Rows(), expected);
}

#ifdef _WIN32
// Such a value has no UTF-16 form: its row is left to a statement of its own.
TEST_P(BatchStatementTest, AValueThatIsNotUtf8IsRefusedBeforeAnyRowIsSent) {
    auto statement = Prepare(10);
    ParameterRows rows(2);
    Add(rows, {"first", false}, {"1", false});
    Add(rows, {"caf\xe9", false}, {"2", false});
    EXPECT_THROW(statement.Execute(rows), OdbcError);
    EXPECT_EQ(db.Rows(), std::vector<std::string>{});
}
#endif

INSTANTIATE_TEST_SUITE_P(Sending, BatchStatementTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? std::string("Arrays") : std::string("RowByRow");
                         });

}  // namespace
}  // namespace verrolift
