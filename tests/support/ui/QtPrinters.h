// Readable GoogleTest messages for Qt values: found by argument-dependent lookup, so include
// this header in Qt tests before comparing QString, QColor, QPoint, QSize or QRect values.
#pragma once

#include <ostream>

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QColor& colour, std::ostream* out) {
    *out << "rgb(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

inline void PrintTo(const QPoint& point, std::ostream* out) {
    *out << "(" << point.x() << ", " << point.y() << ")";
}

inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << " x " << size.height();
}

inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}
