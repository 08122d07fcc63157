#include "colour/ColourParser.h"
#include "colour/CopyFormats.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

namespace {

std::optional<ColorValue> parse(const char* text) {
    return ParseColorText(QString::fromUtf8(text));
}

constexpr ColorValue kFfAa77 = MakeColor(0xFF, 0xAA, 0x77);

} // namespace

TEST(ParseColorText, CssRgbFunction) {
    EXPECT_EQ(parse("rgb(119,170,255);"), MakeColor(119, 170, 255));
    EXPECT_EQ(parse("RGB(119,170,255)"), MakeColor(119, 170, 255));
    EXPECT_EQ(parse("rgb(0 0 0)"), kBlack);
    EXPECT_EQ(parse("rgba(1,2,3,1)"), std::nullopt);
    EXPECT_EQ(parse("red(1,2,3)"), std::nullopt);
    // Shorter than nine characters after cutting the tail.
    EXPECT_EQ(parse("rgb(1,2,"), std::nullopt);
    // What the CSS template writes has blanks after the commas and is refused.
    EXPECT_EQ(parse("rgb( 255, 0, 125 );"), std::nullopt);
}

TEST(ParseColorText, HexadecimalNotationsReadRedFirst) {
    for (const char* text :
         {"#FFAA77", "FFAA77", "ffaa77", "0xFFAA77", "0XFFAA77", "$FFAA77", "#ffaa77 ", "$FFAA77;"})
        EXPECT_EQ(parse(text), kFfAa77) << text;
    EXPECT_EQ(parse("$00AAFF77"), MakeColor(0xAA, 0xFF, 0x77));
    EXPECT_EQ(parse("0x00AAFF77"), MakeColor(0xAA, 0xFF, 0x77));
    EXPECT_EQ(parse("0x80AAFF77"), 0x80000000u | MakeColor(0xAA, 0xFF, 0x77));
    EXPECT_EQ(parse("00AAFF77"), MakeColor(0xAA, 0xFF, 0x77));
    // No separators: not a triple, so it is read as hexadecimal.
    EXPECT_EQ(parse("112233"), MakeColor(0x11, 0x22, 0x33));
}

TEST(ParseColorText, LengthGatesOfThePrefixes) {
    for (const char* text : {"", "#FFF", "#FFAA7", "#FFAA77AA", "$FFAA7", "$FFAA77A", "0xFFAA7",
                             "0xFFAA77A", "FFAA7", "FFAA77A", "0xFFAA77AABB", "#GGAA77"})
        EXPECT_EQ(parse(text), std::nullopt) << text;
}

TEST(ParseColorText, DecimalTriplesNeedExactlyOneSeparator) {
    EXPECT_EQ(parse("255,0,125"), MakeColor(255, 0, 125));
    EXPECT_EQ(parse("255 0 125"), MakeColor(255, 0, 125));
    EXPECT_EQ(parse("255,0 125"), MakeColor(255, 0, 125));
    EXPECT_EQ(parse("0,0,0"), kBlack);
    EXPECT_EQ(parse("0255,0,0"), MakeColor(255, 0, 0));
    EXPECT_EQ(parse("1,2,3;"), MakeColor(1, 2, 3));
    EXPECT_EQ(parse("1,2,3x"), MakeColor(1, 2, 3));
    for (const char* text : {"255, 0, 125", "255,,0,125", "1,2,3A", "256,0,0", "0,256,0", "0,0,256",
                             "4294967296,0,0", "1,2,3,4", ",1,2,3", "1,2", "1 2", "-1,2,3"})
        EXPECT_EQ(parse(text), std::nullopt) << text;
}

TEST(ParseColorText, NeverChangesTheCallersText) {
    const QString text = QStringLiteral("rgb(1,2,3);");
    EXPECT_TRUE(ParseColorText(text).has_value());
    EXPECT_EQ(text, QStringLiteral("rgb(1,2,3);"));
}

TEST(ParseColorText, BgrOrderIsTheCallersSwap) {
    EXPECT_EQ(SwapRedBlue(*parse("#FFAA77")), MakeColor(0x77, 0xAA, 0xFF));
    EXPECT_EQ(SwapRedBlue(*parse("255,0,125")), MakeColor(125, 0, 255));
}

TEST(ParseColorText, ReadsBackHtmlTexts) {
    bool same = true;
    // A prime stride visits every value of every channel without walking all 2^24 colours.
    for (ColorValue c = 0; c <= kColorMask && same; c += 251) {
        same = ParseColorText(FormatHtml(c)) == c;
        if (!same) ADD_FAILURE() << std::hex << c;
    }
    EXPECT_TRUE(same);
}

TEST(ParseColorText, RandomTextsNeverCrash) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> length(0, 14);
    // Mostly characters the parser looks at, with some arbitrary UTF-16 units mixed in.
    const QString alphabet = QStringLiteral("0123456789abcdefABCDEFxXrgbRGB#$(), ;\t-");
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) + 4);
    std::uniform_int_distribution<int> anyUnit(0, 0xFFFF);
    int parsed = 0;
    for (int i = 0; i < 200000; ++i) {
        QString text;
        for (int k = length(random); k > 0; --k) {
            const int p = pick(random);
            text +=
                p < alphabet.size() ? alphabet[p] : QChar(static_cast<char16_t>(anyUnit(random)));
        }
        if (const auto c = ParseColorText(text)) {
            ++parsed;
            // Only eight-digit hexadecimal reaches byte 3.
            EXPECT_TRUE((*c & 0xFF000000u) == 0 || text.size() >= 8) << text.toStdString();
        }
        (void)ParseHexSix(text);
    }
    EXPECT_GT(parsed, 0);
}

TEST(ParseHexSix, SkipsEverythingButHexDigits) {
    EXPECT_EQ(ParseHexSix(QStringLiteral("FFF36F")), MakeColor(0xFF, 0xF3, 0x6F));
    EXPECT_EQ(ParseHexSix(QStringLiteral("007400")), MakeColor(0, 0x74, 0));
    EXPECT_EQ(ParseHexSix(QStringLiteral("ffaa77")), kFfAa77);
    EXPECT_EQ(ParseHexSix(QStringLiteral("12-4Z6")), SwapRedBlue(0x1246u));
    EXPECT_EQ(ParseHexSix(QStringLiteral("zzzzzz")), kBlack);
}

TEST(ValueExamplesHint, ListsTheAcceptedNotations) {
    const QString hint = ValueExamplesHint();
    EXPECT_TRUE(hint.startsWith(QStringLiteral(" Value examples: \r\n   $AA77FF\r\n")));
    EXPECT_TRUE(hint.endsWith(QStringLiteral("\r\n   255 0 125")));
    // Every example in it is itself accepted.
    const QStringList lines = hint.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    for (qsizetype i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(ParseColorText(lines[i].trimmed()).has_value()) << lines[i].toStdString();
}
