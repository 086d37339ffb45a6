#include "import/sql_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import_messages.h"
#include "support/import_helpers.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

struct NameCase {
    const char* pattern;
    int position;
    const char* name;
};

class ResolveTableNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ResolveTableNameTest, ReplacesEveryExactToken) {
    EXPECT_EQ(ResolveTableName(GetParam().pattern, GetParam().position), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveTableNameTest,
                         ::testing::Values(NameCase{"NewTable[counter]", 1, "NewTable1"},
                                           NameCase{"NewTable[counter]", 12, "NewTable12"},
                                           NameCase{"[counter]_t_[counter]", 3, "3_t_3"},
                                           NameCase{"Fixed", 5, "Fixed"},
                                           NameCase{"T[Counter]", 2, "T[Counter]"},
                                           NameCase{"T[COUNTER]", 2, "T[COUNTER]"},
                                           NameCase{"[counter[counter]]", 7, "[counter7]"},
                                           NameCase{"", 1, ""}));

TEST(Identifiers, DoubleQuotesAreDoubledSoANameCannotEndTheIdentifier) {
    EXPECT_EQ(QuoteIdentifier("EMP"), "\"EMP\"");
    EXPECT_EQ(QuoteIdentifier("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(BuildColumnCountQuery("EMP"), "SELECT * FROM \"EMP\"");
    EXPECT_EQ(BuildColumnCountQuery("x\"; DROP TABLE t; --"),
              "SELECT * FROM \"x\"\"; DROP TABLE t; --\"");
    EXPECT_EQ(BuildCreateStatement("t\"(", {"A"}), "CREATE TABLE \"t\"\"(\"(\"A\" CLOB)");
    EXPECT_EQ(BuildRowStatement("q\"", {"1"}), "INSERT INTO \"q\"\"\" VALUES('1')");
}

TEST(CreateStatement, ExactText) {
    EXPECT_EQ(BuildCreateStatement("NewTable1", {"Name", "Age"}),
              "CREATE TABLE \"NewTable1\"(\"Name\" CLOB, \"Age\" CLOB)");
    EXPECT_EQ(BuildCreateStatement("T", {"id"}), "CREATE TABLE \"T\"(\"id\" CLOB)");
    EXPECT_EQ(BuildCreateStatement("T", {}), "CREATE TABLE \"T\"()");
}

struct RowCase {
    std::vector<std::string> fields;
    const char* statement;
    std::vector<bool> emptyLeftOutAt = {};
};

class RowStatementTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowStatementTest, LiteralsWithApostrophesDoubledAndEmptyFieldsAsNull) {
    EXPECT_EQ(BuildRowStatement("NewTable1", GetParam().fields, GetParam().emptyLeftOutAt),
              GetParam().statement);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowStatementTest,
    ::testing::Values(
        RowCase{{"O'Brien", "42"}, "INSERT INTO \"NewTable1\" VALUES('O''Brien','42')"},
        RowCase{{"it's 'quoted'"}, "INSERT INTO \"NewTable1\" VALUES('it''s ''quoted''')"},
        RowCase{{"1", "", "3"}, "INSERT INTO \"NewTable1\" VALUES('1',NULL,'3')"},
        RowCase{{"", "2", ""}, "INSERT INTO \"NewTable1\" VALUES(NULL,'2',NULL)"},
        RowCase{{""}, "INSERT INTO \"NewTable1\" VALUES(NULL)"},
        RowCase{{}, "INSERT INTO \"NewTable1\" VALUES()"},
        // Text that the old ",''" rule would have turned into NULL stays as it is.
        RowCase{{"a", "'b", "c,'d"}, "INSERT INTO \"NewTable1\" VALUES('a','''b','c,''d')"},
        RowCase{{" lead", "trail ", "\"dq\"", "l\nf"},
                "INSERT INTO \"NewTable1\" VALUES(' lead','trail ','\"dq\"','l\nf')"},
        // Positions without a column: an empty value there is left out, any other kept.
        RowCase{{"1", "2", ""}, "INSERT INTO \"NewTable1\" VALUES('1','2')", {false, false, true}},
        RowCase{{"1", "", "3"}, "INSERT INTO \"NewTable1\" VALUES('1','3')", {false, true, false}},
        RowCase{{"1", "x", "3"}, "INSERT INTO \"NewTable1\" VALUES('1','x','3')", {false, true}},
        RowCase{
            {"", "", "", ""}, "INSERT INTO \"NewTable1\" VALUES(NULL,NULL,NULL)", {false, true}},
        RowCase{{""}, "INSERT INTO \"NewTable1\" VALUES()", {true}}));

TEST(RowStatement, YieldsBeforeEachFieldEmptyOnesIncluded) {
    test::RecordingPump pump;
    std::string statement = "left over";
    const std::vector<std::string_view> fields{"a", "", "c", ""};
    AppendRowStatement(statement, "T", fields, pump);
    EXPECT_EQ(pump.yields, 4);
    EXPECT_EQ(statement, "INSERT INTO \"T\" VALUES('a',NULL,'c',NULL)");
}

TEST(RowStatement, QuotedEmptyFieldIsAnEmptyTextAndUnquotedOneNull) {
    test::RecordingPump pump;
    std::string statement;
    const std::vector<std::string_view> fields{"", "", "a\"b", "it's", ""};
    // The last position has no column: even a quoted empty value there is left out.
    AppendRowStatement(statement, "T", fields, pump, {false, false, false, false, true},
                       {1, 0, 1, 0, 1});
    EXPECT_EQ(statement, "INSERT INTO \"T\" VALUES('',NULL,'a\"b','it''s')");
    EXPECT_EQ(pump.yields, 5);
}

TEST(RowStatement, FromValuesNullIsNullAndAnEmptyValueIsAnEmptyLiteral) {
    test::RecordingPump pump;
    std::string statement;
    const ParameterValue values[] = {{"O'B", false}, {"", true}, {"", false}};
    AppendRowStatement(statement, "T", values, pump);
    EXPECT_EQ(statement, "INSERT INTO \"T\" VALUES('O''B',NULL,'')");
    EXPECT_EQ(pump.yields, 3);
}

struct CleanCase {
    const char* text;
    const char* name;
};

class CleanColumnNameTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanColumnNameTest, KeepsOnlyLettersAToZAndDigits) {
    EXPECT_EQ(CleanColumnName(GetParam().text), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Cases, CleanColumnNameTest,
                         ::testing::Values(CleanCase{"First Name", "FirstName"},
                                           CleanCase{"e-mail", "email"},
                                           CleanCase{"2nd_value", "2ndvalue"},
                                           CleanCase{"Q1 (%)", "Q1"},
                                           CleanCase{"Caf\xC3\xA9", "Caf"}, CleanCase{"a\"b", "ab"},
                                           CleanCase{"(%)", ""}, CleanCase{"", ""}));

TEST(FilterChars, KeepsOrDropsByExactCode) {
    EXPECT_EQ(FilterChars("a1b2c3", "abc", true), "abc");
    EXPECT_EQ(FilterChars("a1b2c3", "abc", false), "123");
    EXPECT_EQ(FilterChars("AaBb", "ab", true), "ab");
    EXPECT_EQ(FilterChars("", "ab", true), "");
    EXPECT_EQ(FilterChars("xyz", "", false), "xyz");
}

TEST(ColumnCount, MessageText) {
    EXPECT_EQ(ColumnCountMessage("C:\\data\\a.csv", ",", 3, "EMP", 4),
              "The columns in the text file and the columns in the table must be identical."
              "\r\n\r\nC:\\data\\a.csv was split by , and has 3 columns. The table EMP has 4 "
              "columns.");
    EXPECT_EQ(ColumnCountMessage("/d/b.txt", "; ", 0, "t", 2),
              "The columns in the text file and the columns in the table must be identical."
              "\r\n\r\n/d/b.txt was split by ;  and has 0 columns. The table t has 2 columns.");
}

TEST(MalformedRecord, MessageNamesTheRecordTheLineAndWhereReadingGoesOn) {
    EXPECT_EQ(MalformedRecordMessage("/d/a.csv", {12, 40, QuotedRecordReader::Fault::OpenAtEnd}),
              "Record 12 of the file \"/d/a.csv\", beginning at line 40, is malformed: a quoted "
              "field is still open at the end of the file. It is not sent; reading goes on at "
              "line 41.");
}

}  // namespace
}  // namespace verrolift
