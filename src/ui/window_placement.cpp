#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace verrolift {

void WindowPlacement::Show() {
    if (!at_) {
        const QScreen* screen =
            window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
        // Before the first showing the frame is not known yet: the window's own size stands in.
        const QSize size = window_->frameGeometry().size().expandedTo(window_->size());
        at_ = screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
    }
    // An explicit position, which the window manager keeps.
    window_->move(*at_);
    window_->show();
}

void WindowPlacement::Hide() {
    if (window_->isVisible()) at_ = window_->pos();
    window_->hide();
}

}  // namespace verrolift
