// A scoped transaction against a real driver: sqliteodbc, or psqlODBC on the
// PostgreSQL stand-in when built with VERROLIFT_TEST_PG.
#include "db/transaction.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "db_backend.h"
#include "db_test_util.h"

namespace verrolift {
namespace {

#ifdef VERROLIFT_TEST_PG
#define TransactionTest PgTransaction
#else
#define TransactionTest SqliteTransaction
#endif

enum class Ending { Committed, LeftUncommitted, LeftByAFailure };

struct EndingCase {
    const char* name;
    Ending ending;
    bool rowsKept;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
    *os << c.name;
}

class TransactionTest : public testing::TestWithParam<EndingCase> {
protected:
    void SetUp() override { connection.Open(db.ConnectionString()); }
    void Insert(const std::string& a, int b) {
        connection.Execute("INSERT INTO \"" + db.Table() + "\" VALUES(" + test::Literal(a) + ", " +
                           std::to_string(b) + ")");
    }

    test::DbBackend db;
    OdbcConnection connection;
};

TEST_P(TransactionTest, RowsStayOnlyWhenCommittedAndAutocommitComesBackAfterwards) {
    const EndingCase& c = GetParam();
    try {
        OdbcTransaction transaction(connection);
        Insert("one", 1);
        Insert("two", 2);
        // Another client sees nothing yet: the rows wait for the transaction's end.
        EXPECT_EQ(db.Rows(), std::vector<std::string>{});
        if (c.ending == Ending::Committed) transaction.Commit();
        if (c.ending == Ending::LeftByAFailure) throw std::runtime_error("left early");
    } catch (const std::runtime_error&) {
    }
    std::vector<std::string> expected;
    if (c.rowsKept) expected = {test::Hex("one") + "|1", test::Hex("two") + "|2"};
    EXPECT_EQ(db.Rows(), expected);

    // Committed on its own: another client sees it while this connection stays open.
    Insert("after", 3);
    expected.push_back(test::Hex("after") + "|3");
    EXPECT_EQ(db.Rows(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, TransactionTest,
    testing::Values(EndingCase{"Committed", Ending::Committed, true},
                    EndingCase{"LeftUncommitted", Ending::LeftUncommitted, false},
                    EndingCase{"LeftByAFailure", Ending::LeftByAFailure, false}),
    [](const testing::TestParamInfo<EndingCase>& param) { return std::string(param.param.name); });

TEST(TransactionOnAClosedConnection, IsRefused) {
    OdbcConnection connection;
    EXPECT_THROW(OdbcTransaction transaction(connection), OdbcError);
}

}  // namespace
}  // namespace verrolift
