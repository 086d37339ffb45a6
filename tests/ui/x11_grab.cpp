// Saves one window of the X display as a PNG: x11_grab <out.png> <window id>.
// Screenshots of the real program under Xvfb, for the start-up test and the README.
#include <cstdio>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: x11_grab <out.png> <window id>\n");
        return 2;
    }
    const WId window = std::stoull(argv[2], nullptr, 0);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "x11_grab: cannot grab window %s\n", argv[2]);
        return 1;
    }
    return 0;
}
