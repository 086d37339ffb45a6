#include "base/display_text.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

struct DisplayCase {
    std::string text;
    std::string kept;
    std::string shown;
};

class ForDisplayTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(ForDisplayTest, WritesControlBytesAsHexAndLeavesTheRest) {
    EXPECT_EQ(ForDisplay(GetParam().text, GetParam().kept), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ForDisplayTest,
    ::testing::Values(
        DisplayCase{"/data/plain name.csv", "", "/data/plain name.csv"},
        DisplayCase{"a\x1b[31mred\nb.csv", "", "a\\x1B[31mred\\x0Ab.csv"},
        DisplayCase{std::string("\0\t\r\x1f\x7f", 5), "", "\\x00\\x09\\x0D\\x1F\\x7F"},
        // Bytes of other characters and backslashes are no control: Latin-1, UTF-8, Windows
        // paths.
        DisplayCase{"C:\\Caf\xe9\\\xc3\xa9t\xc3\xa9 ~", "", "C:\\Caf\xe9\\\xc3\xa9t\xc3\xa9 ~"},
        DisplayCase{"one\ntwo\tthree\x1b\r", "\n\t", "one\ntwo\tthree\\x1B\\x0D"}));

}  // namespace
}  // namespace verrolift
