#include "db/parameter_rows.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace verrolift {
namespace {

using namespace std::string_literals;

TEST(ParameterRows, KeepsCopiesOfTheBytesWithNullApartFromEmpty) {
    ParameterRows rows(3);
    {
        std::string a = "it's", b = "x\0y"s;
        const ParameterValue row[] = {{a, false}, {"", true}, {b, false}};
        rows.Add(row);
        a.assign("changed");
    }
    const ParameterValue second[] = {{"", false}, {"long value", false}, {"z", false}};
    rows.Add(second);
    EXPECT_EQ(rows.Count(), 2u);
    EXPECT_EQ(rows.At(0, 0).bytes, "it's");
    EXPECT_TRUE(rows.At(0, 1).null);
    EXPECT_EQ(rows.At(0, 2).bytes, "x\0y"s);
    EXPECT_FALSE(rows.At(1, 0).null);
    EXPECT_EQ(rows.At(1, 0).bytes, "");
    EXPECT_EQ(rows.Width(0), 4u);
    EXPECT_EQ(rows.Width(1), 10u);
    EXPECT_EQ(rows.Width(2), 3u);
}

TEST(ParameterRows, ArrayBytesPadEveryValueToItsColumnsLongest) {
    ParameterRows rows(2);
    const ParameterValue row[] = {{"abc", false}, {"", true}};
    EXPECT_EQ(rows.ArrayBytesWith(row), 4u);  // an empty column still takes a byte
    rows.Add(row);
    EXPECT_EQ(rows.ArrayBytes(), 4u);
    const ParameterValue wider[] = {{"a", false}, {"12345", false}};
    EXPECT_EQ(rows.ArrayBytesWith(wider), 2u * (3 + 5));
    rows.Add(wider);
    EXPECT_EQ(rows.ArrayBytes(), 16u);
    rows.Clear();
    EXPECT_TRUE(rows.Empty());
    EXPECT_EQ(rows.ArrayBytes(), 0u);
    EXPECT_EQ(rows.Width(1), 0u);
}

TEST(ParameterRows, ARowOfAnotherWidthIsRefused) {
    ParameterRows rows(2);
    const ParameterValue one[] = {{"a", false}};
    EXPECT_THROW(rows.Add(one), std::invalid_argument);
    rows.Reset(1);
    rows.Add(one);
    EXPECT_EQ(rows.Count(), 1u);
}

}  // namespace
}  // namespace verrolift
