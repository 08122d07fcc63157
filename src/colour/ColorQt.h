#pragma once

#include "colour/ColorValue.h"

#include <QColor>

// The one crossing between a colour value (0x00BBGGRR, low 24 bits) and Qt's colour type.
// Byte 3 does not reach Qt: the result is opaque.
inline QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Drops Qt's alpha channel; byte 3 of the result is zero.
inline ColorValue fromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return MakeColor(rgb.red(), rgb.green(), rgb.blue());
}
