#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "db/connection.h"
#include "db/odbc.h"

namespace verrolift {
namespace {

struct BuildCase {
    ConnectionProfile profile;
    std::string expected;
};

void PrintTo(const BuildCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.expected);
}

class BuildConnectionStringTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuildConnectionStringTest, IsByteExact) {
    EXPECT_EQ(BuildConnectionString(GetParam().profile), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, BuildConnectionStringTest,
    ::testing::Values(
        BuildCase{{"ORCL", "scott", "tiger"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=tiger;"},
        BuildCase{{"", "", ""}, "Driver={Microsoft ODBC for Oracle};Server=;Uid=;Pwd=;"},
        // Blanks are part of the values.
        BuildCase{{" ORCL ", " scott", "tiger  "},
                  "Driver={Microsoft ODBC for Oracle};Server= ORCL ;Uid= scott;Pwd=tiger  ;"},
        // Values the driver would cut or misread go between braces, "}" doubled.
        BuildCase{{"ORCL", "scott", "pa;ss"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd={pa;ss};"},
        BuildCase{{"ORCL", "scott", "{abc}"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd={{abc}}};"},
        BuildCase{{"ORCL", "scott", "a;b}c"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd={a;b}}c};"},
        BuildCase{{"OR;CL", "sc;ott", ";"},
                  "Driver={Microsoft ODBC for Oracle};Server={OR;CL};Uid={sc;ott};Pwd={;};"},
        BuildCase{{"{", "u", "p"}, "Driver={Microsoft ODBC for Oracle};Server={{};Uid=u;Pwd=p;"},
        // Everything else stays verbatim, "}" and "=" and non-ASCII bytes included.
        BuildCase{{"ORCL", "scott", "a}b"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=a}b;"},
        BuildCase{{"ORCL", "scott", "x{y"},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=x{y;"},
        BuildCase{{"ORCL", "scott", "a=b'c\""},
                  "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=a=b'c\";"},
        BuildCase{
            {"/tmp/sock dir", "\xE9t\xE9", "\x80\xFF"},
            "Driver={Microsoft ODBC for Oracle};Server=/tmp/sock dir;Uid=\xE9t\xE9;Pwd=\x80\xFF;"},
        BuildCase{{" {x", "u", "p"},
                  "Driver={Microsoft ODBC for Oracle};Server= {x;Uid=u;Pwd=p;"}));

struct DriverCase {
    std::string given;
    std::string expected;
};

void PrintTo(const DriverCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.given);
}

class ConnectionStringForDriverTest : public ::testing::TestWithParam<DriverCase> {};

TEST_P(ConnectionStringForDriverTest, AddsDbqOnlyWhenServerStandsAlone) {
    EXPECT_EQ(ConnectionStringForDriver(GetParam().given), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ConnectionStringForDriverTest,
    ::testing::Values(
        DriverCase{"Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=tiger;",
                   "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=tiger;DBQ=ORCL;"},
        // A string without a final ";" still gets a separator.
        DriverCase{"Driver={X};Server=ORCL;Uid=a;Pwd=b",
                   "Driver={X};Server=ORCL;Uid=a;Pwd=b;DBQ=ORCL;"},
        // The value is copied as written, braces included.
        DriverCase{"Driver={X};Server={OR;CL};Pwd={p;w}",
                   "Driver={X};Server={OR;CL};Pwd={p;w};DBQ={OR;CL};"},
        DriverCase{"Server={a}}b};Uid=u;", "Server={a}}b};Uid=u;DBQ={a}}b};"},
        DriverCase{"Server=;Uid=;Pwd=;", "Server=;Uid=;Pwd=;DBQ=;"},
        DriverCase{"SERVER=orcl;", "SERVER=orcl;DBQ=orcl;"},
        DriverCase{" Server =ORCL;", " Server =ORCL;DBQ=ORCL;"},
        // A DBQ already given wins, whatever its case.
        DriverCase{"Server=A;DBQ=B;", "Server=A;DBQ=B;"},
        DriverCase{"dbq=B;server=A", "dbq=B;server=A"},
        // No Server attribute: unchanged.
        DriverCase{"Driver={SQLite3};Database=/tmp/x.db;", "Driver={SQLite3};Database=/tmp/x.db;"},
        DriverCase{"Servername=host;Uid=u;", "Servername=host;Uid=u;"}, DriverCase{"", ""},
        // "Server=" inside a braced value is not an attribute.
        DriverCase{"Driver={X};Pwd={x;Server=evil};Uid=u;",
                   "Driver={X};Pwd={x;Server=evil};Uid=u;"},
        DriverCase{"Pwd={a}};Server=b};Uid=u;", "Pwd={a}};Server=b};Uid=u;"},
        // What BuildConnectionString makes for a braced password.
        DriverCase{
            "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd={pa;ss};",
            "Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd={pa;ss};DBQ=ORCL;"}));

}  // namespace
}  // namespace verrolift
