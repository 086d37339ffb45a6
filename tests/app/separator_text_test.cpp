#include <string>

#include <gtest/gtest.h>

#include "app/separator_text.h"

namespace verrolift {
namespace {

// What the box shows, and the separator a run takes from it.
struct SeparatorCase {
    const char* name;
    std::string box;
    std::string separator;
};

class SeparatorBox : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(SeparatorBox, BackslashTIsATabAndATabIsShownSo) {
    const SeparatorCase& c = GetParam();
    EXPECT_EQ(SeparatorOfBoxText(c.box), c.separator);
    EXPECT_EQ(BoxTextOfSeparator(c.separator), c.box);
}

INSTANTIATE_TEST_SUITE_P(App, SeparatorBox,
                         ::testing::Values(SeparatorCase{"Comma", ",", ","},
                                           SeparatorCase{"Tab", "\\t", "\t"},
                                           SeparatorCase{"TwoTabs", "\\t\\t", "\t\t"},
                                           SeparatorCase{"TabBetween", "|\\t|", "|\t|"},
                                           SeparatorCase{"LoneBackslash", "\\", "\\"},
                                           SeparatorCase{"BackslashOtherLetter", "\\n", "\\n"},
                                           SeparatorCase{"Empty", "", ""}),
                         [](const ::testing::TestParamInfo<SeparatorCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(SeparatorBox, APastedTabIsShownAsBackslashTAndStillMeansATab) {
    const std::string pasted = "a\tb";
    const std::string shown = BoxTextOfSeparator(pasted);
    EXPECT_EQ(shown.find('\t'), std::string::npos);
    EXPECT_EQ(SeparatorOfBoxText(shown), pasted);
}

}  // namespace
}  // namespace verrolift
