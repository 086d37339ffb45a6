#include "ui/startup.h"

#include <QDesktopServices>
#include <QTime>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <random>

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

}  // namespace verrolift
