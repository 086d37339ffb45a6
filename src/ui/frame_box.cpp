#include "ui/frame_box.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace verrolift {

int FrameBox::BorderTop() const {
    return QFontMetrics(font()).height() / 2;
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const int top = BorderTop();
    const int w = width();
    const int h = height();
    // Etched: a light line one pixel right of and below a shadow line.
    painter.setPen(pal.color(QPalette::Light));
    painter.drawRect(1, top + 1, w - 2, h - top - 2);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(0, top, w - 2, h - top - 2);

    const QString caption = title();
    if (caption.isEmpty()) return;
    const QFontMetrics metrics(font());
    // The caption starts about one character in, with a little face either side.
    const int gap = 2;
    const QRect text(metrics.averageCharWidth(), 0, metrics.horizontalAdvance(caption),
                     metrics.height());
    painter.fillRect(text.adjusted(-gap, 0, gap, 0), pal.brush(backgroundRole()));
    style()->drawItemText(&painter, text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                          pal, isEnabled(), caption, foregroundRole());
}

}  // namespace verrolift
