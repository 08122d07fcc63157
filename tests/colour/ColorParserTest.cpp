#include "colour/ColorParser.h"
#include "colour/CopyFormats.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

namespace {

std::optional<ColorValue> parse(const char* text) {
    return ParseColorText(QString::fromUtf8(text));
}

} // namespace

TEST(ParseColorText, AcceptedNotations) {
    for (const char* text : {"#ffaa77 ", "0XFFAA77", "$FFAA77;", "FfAa77"})
        EXPECT_EQ(parse(text), MakeColor(0xFF, 0xAA, 0x77)) << text;
    for (const char* text : {"$00AAFF77", "0x00AAFF77", "00AAFF77"})
        EXPECT_EQ(parse(text), MakeColor(0xAA, 0xFF, 0x77)) << text;
    for (const char* text :
         {"rgb(255,0,125);", "RGB(255 0,125)", "255,0 125", "0255 0 125", "255,0,125x"})
        EXPECT_EQ(parse(text), MakeColor(255, 0, 125)) << text;
    EXPECT_EQ(parse("0x80AAFF77"), 0x80000000u | MakeColor(0xAA, 0xFF, 0x77));
    EXPECT_EQ(parse("112233"), MakeColor(0x11, 0x22, 0x33)); // no separator: hexadecimal after all
    EXPECT_EQ(parse("0,0,0"), kBlack);
}

TEST(ParseColorText, RefusedTexts) {
    // Length gates of the prefixes, unknown words, separators, range and trailing letters.
    const QString refused = QStringLiteral(
        "|#FFAA7|$FFAA7|$FFAA77A|0xFFAA7|0xFFAA77A|FFAA7|FFAA77A|#GGAA77"
        "|red(1,2,3)|rgb(1,2,|255, 0, 125|255,,0,125|R:255 G:0|R:256 G:0 B:0|R:1 G:2 B:3 A:4"
        "|1,2,3A|256,0,0|0,0,256|4294967296,0,0|1,2,3,4|1 2|-1,2,3");
    for (const QString& text : refused.split(u'|'))
        EXPECT_EQ(ParseColorText(text), std::nullopt) << text.toStdString();
}

TEST(ReadColorText, StyleSheetColoursWhereTheOlderNotationsReadNothing) {
    // Texts the value field refused before, among them the program's own "Html CSS rgb" template.
    EXPECT_EQ(parse("rgb( 255, 0, 125 );"), MakeColor(255, 0, 125));
    EXPECT_EQ(parse("rgba(1,2,3,1)"), MakeColor(1, 2, 3));
    EXPECT_EQ(parse("#FFF"), kWhite);
    EXPECT_EQ(parse("R:255 G:026 B:184"), MakeColor(255, 26, 184));
    EXPECT_EQ(parse(" r:1 g:2 b:3;"), MakeColor(1, 2, 3));
    EXPECT_EQ(parse("hsl(270 50% 40%)"), MakeColor(0x66, 0x33, 0x99));
    EXPECT_EQ(parse("#FFAA77AA"), MakeColor(0xFF, 0xAA, 0x77)); // alpha last, and dropped
    // Where both could read a text, the older meaning stays: alpha first after "$" and "0x".
    EXPECT_EQ(parse("$FFAA77AA"), 0xFF000000u | MakeColor(0xAA, 0x77, 0xAA));
}

TEST(ReadColorText, NotesSayWhatWasDroppedOrMapped) {
    const auto note = [](const char* text) { return ReadColorText(QString::fromUtf8(text)).note; };
    EXPECT_TRUE(note("#FFAA77").isEmpty());
    EXPECT_TRUE(note("rgb(10 20 30 / 1)").isEmpty());
    EXPECT_TRUE(note("no colour").isEmpty());
    EXPECT_TRUE(note("rgb(10 20 30 / 0.5)").startsWith("Alpha ignored"));
    EXPECT_TRUE(note("#FFAA7780").startsWith("Alpha ignored"));
    EXPECT_TRUE(note("color(display-p3 0 1 0)").startsWith("Out of the sRGB gamut"));
    EXPECT_TRUE(note("color(display-p3 0 1 0 / 0.5)").contains("Alpha ignored"));
    const ColorTextReading transparent = ReadColorText(QStringLiteral("transparent"));
    EXPECT_EQ(transparent.color, std::nullopt);
    EXPECT_TRUE(transparent.note.startsWith("Not a colour value"));
}

TEST(ParseColorText, ReadsBackHtmlTextAndSurvivesRandomText) {
    // A prime stride meets every value of every channel without walking all 2^24 colours.
    ColorValue bad = kNoColor;
    for (ColorValue c = 0; c <= kColorMask && bad == kNoColor; c += 251)
        if (ParseColorText(FormatHtml(c)) != c) bad = c;
    EXPECT_EQ(bad, kNoColor) << std::hex << bad;

    std::mt19937 random(20261209);
    const QString alphabet = QStringLiteral("0123456789abcdefABCDEFxXrgbRGB#$(), ;-");
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) + 3);
    std::uniform_int_distribution<int> anyUnit(0, 0xFFFF);
    for (int i = 0; i < 100000; ++i) {
        QString text;
        for (int k = static_cast<int>(random() % 14); k > 0; --k) {
            const int p = pick(random);
            text +=
                p < alphabet.size() ? alphabet[p] : QChar(static_cast<char16_t>(anyUnit(random)));
        }
        const auto c = ParseColorText(text);
        EXPECT_TRUE(!c || (*c >> 24) == 0 || text.size() >= 8) << text.toStdString();
        ParseHexSix(text);
    }
}

TEST(ParseHexSix, SkipsEverythingButHexDigits) {
    EXPECT_EQ(ParseHexSix(QStringLiteral("FFF36F")), MakeColor(0xFF, 0xF3, 0x6F));
    EXPECT_EQ(ParseHexSix(QStringLiteral("007400")), MakeColor(0, 0x74, 0));
    EXPECT_EQ(ParseHexSix(QStringLiteral("12-4Z6")), 0x461200u);
    EXPECT_EQ(ParseHexSix(QStringLiteral("ffaa77")), MakeColor(0xFF, 0xAA, 0x77));
}

TEST(ValueExamplesHint, EveryExampleIsAccepted) {
    const QStringList lines = ValueExamplesHint().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], " Value examples: ");
    EXPECT_EQ(lines[9], "   255 0 125");
    for (qsizetype i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(ParseColorText(lines[i].trimmed())) << lines[i].toStdString();
}
