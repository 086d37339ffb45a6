#include <string>

#include <gtest/gtest.h>

#include "app/separator_text.h"

namespace verrolift {
namespace {

// What the separator box shows, and the separator a run takes from it.
struct SeparatorCase {
    const char* name;
    std::string box;
    std::string separator;
};

class SeparatorBox : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(SeparatorBox, BackslashTIsATabAndATabIsShownSo) {
    EXPECT_EQ(SeparatorOfBoxText(GetParam().box), GetParam().separator);
    EXPECT_EQ(BoxTextOfSeparator(GetParam().separator), GetParam().box);
}

INSTANTIATE_TEST_SUITE_P(App, SeparatorBox,
                         ::testing::Values(SeparatorCase{"Comma", ",", ","},
                                           SeparatorCase{"Tab", "\\t", "\t"},
                                           SeparatorCase{"TabsAmongOthers", "|\\t\\t|", "|\t\t|"},
                                           SeparatorCase{"LoneBackslash", "\\", "\\"},
                                           SeparatorCase{"BackslashOtherLetter", "\\n", "\\n"}),
                         [](const ::testing::TestParamInfo<SeparatorCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
}  // namespace verrolift
