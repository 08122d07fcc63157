#include "colour/ColorParser.h"
#include "colour/ColorTemplateList.h"
#include "colour/CopyFormats.h"
#include "colour/CssColorWriter.h"

#include <QtGlobal>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

// Every colour a copy format can write must come back when the text is pasted into the value
// field (all 2^24 of them with HUESPLINTER_EVERY_COLOUR=1). Formats in blue-green-red order read
// back with the BGR order selected, as the window does; the HSL templates show whole degrees and
// percent, too coarse to name every colour, so they need only come back close.

namespace {

using Writer = std::function<QString(ColorValue)>;

struct ReadBack {
    const char* name;
    Writer write;
    bool bgrOrder = false;
    int tolerance = 0; // steps per channel
};

bool within(ColorValue a, ColorValue b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
           std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// Walks one sixteenth of the 2^24 colours (those whose blue lies in the given sixteenth of its
// range) and reports the first that does not come back. The whole walk of every format takes
// minutes under the sanitizers, so it runs when HUESPLINTER_EVERY_COLOUR is set; otherwise a
// prime stride still meets every value of every channel.
constexpr int kParts = 16;

ColorValue walkStride() {
    static const ColorValue stride =
        qEnvironmentVariableIsSet("HUESPLINTER_EVERY_COLOUR") ? 1 : 251;
    return stride;
}

void expectEveryColorReadsBack(const ReadBack& format, int part) {
    const ColorValue first = static_cast<ColorValue>(part) << 20;
    const ColorValue last = first + (1u << 20) - 1;
    for (ColorValue c = first; c <= last; c += walkStride()) {
        const QString text = format.write(c);
        const std::optional<ColorValue> read = ParseColorText(text);
        ColorValue back = read.value_or(kNoColor);
        if (read) {
            back &= kColorMask;
            if (format.bgrOrder) back = SwapRedBlue(back);
        }
        if (!read || !within(back, c, format.tolerance)) {
            ADD_FAILURE() << format.name << ": " << text.toStdString() << " gives " << std::hex
                          << back << " for " << c;
            return;
        }
    }
}

FormatSettings decimal() {
    FormatSettings settings;
    settings.customHex = settings.hslHex = false;
    return settings;
}

// Every fixed format, the style-sheet formats, the decimal custom template and the built-in
// templates. The 0-240 HSL template is no style-sheet notation and is left out, and so are the
// hexadecimal custom and HSL templates ("rgb( FF, 1A, B8 );"), which no notation reads.
std::vector<ReadBack> allFormats() {
    std::vector<ReadBack> formats = {
        {"HTML", FormatHtml},
        {"BGR hex", FormatBgrHex, true},
        {"R:G:B", FormatRgbValues},
        {"CSS rgb", FormatCssRgb},
        {"CSS hsl", FormatCssHsl},
        {"OKLCH", FormatOkLch},
        {"short hex", FormatShortHex},
        {"decimal custom", [](ColorValue c) { return FormatCustom(c, decimal()); }},
    };
    TColorTemplateList rgb;
    BuildDefaultRgbTemplates(rgb);
    for (int i = 0; i < rgb.Count(); ++i) {
        const TColorTemplate t = rgb.at(i);
        // "$00BBGGRR" and the other BGR templates write blue first.
        const bool bgr = t.text.indexOf(u"BB") < t.text.indexOf(u"RR");
        formats.push_back(
            {"RGB template", [t](ColorValue c) { return FormatTemplate(c, t); }, bgr, 0});
    }
    TColorTemplateList hsl;
    BuildDefaultHslTemplates(hsl);
    for (int i = 0; i < hsl.Count(); ++i) {
        const TColorTemplate t = hsl.at(i);
        if (t.hueMax != 360) continue;
        // Whole degrees and percent, truncated from the 0-240 scale: the hue alone may be three
        // degrees off, some 13 steps of a saturated channel.
        formats.push_back(
            {"HSL template", [t](ColorValue c) { return FormatTemplate(c, t); }, false, 16});
    }
    return formats;
}

} // namespace

class CopyFormatsReadBack : public testing::TestWithParam<int> {};

TEST_P(CopyFormatsReadBack, EveryFormatAndBuiltInTemplate) {
    for (const ReadBack& format : allFormats())
        expectEveryColorReadsBack(format, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sixteenth, CopyFormatsReadBack, testing::Range(0, kParts));
