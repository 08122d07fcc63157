#include "colour/CopyFormats.h"
#include "colour/CssColorReader.h"
#include "colour/CssColorWriter.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr ColorValue kExample = MakeColor(255, 26, 184);

FormatSettings decimalSettings() {
    FormatSettings settings;
    settings.customHex = settings.hslHex = false;
    return settings;
}

QString rgb(ColorValue color, const char* templateText, bool hex) {
    return FormatRgbTemplate(color, QString::fromUtf8(templateText), hex);
}

QString hsl(ColorValue color, const char* templateText, bool hex, int h, int s, int l) {
    return FormatHslTemplate(color, QString::fromUtf8(templateText), hex, h, s, l);
}

} // namespace

TEST(CopyFormats, FixedFormatsAndHslOfGreys) {
    EXPECT_EQ(FormatRgbValues(kExample), "R:255 G:026 B:184");
    EXPECT_EQ(FormatHtml(kBlack), "#000000");
    EXPECT_EQ(FormatBgrHex(0xAB00000Fu), "0xAB00000F");
    EXPECT_EQ(FormatRgbValues(kBlack), "R:000 G:000 B:000");
    EXPECT_EQ(FormatHsl(kBlack, decimalSettings()), "hsl( 240, 0%, 0% );");
    EXPECT_EQ(FormatHsl(kWhite, decimalSettings()), "hsl( 240, 0%, 100% );");
}

TEST(CopyFormats, TemplatesDefaultToHexadecimal) {
    const FormatSettings defaults;
    EXPECT_EQ(FormatCustom(kExample, defaults), "rgb( FF, 1A, B8 );");
    EXPECT_EQ(FormatHsl(kExample, defaults), "hsl( 13E, 64%, 37% );");
    EXPECT_EQ(FormatAll(kExample, decimalSettings()),
              "#FF1AB8 0x00B81AFF R:255 G:026 B:184 hsl( 318, 100%, 55% ); rgb( 255, 26, 184 );");
}

TEST(CopyFormats, HexDigitCountFollowsEachMaximum) {
    EXPECT_EQ(hsl(kExample, "hsl( HH, SS, LL );", false, 240, 240, 240), "hsl( 212, 240, 132 );");
    EXPECT_EQ(hsl(kExample, "SS", true, 360, 100, 100), "64");
    EXPECT_EQ(hsl(kExample, "SS", true, 360, 1000, 100), "3E8");
    EXPECT_EQ(hsl(kExample, "HH LL", true, 255, 100, 256), "E1 08C");
}

TEST(CopyFormats, OnlyTheFirstPlaceholderOfTheTemplateItselfIsReplaced) {
    EXPECT_EQ(rgb(kExample, "RR RR", false), "255 RR");
    EXPECT_EQ(rgb(kExample, "no placeholders", true), "no placeholders");
    EXPECT_EQ(rgb(kExample, "rr gg bb", true), "rr gg bb");
    EXPECT_EQ(rgb(kExample, "BB-GG-RR", true), "B8-1A-FF");
    EXPECT_EQ(rgb(MakeColor(0xBB, 0x00, 0x11), "RR GG BB", true), "BB 00 11");
    EXPECT_EQ(rgb(MakeColor(0xBB, 0xBB, 0xBB), "GG RR BB", true), "BB BB BB");
    EXPECT_EQ(hsl(kExample, "LL hh HH", true, 360, 100, 100), "37 hh 13E");
}

TEST(CopyFormats, ByStyleChoosesTheFormatOrNothing) {
    FormatSettings settings = decimalSettings();
    EXPECT_EQ(FormatByStyle(kExample, 0, settings), FormatAll(kExample, settings));
    EXPECT_EQ(FormatByStyle(kExample, 1, settings), "#FF1AB8");
    EXPECT_EQ(FormatByStyle(kExample, 2, settings), "0x00B81AFF");
    EXPECT_EQ(FormatByStyle(kExample, 3, settings), "R:255 G:026 B:184");
    EXPECT_EQ(FormatByStyle(kExample, 4, settings), "hsl( 318, 100%, 55% );");
    EXPECT_EQ(FormatByStyle(kExample, 5, settings), "rgb( 255, 26, 184 );");
    EXPECT_EQ(FormatByStyle(kExample, kCopyStyleCount, settings), std::nullopt);
    settings.customTemplate.clear(); // an empty text is still a copy
    EXPECT_EQ(FormatByStyle(kExample, 5, settings), QString());
}

TEST(CopyFormats, StyleSheetFormatsOfPublishedColours) {
    constexpr ColorValue rebecca = MakeColor(0x66, 0x33, 0x99);
    constexpr ColorValue red = MakeColor(255, 0, 0);
    constexpr ColorValue grey = MakeColor(128, 128, 128);
    EXPECT_EQ(FormatCssRgb(kExample), "rgb(255 26 184)");
    EXPECT_EQ(FormatCssRgb(0xAB000000u | kBlack), "rgb(0 0 0)");
    EXPECT_EQ(FormatCssHsl(rebecca), "hsl(270 50% 40%)");
    EXPECT_EQ(FormatCssHsl(red), "hsl(0 100% 50%)");
    EXPECT_EQ(FormatCssHsl(kWhite), "hsl(0 0% 100%)");
    EXPECT_EQ(FormatCssHsl(grey), "hsl(0 0% 50%)"); // 127.5 rounds up to 128
    // oklch(62.8% 0.2577 29.23) and oklch(59.99% 0 0) as published, lightness as a fraction.
    EXPECT_EQ(FormatOkLch(red), "oklch(0.628 0.2577 29.23)");
    EXPECT_EQ(FormatOkLch(grey), "oklch(0.5999 0 0)");
    EXPECT_EQ(FormatOkLch(kWhite), "oklch(1 0 0)");
    EXPECT_EQ(FormatOkLch(kBlack), "oklch(0 0 0)");
    EXPECT_EQ(FormatShortHex(MakeColor(0xFF, 0x11, 0xBB)), "#F1B");
    EXPECT_EQ(FormatShortHex(kExample), "#FF1AB8");
    EXPECT_EQ(FormatShortHex(kBlack), "#000");
}

TEST(CopyFormats, StyleSheetNumbersHaveNoTrailingZerosAndReadBack) {
    // A decimal ending in 0, a bare point, an exponent or a negative zero is no shortest number.
    const QRegularExpression notShortest(
        QStringLiteral("\\.\\d*0(?!\\d)|\\.(?!\\d)|[eE]|-0(?![.\\d])"));
    for (ColorValue c = 0; c <= kColorMask; c += 4099) {
        for (const QString& text : {FormatCssHsl(c), FormatOkLch(c)}) {
            EXPECT_FALSE(notShortest.match(text).hasMatch()) << text.toStdString();
            EXPECT_EQ(ReadCssColor(text).color, c) << text.toStdString();
        }
    }
}

TEST(CopyFormats, NewStylesAndWholeColourPlaceholders) {
    const FormatSettings settings = decimalSettings();
    EXPECT_EQ(FormatByStyle(kExample, int(CopyStyle::CssRgb), settings), "rgb(255 26 184)");
    EXPECT_EQ(FormatByStyle(kExample, int(CopyStyle::CssHsl), settings), FormatCssHsl(kExample));
    EXPECT_EQ(FormatByStyle(kExample, int(CopyStyle::OkLch), settings), FormatOkLch(kExample));
    EXPECT_EQ(FormatByStyle(kExample, int(CopyStyle::ShortHex), settings), "#FF1AB8");
    EXPECT_EQ(FormatByStyle(kExample, kCopyStyleCount, settings), std::nullopt);
    // "All" keeps its five formats.
    EXPECT_EQ(FormatByStyle(kExample, 0, settings), FormatAll(kExample, settings));

    EXPECT_EQ(rgb(kExample, "color: {css-rgb}; /* RR {css-rgb} */", false),
              "color: rgb(255 26 184); /* 255 {css-rgb} */");
    EXPECT_EQ(rgb(MakeColor(0xFF, 0x11, 0xBB), "{short-hex} BB {oklch}", true),
              "#F1B BB " + FormatOkLch(MakeColor(0xFF, 0x11, 0xBB)));
    EXPECT_EQ(hsl(kExample, "HH {css-hsl} {Css-Hsl}", false, 360, 100, 100),
              "318 " + FormatCssHsl(kExample) + " {Css-Hsl}");
}
