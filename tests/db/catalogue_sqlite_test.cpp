#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/catalogue.h"
#include "db/odbc.h"
#include "support/recording_dialogs.h"
#include "support/test_database.h"

namespace verrolift {
namespace {

using test::RecordingPump;
using test::SqliteDatabase;

// Tables created in an order that is neither sorted nor reverse-sorted.
void CreateThreeTables(const SqliteDatabase& db) {
    db.Exec("CREATE TABLE zeta (a TEXT)");
    db.Exec("CREATE TABLE \"Alpha\" (a TEXT)");
    db.Exec("CREATE TABLE mid (a TEXT)");
}

TEST(SqliteCatalogue, ListsTheTablesInTheDatabasesOrder) {
    SqliteDatabase db;
    CreateThreeTables(db);
    VectorTableList list;
    RecordingPump pump;
    ListUserTables(list, db.ConnectionString(), pump);
    EXPECT_EQ(list.Names(), db.Column(kCatalogueQuery));
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"zeta", "Alpha", "mid"}));
}

TEST(SqliteCatalogue, YieldsBeforeEveryRowAndAppendsAfterWhatTheListHolds) {
    SqliteDatabase db;
    CreateThreeTables(db);
    VectorTableList list({"old", "zeta"});
    RecordingPump pump;
    std::vector<int> countAtYield;
    pump.onYield = [&] { countAtYield.push_back(list.Count()); };
    ListUserTables(list, db.ConnectionString(), pump);
    EXPECT_EQ(countAtYield, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"old", "zeta", "zeta", "Alpha", "mid"}));
}

TEST(SqliteCatalogue, NoTablesNoRowsNoYields) {
    SqliteDatabase db;
    VectorTableList list;
    RecordingPump pump;
    ListUserTables(list, db.ConnectionString(), pump);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(pump.yields, 0);
}

TEST(SqliteCatalogue, NamesAppendedBeforeAFailureStay) {
    SqliteDatabase db;
    CreateThreeTables(db);
    VectorTableList list;
    RecordingPump pump;
    pump.onYield = [&] {
        if (pump.yields == 3) throw Failure("window closed the wrong way");
    };
    EXPECT_THROW(ListUserTables(list, db.ConnectionString(), pump), Failure);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"zeta", "Alpha"}));
}

TEST(SqliteCatalogue, AClosingProgramStopsTheFillAtOnce) {
    SqliteDatabase db;
    CreateThreeTables(db);
    VectorTableList list;
    RecordingPump pump;
    pump.onYield = [&] { throw RunAborted{}; };
    EXPECT_THROW(ListUserTables(list, db.ConnectionString(), pump), RunAborted);
    EXPECT_EQ(list.Count(), 0);
}

TEST(SqliteCatalogue, AnUnreachableDatabaseReachesTheCallerWithADescription) {
    test::TempDir dir;
    VectorTableList list({"kept"});
    RecordingPump pump;
    try {
        ListUserTables(list, "Driver={SQLite3};Database=" + dir.File("gone/x.db") + ";", pump);
        ADD_FAILURE() << "no failure";
    } catch (const OdbcError& e) {
        EXPECT_FALSE(e.Description().empty());
    }
    EXPECT_EQ(list.Names(), std::vector<std::string>{"kept"});
    EXPECT_EQ(pump.yields, 0);
}

TEST(SqliteCatalogue, AMissingCatalogueViewIsAFailureNotAnEmptyList) {
    SqliteDatabase db;
    db.Exec("DROP VIEW user_tables");
    VectorTableList list;
    RecordingPump pump;
    EXPECT_THROW(ListUserTables(list, db.ConnectionString(), pump), OdbcError);
}

}  // namespace
}  // namespace verrolift
