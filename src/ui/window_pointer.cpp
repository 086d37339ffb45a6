#include "ui/window_pointer.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QWidget>

#include "app/pointer_rules.h"

namespace verrolift {

namespace {
const char* kHandProperty = "verroliftHandPointer";
}

QtWindowPointer::QtWindowPointer(QWidget* window) : window_(window) {}

void QtWindowPointer::SetPointer(PointerShape shape) {
    const bool wasBusy = Busy();
    shape_ = shape;
    Show();
    if (busyListener_ && wasBusy != Busy()) busyListener_(Busy());
}

void QtWindowPointer::SetCustomCursor(const QCursor& cursor) {
    custom_ = cursor;
    Show();
}

void QtWindowPointer::Show() {
    switch (shape_) {
        case PointerShape::Busy:
            window_->setCursor(Qt::WaitCursor);
            break;
        case PointerShape::Custom:
            if (custom_) {
                window_->setCursor(*custom_);
                break;
            }
            window_->unsetCursor();
            break;
        case PointerShape::Default:
            window_->unsetCursor();
            break;
    }
}

PointerFeedback::PointerFeedback(WindowPointer& pointer, QObject* parent)
    : QObject(parent), pointer_(pointer) {}

void PointerFeedback::HandHandler(WindowPointer& pointer) {
    PointerOverButton(pointer);
}

void PointerFeedback::ResetHandler(WindowPointer& pointer) {
    PointerOverSurface(pointer);
}

void PointerFeedback::Hand(QWidget* widget) {
    Watch(widget, true);
}
void PointerFeedback::Reset(QWidget* widget) {
    Watch(widget, false);
}

void PointerFeedback::Watch(QWidget* widget, bool hand) {
    QWidget* target = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) target = area->viewport();
    target->setMouseTracking(true);
    target->setProperty(kHandProperty, hand);
    target->installEventFilter(this);
}

bool PointerFeedback::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        auto* widget = static_cast<QWidget*>(watched);
        const auto* move = static_cast<QMouseEvent*>(event);
        // A move that reached this widget from a child without a handler of
        // its own belongs to that child: the pointer stays as it is.
        if (!widget->childAt(move->position().toPoint())) {
            if (widget->property(kHandProperty).toBool())
                HandHandler(pointer_);
            else
                ResetHandler(pointer_);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace verrolift
