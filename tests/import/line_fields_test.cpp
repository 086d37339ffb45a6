#include "import/line_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "support/import_helpers.h"

namespace verrolift {
namespace {

struct SplitCase {
    const char* line;
    const char* separator;
    std::vector<std::string> fields;
};

class SplitFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFieldsTest, CutsAtTheWholeSeparator) {
    EXPECT_EQ(SplitFields(GetParam().line, GetParam().separator), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitFieldsTest,
    ::testing::Values(
        SplitCase{"a,b,c", ",", {"a", "b", "c"}}, SplitCase{"a,,c,", ",", {"a", "", "c", ""}},
        SplitCase{",a", ",", {"", "a"}}, SplitCase{",", ",", {"", ""}}, SplitCase{"", ",", {}},
        SplitCase{"", "", {}}, SplitCase{"a,b", "", {"a,b"}},
        SplitCase{"a; b;c", "; ", {"a", "b;c"}}, SplitCase{"XaxB", "x", {"Xa", "B"}},
        SplitCase{"\"x,y\",z", ",", {"\"x", "y\"", "z"}},
        SplitCase{" a |\tb ", "|", {" a ", "\tb "}}, SplitCase{"a||b|||c", "||", {"a", "b", "|c"}},
        SplitCase{"abcabc", "abc", {"", "", ""}}, SplitCase{"it's,'q'", ",", {"it's", "'q'"}},
        SplitCase{"no separator here", "|", {"no separator here"}}));

struct SkipCase {
    ImportMode mode;
    ColumnSource columns;
    bool skipHeader;
    bool skips;
};

class SkipsFirstLineTest : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkipsFirstLineTest, FollowsModeAndOptions) {
    ImportOptions options;
    options.mode = GetParam().mode;
    options.columnSource = GetParam().columns;
    options.skipHeaderOnAppend = GetParam().skipHeader;
    EXPECT_EQ(SkipsFirstLine(options), GetParam().skips);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkipsFirstLineTest,
    ::testing::Values(SkipCase{ImportMode::CreateTable, ColumnSource::HeaderLine, false, false},
                      SkipCase{ImportMode::CreateTable, ColumnSource::HeaderLine, true, false},
                      SkipCase{ImportMode::CreateTable, ColumnSource::TypedNames, false, true},
                      SkipCase{ImportMode::CreateTable, ColumnSource::Unset, false, true},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::HeaderLine, true, true},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::HeaderLine, false, false},
                      SkipCase{ImportMode::AppendToTable, ColumnSource::TypedNames, false, false},
                      SkipCase{ImportMode::Unset, ColumnSource::HeaderLine, false, true}));

}  // namespace
}  // namespace verrolift
