// Pasted and typed value-field text: any characters, any length.
#include "colour/ColorParser.h"
#include "colour/CssColorReader.h"
#include "colour/CssColorWriter.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    // The clipboard can hold any UTF-16, not just what valid UTF-8 decodes to.
    const QString texts[] = {
        QString::fromUtf8(chars, length),
        QString(reinterpret_cast<const QChar*>(data), length / 2),
    };
    for (const QString& text : texts) {
        if (const auto colour = ParseColorText(text)) {
            // Whatever was read, its own HTML form reads back as the same colour.
            const int rgb = (RedOf(*colour) << 16) | (GreenOf(*colour) << 8) | BlueOf(*colour);
            const QString html = QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
            const auto again = ParseColorText(html);
            if (!again || (*again & kColorMask) != (*colour & kColorMask)) std::abort();
        }
        // The style-sheet reader alone: a colour it reads comes back through every copy format
        // of the style sheets, and a keyword without a colour never carries one.
        const CssColorReading css = ReadCssColor(text);
        if (css.keywordWithoutColor && css.color) std::abort();
        if (css.color) {
            const ColorValue c = *css.color;
            for (const QString& copy :
                 {FormatCssRgb(c), FormatCssHsl(c), FormatOkLch(c), FormatShortHex(c)})
                if (ReadCssColor(copy).color != c) std::abort();
        }
        (void)ParseHexSix(text);
    }
    return 0;
}
