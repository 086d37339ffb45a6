#pragma once

#include <optional>

#include <QPoint>

class QWidget;

namespace verrolift {

// Where a window appears: centred on its screen the first time it is shown,
// and where it was when it comes back. Window managers place a window that
// asks for no position wherever they like, and again each time it is shown.
class WindowPlacement {
public:
    explicit WindowPlacement(QWidget* window) : window_(window) {}
    void Show();
    // Remembers where the window stands before it goes.
    void Hide();

private:
    QWidget* window_;
    std::optional<QPoint> at_;
};

// Puts a box that is about to be shown centred over the window it belongs
// to (its parent's window), frame on frame, as long as that window is shown.
// Qt's own placement only estimates the frames and lands the box lower or higher.
void CentreOverOwner(QWidget* box);

}  // namespace verrolift
