#pragma once

#include "colour/ColorValue.h"

#include <QRect>
#include <QString>

#include <cstdint>

// The sample settings the main window keeps for the sample window, so that they outlive it and
// can be stored: colours, font, switches, where the window last stood and its text file.
struct TSampleSettings {
    static constexpr int DefaultFontSize = 9;
    // The largest size the store keeps; larger typed sizes still reach a shown window.
    static constexpr int MaxStoredFontSize = 255;
    static constexpr std::uint8_t StyleBold = 1;
    static constexpr std::uint8_t StyleItalic = 2;

    ColorValue textColor = MakeColor(255, 237, 129);
    ColorValue bkgColor = MakeColor(0, 116, 0);
    QString fontName = QStringLiteral("Arial");
    std::uint8_t fontStyle = 0;
    std::uint16_t fontSize = DefaultFontSize;
    bool showText = true;
    bool transparent = true;
    bool lockTextColor = true;
    bool lockBkgColor = false;
    // Left, top, width, height; all zero when the window never stood anywhere.
    QRect placement{0, 0, 0, 0};
    QString textFile;

    bool bold() const { return (fontStyle & StyleBold) != 0; }
    bool italic() const { return (fontStyle & StyleItalic) != 0; }
    bool hasPlacement() const {
        return placement.x() != 0 || placement.y() != 0 || placement.width() != 0 ||
               placement.height() != 0;
    }
    // Both locks on (a short stored record reads so) would leave both lock buttons without
    // effect; the text lock wins.
    void normalizeLocks() {
        if (lockTextColor && lockBkgColor) lockBkgColor = false;
    }
};
