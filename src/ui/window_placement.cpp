#include "ui/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace verrolift {

void WindowPlacement::Show() {
    if (!at_) {
        const QScreen* screen =
            window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
        // Before its first showing the window has no frame yet: it will get
        // one like any other window of the program that is up.
        QSize frame = window_->size();
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            if (other != window_ && other->isVisible()) {
                frame += other->frameGeometry().size() - other->size();
                break;
            }
        }
        at_ = screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2);
    }
    // An explicit position, which the window manager keeps.
    window_->move(*at_);
    window_->show();
}

void WindowPlacement::Hide() {
    if (window_->isVisible()) at_ = window_->pos();
    window_->hide();
}

void CentreOverOwner(QWidget* box) {
    const QWidget* parent = box->parentWidget();
    const QWidget* owner = parent ? parent->window() : nullptr;
    if (!owner || !owner->isVisible()) return;
    // The box will be framed as its owner is; a box not shown yet takes its
    // position as the place of its inside, so the frame is added back here.
    const QRect ownerFrame = owner->frameGeometry();
    const QPoint inside = owner->geometry().topLeft() - ownerFrame.topLeft();
    const QSize frame = box->size() + (ownerFrame.size() - owner->size());
    box->move(ownerFrame.center() - QPoint(frame.width() / 2, frame.height() / 2) + inside);
    // Where the platform knows the frame already, it took the position as the frame's, and
    // the frame lies off by the inside: it goes where it was meant to be.
    const QRect placed = box->frameGeometry();
    if (placed != box->geometry()) {
        const QPoint meant = ownerFrame.center() - QPoint(placed.width() / 2, placed.height() / 2);
        box->move(box->pos() + (meant - placed.topLeft()));
    }
}

}  // namespace verrolift
