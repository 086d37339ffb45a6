#include "ui/select_all_line_edit.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace verrolift {

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    setSelection(0, static_cast<int>(text().size()));
    selectOnPress_ = event->reason() == Qt::MouseFocusReason;
}

void SelectAllLineEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (selectOnPress_) {
        selectOnPress_ = false;
        setSelection(0, static_cast<int>(text().size()));
    }
}

}  // namespace verrolift
