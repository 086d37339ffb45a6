#include "files/wildcard.h"

#include <gtest/gtest.h>

#include "support/folder_tree.h"

namespace verrolift {
namespace {

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* os) {
    *os << '"' << c.pattern << "\" vs \"" << c.name << '"';
}

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesAsAFileSearchDoes) {
    EXPECT_EQ(WildcardPattern(GetParam().pattern).Matches(GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WildcardTest,
    ::testing::Values(
        // Extension patterns, in any letter case.
        WildcardCase{"*.txt", "orders.txt", true}, WildcardCase{"*.txt", "ORDERS.TXT", true},
        WildcardCase{"*.csv", "A.CSV", true}, WildcardCase{"*.CSV", "a.csv", true},
        WildcardCase{"*.txt", "orders.txt.bak", false}, WildcardCase{"*.txt", "orders.tx", false},
        WildcardCase{"*.txt", "txt", false}, WildcardCase{"*.txt", ".txt", true},
        WildcardCase{"*.doc", "a.docx", false}, WildcardCase{"*.txt", "a.b.txt", true},
        // "*.*" is every name, also one without a dot.
        WildcardCase{"*.*", "README", true}, WildcardCase{"*.*", "a.b", true},
        WildcardCase{"*.*", ".profile", true}, WildcardCase{"*.*", "x.", true},
        WildcardCase{"data.*", "data", true}, WildcardCase{"data.*", "data.csv", true},
        WildcardCase{"data.*", "database", false},
        // "?" is exactly one character.
        WildcardCase{"*.t?t", "a.txt", true}, WildcardCase{"*.t?t", "a.tt", false},
        WildcardCase{"*.t?t", "a.text", false}, WildcardCase{"a?c", "abc", true},
        WildcardCase{"a?c", "ac", false},
        // Stars anywhere, with backtracking.
        WildcardCase{"*a*b*", "xxaxxbxx", true}, WildcardCase{"*a*b*", "xxbxxaxx", false},
        WildcardCase{"*", "", true}, WildcardCase{"", "a", false},
        WildcardCase{"*.*.*", "a.b", true},  // the last ".*" may match nothing
        WildcardCase{"*ab", "aab", true}, WildcardCase{"a*a*a", "aaa", true},
        WildcardCase{"a*a*a", "aa", false}));

TEST(WildcardLocale, NonAsciiNamesFoldCaseAndCountCharacters) {
    test::ScopedCtype utf8("C.UTF-8");
    ASSERT_TRUE(utf8.Ok());
    EXPECT_TRUE(WildcardPattern("*.txt").Matches("caf\xc3\xa9.TXT"));
    EXPECT_TRUE(
        WildcardPattern("caf?.txt").Matches("caf\xc3\xa9.txt"));  // one character, two bytes
    EXPECT_FALSE(WildcardPattern("caf??.txt").Matches("caf\xc3\xa9.txt"));
    EXPECT_TRUE(WildcardPattern("*.\xc3\xa9").Matches("x.\xc3\x89"));  // é matches É
    // A byte that forms no character matches only itself.
    EXPECT_TRUE(WildcardPattern("*.txt").Matches("bad\xff.txt"));
    EXPECT_TRUE(WildcardPattern("bad?.txt").Matches("bad\xff.txt"));
    EXPECT_FALSE(WildcardPattern("bad\xfe.txt").Matches("bad\xff.txt"));
}

}  // namespace
}  // namespace verrolift
