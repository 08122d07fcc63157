#include "colour/CopyFormats.h"

#include <gtest/gtest.h>

namespace {

constexpr ColorValue kExample = MakeColor(255, 26, 184);

FormatSettings decimalSettings() {
    FormatSettings settings;
    settings.customHex = false;
    settings.hslHex = false;
    return settings;
}

QString rgb(ColorValue color, const char* templateText, bool hex) {
    return FormatRgbTemplate(color, QString::fromUtf8(templateText), hex);
}

} // namespace

TEST(CopyFormats, FixedFormats) {
    EXPECT_EQ(FormatHtml(kExample), "#FF1AB8");
    EXPECT_EQ(FormatBgrHex(kExample), "0x00B81AFF");
    EXPECT_EQ(FormatRgbValues(kExample), "R:255 G:026 B:184");
    EXPECT_EQ(FormatHtml(kBlack), "#000000");
    EXPECT_EQ(FormatBgrHex(kBlack), "0x00000000");
    EXPECT_EQ(FormatRgbValues(kBlack), "R:000 G:000 B:000");
    EXPECT_EQ(FormatHtml(0xAB00000Fu), "#0F0000");
    EXPECT_EQ(FormatBgrHex(0xAB00000Fu), "0xAB00000F");
}

TEST(CopyFormats, DefaultsAreHexadecimal) {
    const FormatSettings defaults;
    EXPECT_EQ(defaults.customTemplate, "rgb( RR, GG, BB );");
    EXPECT_EQ(defaults.hslTemplate, "hsl( HH, SS%, LL% );");
    EXPECT_EQ(FormatCustom(kExample, defaults), "rgb( FF, 1A, B8 );");
    EXPECT_EQ(FormatHsl(kExample, defaults), "hsl( 13E, 64%, 37% );");
    EXPECT_EQ(FormatCustom(kExample, decimalSettings()), "rgb( 255, 26, 184 );");
    EXPECT_EQ(FormatHsl(kExample, decimalSettings()), "hsl( 318, 100%, 55% );");
}

TEST(CopyFormats, HslOfGreysAndScaleMaxima) {
    const FormatSettings decimal = decimalSettings();
    EXPECT_EQ(FormatHsl(kBlack, decimal), "hsl( 240, 0%, 0% );");
    EXPECT_EQ(FormatHsl(kWhite, decimal), "hsl( 240, 0%, 100% );");
    EXPECT_EQ(FormatCustom(kBlack, decimal), "rgb( 0, 0, 0 );");
    const QString windows = QStringLiteral("hsl( HH, SS, LL );");
    EXPECT_EQ(FormatHslTemplate(kExample, windows, false, 240, 240, 240), "hsl( 212, 240, 132 );");
    // The digit count of hexadecimal values follows each maximum separately.
    EXPECT_EQ(FormatHslTemplate(kExample, QStringLiteral("SS"), true, 360, 100, 100), "64");
    EXPECT_EQ(FormatHslTemplate(kExample, QStringLiteral("SS"), true, 360, 1000, 100), "3E8");
    EXPECT_EQ(FormatHslTemplate(kExample, QStringLiteral("HH LL"), true, 255, 100, 256), "E1 08C");
    EXPECT_EQ(FormatHslTemplate(kBlack, QStringLiteral("HH"), true, 240, 0, 0), "A0");
}

TEST(CopyFormats, PlaceholdersReplaceOnlyTheirFirstOccurrence) {
    EXPECT_EQ(rgb(kExample, "RR RR", false), "255 RR");
    EXPECT_EQ(rgb(kExample, "no placeholders here", true), "no placeholders here");
    EXPECT_EQ(rgb(kExample, "", true), "");
    EXPECT_EQ(rgb(kExample, "rr gg bb", true), "rr gg bb");
    EXPECT_EQ(rgb(kExample, "BB-GG-RR", true), "B8-1A-FF");
    EXPECT_EQ(rgb(kExample, "RRR", true), "FFR");
    EXPECT_EQ(FormatHslTemplate(kExample, QStringLiteral("hh HH"), false, 360, 100, 100), "hh 318");
}

TEST(CopyFormats, InsertedTextIsNeverSearchedAgain) {
    EXPECT_EQ(rgb(MakeColor(0xBB, 0x00, 0x11), "RR GG BB", true), "BB 00 11");
    EXPECT_EQ(rgb(MakeColor(0xBB, 0xBB, 0xBB), "GG RR BB", true), "BB BB BB");
    EXPECT_EQ(FormatHslTemplate(kExample, QStringLiteral("LL SS HH"), true, 360, 100, 100),
              "37 64 13E");
}

TEST(CopyFormats, AllJoinsTheFiveFormatsOnOneLine) {
    EXPECT_EQ(FormatAll(kExample, decimalSettings()),
              "#FF1AB8 0x00B81AFF R:255 G:026 B:184 hsl( 318, 100%, 55% ); rgb( 255, 26, 184 );");
    EXPECT_EQ(FormatAll(kExample, FormatSettings{}),
              "#FF1AB8 0x00B81AFF R:255 G:026 B:184 hsl( 13E, 64%, 37% ); rgb( FF, 1A, B8 );");
}

TEST(CopyFormats, ByStyleChoosesTheFormatOrNothing) {
    const FormatSettings settings = decimalSettings();
    EXPECT_EQ(FormatByStyle(kExample, 0, settings), FormatAll(kExample, settings));
    EXPECT_EQ(FormatByStyle(kExample, 1, settings), "#FF1AB8");
    EXPECT_EQ(FormatByStyle(kExample, 2, settings), "0x00B81AFF");
    EXPECT_EQ(FormatByStyle(kExample, 3, settings), "R:255 G:026 B:184");
    EXPECT_EQ(FormatByStyle(kExample, 4, settings), "hsl( 318, 100%, 55% );");
    EXPECT_EQ(FormatByStyle(kExample, 5, settings), "rgb( 255, 26, 184 );");
    EXPECT_EQ(FormatByStyle(kExample, -1, settings), std::nullopt);
    EXPECT_EQ(FormatByStyle(kExample, 6, settings), std::nullopt);
    // An empty template still copies (an empty text), unlike an unknown style.
    FormatSettings empty = settings;
    empty.customTemplate.clear();
    EXPECT_EQ(FormatByStyle(kExample, static_cast<int>(CopyStyle::Custom), empty), QString());
}
