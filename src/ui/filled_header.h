#pragma once

#include <QHeaderView>

namespace verrolift {

// A list's column header that spans the whole list: right of the last column
// an empty section fills the rest of the header, as a report view shows it.
class FilledHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FilledHeader(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace verrolift
