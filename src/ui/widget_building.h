#pragma once

#include <limits>
#include <string>
#include <type_traits>

#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

namespace verrolift::ui {

// Widget texts to the core's bytes in the machine's code page, and back.
inline std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}
inline QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

// A control with its design name and place.
template <class T>
T* Make(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    // Text boxes take text of any length; Qt's own default would cut it at 32767.
    if constexpr (std::is_base_of_v<QLineEdit, T>)
        widget->setMaxLength(std::numeric_limits<int>::max());
    return widget;
}

}  // namespace verrolift::ui
