#pragma once

#include <QGroupBox>

namespace verrolift {

// A frame as classic Windows draws one: an etched border whose top line runs
// through the middle of the caption, the caption on the line over the
// frame's own face. The whole inside is the frame's, so the controls keep
// the places they were given.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FrameBox(QWidget* parent = nullptr) : QGroupBox(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the top border line runs, from the frame's top.
    int BorderTop() const;
};

}  // namespace verrolift
