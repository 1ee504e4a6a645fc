// The core's Shift-JIS texts and 0xRRGGBB colours as Qt takes them.
#pragma once

#include "jvdata/SjisText.h"

#include <cstdint>
#include <string_view>

#include <QColor>
#include <QString>

namespace widgets {

inline QString FromSjis(std::string_view sjis) {
    return QString::fromStdString(Sjis::ToUtf8(sjis));
}

inline QColor FromRgb(std::uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

} // namespace widgets
