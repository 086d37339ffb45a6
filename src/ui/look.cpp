#include "ui/look.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QWidget>

#include <cmath>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/paths.h"

#include "application_icon_svg.h"

namespace verrolift {

namespace {

QString& TitleStorage() {
    static QString title = QString::fromLocal8Bit(std::string(kProductName));
    return title;
}

bool TakesFaceColor(const QWidget* w) {
    return qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w) ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QLabel*>(w);
}

template <class Fn>
void ForWindowAndBackgroundControls(QWidget* window, Fn&& fn) {
    fn(window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (TakesFaceColor(child)) fn(child);
    }
}

// A cursor file's first image entry carries the hot spot where an icon keeps
// its planes and bit count.
std::optional<QPoint> CursorHotSpot(const QByteArray& bytes) {
    if (bytes.size() < 6 + 16) return std::nullopt;
    auto u16 = [&](int at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at])) |
               (static_cast<int>(static_cast<unsigned char>(bytes[at + 1])) << 8);
    };
    if (u16(0) != 0 || u16(2) != 2 || u16(4) < 1) return std::nullopt;
    return QPoint(u16(6 + 4), u16(6 + 6));
}

}  // namespace

int TwipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

int TwipsToPixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return TwipsToPixels(twips, dpi > 0 ? dpi : 96.0);
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

QFont ControlFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.0);
    font.setWeight(QFont::Bold);
    return font;
}

QFont ButtonFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setWeight(QFont::Bold);
    return font;
}

void ApplyFaceColor(QWidget* window) {
    ForWindowAndBackgroundControls(window, [](QWidget* w) {
        w->setAutoFillBackground(true);
        w->setBackgroundRole(QPalette::Button);
    });
}

void ApplyDesignBackground(QWidget* window) {
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!TakesFaceColor(child)) continue;
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, Qt::white);
        child->setPalette(palette);
        child->setAutoFillBackground(true);
        child->setBackgroundRole(QPalette::Window);
    }
}

void ApplySkin(QWidget* loginWindow, const std::string& programFolder) {
    const std::string path = ProgramFile(programFolder, kSkinFile);
    if (!IsExistingFile(path)) return;
    ApplyFaceColor(loginWindow);
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure("Cannot read the skin file " + path + ": " +
                      file.errorString().toLocal8Bit().toStdString());
    loginWindow->setStyleSheet(QString::fromUtf8(file.readAll()));
}

void SetApplicationTitle() {
    TitleStorage() = QString::fromLocal8Bit(TitleFromProductName(kProductName));
}

QString ApplicationTitle() {
    return TitleStorage();
}

QIcon ApplicationIcon() {
    // The icon the desktop entry installs, drawn at the sizes title bars and task lists ask for.
    QSvgRenderer renderer{QByteArray(kApplicationIconSvg)};
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

std::optional<QCursor> LoadCursorFile(const std::string& path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();
    const auto hotSpot = CursorHotSpot(bytes);
    if (!hotSpot) return std::nullopt;
    QImageReader reader(QString::fromLocal8Bit(path), "cur");
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return QCursor(QPixmap::fromImage(image), hotSpot->x(), hotSpot->y());
}

}  // namespace verrolift
