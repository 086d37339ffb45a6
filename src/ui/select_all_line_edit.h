#pragma once

#include <QLineEdit>

namespace verrolift {

// A text box that selects its whole text whenever it receives the focus, by
// keyboard or by a click, so that typing replaces the value.
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // A click that brought the focus would otherwise place the caret and drop the selection.
    bool selectOnPress_ = false;
};

}  // namespace verrolift
