#include "app/timer_seeded_random.h"

#include <memory>
#include <random>

namespace verrolift {

std::uint32_t SecondsSinceMidnight(const std::tm& local) {
    return static_cast<std::uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

RandomFraction SeededFraction(std::uint32_t seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

RandomFraction TimerSeededFraction() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return SeededFraction(SecondsSinceMidnight(local));
}

}  // namespace verrolift
