#include "colour/CssColorReader.h"
#include "colour/NamedColors.h"

#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

CssColorReading read(const char* text) {
    return ReadCssColor(QString::fromUtf8(text));
}

struct Expected {
    const char* text;
    ColorValue color;
};

void expectColors(std::initializer_list<Expected> cases) {
    for (const Expected& e : cases) {
        const CssColorReading r = read(e.text);
        EXPECT_EQ(r.color, e.color) << e.text;
        EXPECT_FALSE(r.alphaIgnored || r.outOfGamut || r.keywordWithoutColor) << e.text;
    }
}

// Within one step of the 8-bit scale per channel: published values are rounded.
bool closeTo(std::optional<ColorValue> actual, ColorValue expected) {
    if (!actual) return false;
    return std::abs(RedOf(*actual) - RedOf(expected)) <= 1 &&
           std::abs(GreenOf(*actual) - GreenOf(expected)) <= 1 &&
           std::abs(BlueOf(*actual) - BlueOf(expected)) <= 1;
}

constexpr ColorValue kRebecca = MakeColor(0x66, 0x33, 0x99);

} // namespace

TEST(ReadCssColor, HexAndRgbInEverySyntax) {
    expectColors({
        {"#abc", MakeColor(0xAA, 0xBB, 0xCC)},
        {"#AbCdEf", MakeColor(0xAB, 0xCD, 0xEF)},
        {"#aabbccff", MakeColor(0xAA, 0xBB, 0xCC)},
        {"#abcf ;", MakeColor(0xAA, 0xBB, 0xCC)},
        {"rgb(10, 20, 30)", MakeColor(10, 20, 30)},
        {"rgba(10,20,30,1)", MakeColor(10, 20, 30)},
        {" \t RGB(10\n20\f30) ; ", MakeColor(10, 20, 30)},
        {"rgb(100% 0% 50%)", MakeColor(255, 0, 128)},
        {"rgb(4%, 8%, 12%)", MakeColor(10, 20, 31)},
        {"rgb(none 20 30 / 100%)", MakeColor(0, 20, 30)},
        {"rgb(10% 20 30)", MakeColor(26, 20, 30)}, // mixing is for the blank syntax only
        {"rgb(300 -5 20.6)", MakeColor(255, 0, 21)},
        {"rgb(1e1 2E1 +30 / 1)", MakeColor(10, 20, 30)},
        {"rgb(.5e2 0.0 1e-400)", MakeColor(50, 0, 0)},
    });
}

TEST(ReadCssColor, HueFunctionsInEveryAngleUnit) {
    expectColors({
        {"hsl(270 50% 40%)", kRebecca},
        {"hsla(270deg, 50%, 40%, 1)", kRebecca},
        {"hsl(0.75turn 50 40)", kRebecca},
        {"hsl(300grad 50% 40%)", kRebecca},
        {"hsl(4.71238898rad 50% 40%)", kRebecca},
        {"hsl(-90 50% 40%)", kRebecca},
        {"hsl(990 50% 40%)", kRebecca},
        {"hsl(120deg 100% 25%)", MakeColor(0, 128, 0)},
        {"hsl(none 150% 50%)", MakeColor(255, 0, 0)},
        {"hwb(270 20% 40%)", kRebecca},
        {"hwb(90 60% 60%)", MakeColor(128, 128, 128)},
        {"rebeccapurple", kRebecca},
        {"RebeccaPurple;", kRebecca},
    });
}

TEST(ReadCssColor, LabLchOkLabOkLchAndColorSpaces) {
    // Published pairs of the same colour in rectangular and polar form.
    const auto lab = read("lab(29.2345% 39.3825 20.0664)").color;
    EXPECT_TRUE(lab && closeTo(read("lch(29.2345% 44.2 27)").color, *lab));
    const auto oklab = read("oklab(40.101% 0.1147 0.0453)").color;
    EXPECT_TRUE(oklab && closeTo(read("oklch(40.101% 0.12332 21.555)").color, *oklab));
    const auto oklab2 = read("oklab(59.686% 0.1009 0.1192)").color;
    EXPECT_TRUE(oklab2 && closeTo(read("oklch(59.686% 0.15619 49.7694)").color, *oklab2));

    // sRGB red as the module publishes it in each space.
    constexpr ColorValue red = MakeColor(255, 0, 0);
    for (const char* text :
         {"lab(54.29% 80.8 69.89)", "lch(54.29 106.84 40.85)", "oklch(62.8% 0.2577 29.23)",
          "oklab(0.628 0.2249 0.1258)", "color(srgb 1 0 0)", "color(srgb-linear 100% 0 0)",
          "color(xyz 0.4124 0.2126 0.0193)", "color(xyz-d50 0.4360 0.2225 0.0139)"})
        EXPECT_TRUE(closeTo(read(text).color, red)) << text;

    expectColors({
        {"lab(100 0 0)", kWhite},
        {"lab(120% 0 0)", kWhite},
        {"oklch(1 0 0)", kWhite},
        {"color(srgb-linear 0.21586 0.21586 0.21586)", MakeColor(128, 128, 128)},
        {"color(display-p3 0.6 0.6 0.6 / 1)", MakeColor(153, 153, 153)},
        {"color(xyz-d65 0.9505 1 1.089)", kWhite},
        {"COLOR(SRGB none 0.5 1)", MakeColor(0, 128, 255)},
    });
}

TEST(ReadCssColor, ReportsDroppedAlphaAndGamutMapping) {
    for (const char* text : {"#abcd", "#AABBCC80", "rgb(1 2 3 / 50%)", "rgba(1, 2, 3, 0.5)",
                             "hsl(0 0% 0% / none)", "lab(50 0 0 / 0)"}) {
        const CssColorReading r = read(text);
        EXPECT_TRUE(r.color && r.alphaIgnored && !r.outOfGamut) << text;
    }
    // Beyond sRGB: mapped by chroma reduction, so lightness and hue stay and the colour fits.
    for (const char* text : {"color(display-p3 1 0 0)", "oklch(0.7 0.4 145)", "lab(50 -120 0)",
                             "color(srgb 1.2 0.5 0.5)", "color(srgb-linear -0.1 0.5 0.5)"}) {
        const CssColorReading r = read(text);
        EXPECT_TRUE(r.color && r.outOfGamut && !r.alphaIgnored) << text;
    }
    const auto p3Red = read("color(display-p3 1 0 0)").color.value_or(kNoColor);
    EXPECT_GT(RedOf(p3Red), 240);
    EXPECT_LT(GreenOf(p3Red), 80);
    EXPECT_LT(BlueOf(p3Red), 80);
    const auto green = read("oklch(0.7 0.4 145)").color.value_or(kNoColor);
    EXPECT_GT(GreenOf(green), RedOf(green) + 100);
    EXPECT_EQ(read("oklch(0 0.3 120)").color, kBlack); // no light, no colour
    // Rounding noise at the edge of the gamut is no reason for a note.
    EXPECT_FALSE(read("color(srgb 1.001 0 -0.001)").outOfGamut);
}

TEST(ReadCssColor, KeywordsWithoutAColourAndRefusedTexts) {
    for (const char* text : {"transparent", "currentColor", "Canvas", "ButtonText;"}) {
        const CssColorReading r = read(text);
        EXPECT_TRUE(!r.color && r.keywordWithoutColor) << text;
    }
    for (const char* text : {"",
                             " ",
                             "#",
                             "#ab",
                             "#abcde",
                             "#ggg",
                             "#abc abc",
                             "notacolour",
                             "red blue",
                             "red;;",
                             "-red",
                             "rgb(10, 20 30)",
                             "rgb(10% 20, 30)",
                             "rgb(10%, 20, 30)",
                             "rgb(none, 20, 30)",
                             "rgba(1, 2, 3, none)",
                             "rgb(10, 20, 30 / 1)",
                             "rgb(10 20)",
                             "rgb(10 20 30 40)",
                             "rgb(10 20 30 /)",
                             "rgb(10 20 30",
                             "rgb(10 20 30))",
                             "rgb (10 20 30)",
                             "rgb(10deg 20 30)",
                             "rgb(1.5.5 0 0)",
                             "rgb(10px 20 30)",
                             "rgb(1. 2 3)",
                             "rgb(. 2 3)",
                             "rgb(- 2 3)",
                             "rgb(1e 2 3)",
                             "rgb(10 20 30);x",
                             "hsl(10%, 50%, 50%)",
                             "hsl(120, 50, 50)",
                             "hwb(1, 2%, 3%)",
                             "color(rec2020 1 0 0)",
                             "color(srgb, 1, 0, 0)",
                             "color(1 0 0)",
                             "lab(50, 10, 10)",
                             "lab(50 10 10deg)",
                             "oklch(0.5 0.1 10%)",
                             "calc(1)",
                             "rgb(10 20 30 / 1 / 1)",
                             "hsl(0 0% 0% 50%)",
                             "rgb(inf 0 0)",
                             "rgb(nan 0 0)",
                             "rgb(0x10 0 0)",
                             "rgb(１ 2 3)"})
        EXPECT_EQ(read(text), CssColorReading{}) << text;
}

TEST(NamedColors, TheTableIsCompleteSortedAndFoundInAnyCase) {
    const auto table = NamedColors();
    ASSERT_EQ(table.size(), 148u);
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(table[i - 1].name, table[i].name);
    for (const NamedColor& c : table) {
        QString name = QString::fromLatin1(c.name.data(), static_cast<qsizetype>(c.name.size()));
        EXPECT_EQ(FindNamedColor(name.toUpper()), MakeColor(c.red, c.green, c.blue)) << c.name;
        EXPECT_FALSE(IsKeywordWithoutColor(name)) << c.name;
    }
    // Spot checks against the published table, including both spellings of grey.
    EXPECT_EQ(FindNamedColor(u"aliceblue"), MakeColor(0xF0, 0xF8, 0xFF));
    EXPECT_EQ(FindNamedColor(u"darkslategrey"), MakeColor(0x2F, 0x4F, 0x4F));
    EXPECT_EQ(FindNamedColor(u"LightGoldenrodYellow"), MakeColor(0xFA, 0xFA, 0xD2));
    EXPECT_EQ(FindNamedColor(u"yellowgreen"), MakeColor(0x9A, 0xCD, 0x32));
    EXPECT_EQ(FindNamedColor(u"grey"), FindNamedColor(u"gray"));
    EXPECT_EQ(FindNamedColor(u"reds"), std::nullopt);
    EXPECT_EQ(FindNamedColor(u""), std::nullopt);
}
