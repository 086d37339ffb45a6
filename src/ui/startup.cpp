#include "ui/startup.h"

#include <QDesktopServices>
#include <QUrl>

namespace verrolift {

UrlOpener DesktopUrlOpener() {
    return [](const std::string& address) {
        return QDesktopServices::openUrl(QUrl(QString::fromLocal8Bit(address)));
    };
}

}  // namespace verrolift
