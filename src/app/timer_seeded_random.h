#pragma once

#include <cstdint>
#include <ctime>

#include "app/home_page.h"

namespace verrolift {

// The seed of a start: the whole seconds since midnight of the local time.
std::uint32_t SecondsSinceMidnight(const std::tm& local);

// Fractions drawn from a generator seeded with seed: the same seed gives the same draws.
RandomFraction SeededFraction(std::uint32_t seed);

// A generator seeded from the seconds since midnight now, as each start does.
RandomFraction TimerSeededFraction();

}  // namespace verrolift
