#include "ui/filled_header.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace verrolift {

FilledHeader::FilledHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    // As a tree view's own header: captions at the left.
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void FilledHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    const int end = length() - offset();
    QWidget* surface = viewport();
    if (end >= surface->width()) return;
    QPainter painter(surface);
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = QRect(end, 0, surface->width() - end, surface->height());
    option.section = count();
    option.position = QStyleOptionHeader::End;
    option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
}

}  // namespace verrolift
