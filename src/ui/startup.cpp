#include "ui/startup.h"

#include <QDesktopServices>
#include <QTime>
#include <QUrl>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "base/failure.h"

namespace verrolift {

RandomFraction TimerSeededFraction() {
    const auto seed =
        static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay() / 1000);
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

UrlOpener DesktopUrlOpener() {
    return [](const std::string& address) {
        return QDesktopServices::openUrl(QUrl(QString::fromLocal8Bit(address)));
    };
}

int HomePageDraw(double r) {
    int n = static_cast<int>(std::floor(r * 100.0)) + 1;
    // A source that strays outside [0, 1) still gives a number in range.
    if (n < 1) n = 1;
    if (n > 100) n = 100;
    return n;
}

void VisitHomePageAtRandom(const RandomFraction& random, const UrlOpener& open) {
    if (HomePageDraw(random()) != 7) return;
    const std::string address(kHomePageAddress);
    if (!open(address)) throw Failure("Cannot open " + address);
}

}  // namespace verrolift
