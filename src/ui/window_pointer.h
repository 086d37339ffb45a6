#pragma once

#include <functional>
#include <optional>

#include <QCursor>
#include <QObject>

#include "base/host.h"

class QWidget;

namespace verrolift {

// A window's pointer setting: default, busy (hourglass) or the window's own
// hand pointer, shown over its surface and its push buttons. With no hand
// pointer loaded the custom setting shows the ordinary pointer.
class QtWindowPointer : public WindowPointer {
public:
    explicit QtWindowPointer(QWidget* window);
    void SetPointer(PointerShape shape) override;
    PointerShape Pointer() const override { return shape_; }

    void SetCustomCursor(const QCursor& cursor);
    bool HasCustomCursor() const { return custom_.has_value(); }
    bool Busy() const { return shape_ == PointerShape::Busy; }
    // Told when the busy pointer comes and goes, for controls that show a
    // pointer of their own and must show the busy one as well.
    void OnBusyChange(std::function<void(bool busy)> listener) {
        busyListener_ = std::move(listener);
    }

private:
    void Show();
    QWidget* window_;
    PointerShape shape_ = PointerShape::Default;
    std::optional<QCursor> custom_;
    std::function<void(bool)> busyListener_;
};

// The pointer-move handlers: the hand handler over push buttons, the reset
// handler over the window, frames and some controls. Neither touches a busy pointer.
class PointerFeedback : public QObject {
    Q_OBJECT
public:
    explicit PointerFeedback(WindowPointer& pointer, QObject* parent = nullptr);
    // Widgets with a viewport (lists) are watched through it.
    void Hand(QWidget* widget);
    void Reset(QWidget* widget);

    // The handlers themselves.
    static void HandHandler(WindowPointer& pointer);
    static void ResetHandler(WindowPointer& pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget* widget, bool hand);
    WindowPointer& pointer_;
};

}  // namespace verrolift
