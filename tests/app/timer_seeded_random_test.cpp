#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "app/timer_seeded_random.h"

namespace verrolift {
namespace {

struct ClockCase {
    int hour;
    int minute;
    int second;
    std::uint32_t seconds;
};

class MidnightSeed : public ::testing::TestWithParam<ClockCase> {};

TEST_P(MidnightSeed, CountsWholeSecondsSinceMidnight) {
    std::tm local{};
    local.tm_hour = GetParam().hour;
    local.tm_min = GetParam().minute;
    local.tm_sec = GetParam().second;
    // The date plays no part.
    local.tm_mday = 17;
    local.tm_mon = 5;
    local.tm_year = 121;
    EXPECT_EQ(SecondsSinceMidnight(local), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(TimerSeededRandom, MidnightSeed,
                         ::testing::Values(ClockCase{0, 0, 0, 0}, ClockCase{0, 0, 59, 59},
                                           ClockCase{0, 1, 0, 60}, ClockCase{1, 0, 0, 3600},
                                           ClockCase{12, 34, 56, 45296},
                                           ClockCase{23, 59, 59, 86399}),
                         [](const ::testing::TestParamInfo<ClockCase>& p) {
                             return "At" + std::to_string(p.param.seconds);
                         });

std::uint32_t SecondsNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return SecondsSinceMidnight(local);
}

TEST(TimerSeededRandom, AStartIsSeededWithTheLocalSecondsSinceMidnight) {
    const std::uint32_t before = SecondsNow();
    const double first = TimerSeededFraction()();
    const std::uint32_t after = SecondsNow();
    // The clock may tick between the readings: the seed is one of the two.
    EXPECT_TRUE(first == SeededFraction(before)() || first == SeededFraction(after)());
}

}  // namespace
}  // namespace verrolift
