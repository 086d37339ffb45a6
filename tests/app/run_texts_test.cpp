#include <string>

#include <gtest/gtest.h>

#include "app/run_texts.h"

namespace verrolift {
namespace {

struct CaptionCase {
    int position, count;
    long long rows;
    const char* caption;
};

class CaptionText : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionText, NamesTheFileAndTheRowsWithGroupedDigits) {
    const CaptionCase& c = GetParam();
    EXPECT_EQ(ProgressCaptionText("Verrolift", c.position, c.count, c.rows), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Caption, CaptionText,
    ::testing::Values(CaptionCase{1, 1, 0, "Verrolift - file 1 of 1, 0 rows"},
                      CaptionCase{1, 3, 1, "Verrolift - file 1 of 3, 1 row"},
                      CaptionCase{2, 5, 1000, "Verrolift - file 2 of 5, 1,000 rows"},
                      CaptionCase{999, 1000, 123456, "Verrolift - file 999 of 1,000, 123,456 rows"},
                      CaptionCase{7, 12, 1234567890LL,
                                  "Verrolift - file 7 of 12, 1,234,567,890 rows"}));

}  // namespace
}  // namespace verrolift
