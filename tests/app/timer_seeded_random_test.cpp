#include <ctime>

#include <gtest/gtest.h>

#include "app/timer_seeded_random.h"

namespace verrolift {
namespace {

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
