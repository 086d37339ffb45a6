#include <string>

#include <gtest/gtest.h>

#include "win32/owner_centring.h"

namespace verrolift::win32 {
namespace {

constexpr RECT kScreen{0, 0, 1280, 1024};

struct PlaceCase {
    const char* name;
    SIZE box;
    RECT owner;
    RECT placed;
    friend void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.name; }
};

class CentredPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(CentredPlace, SitsOverTheOwnerWithinTheWorkArea) {
    const RECT r = CentredOver(GetParam().box, GetParam().owner, kScreen);
    const RECT& want = GetParam().placed;
    EXPECT_EQ(r.left, want.left);
    EXPECT_EQ(r.top, want.top);
    EXPECT_EQ(r.right, want.right);
    EXPECT_EQ(r.bottom, want.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    OwnerCentring, CentredPlace,
    ::testing::Values(
        PlaceCase{"Centred", {200, 100}, {100, 100, 700, 500}, {300, 250, 500, 350}},
        PlaceCase{"LargerThanItsOwner", {400, 300}, {500, 400, 700, 500}, {400, 300, 800, 600}},
        PlaceCase{
            "PushedInFromTheLeftAndTop", {400, 300}, {-300, -200, 100, 100}, {0, 0, 400, 300}},
        PlaceCase{"PushedInFromTheRightAndBottom",
                  {400, 300},
                  {1200, 900, 1600, 1200},
                  {880, 724, 1280, 1024}},
        PlaceCase{"LargerThanTheScreen", {1500, 1100}, {100, 100, 500, 500}, {0, 0, 1500, 1100}}),
    [](const ::testing::TestParamInfo<PlaceCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace verrolift::win32
