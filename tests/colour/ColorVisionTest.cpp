#include "colour/ColorVision.h"

#include "colour/ColorContrast.h"
#include "colour/LinearRgb.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::array kDeficiencies{TColorVision::Protanopia, TColorVision::Deuteranopia,
                                   TColorVision::Tritanopia, TColorVision::Achromatopsia};

// The published simulation matrices at severity 1.0, as printed.
const std::array<ColorVision::TMatrix, 3> kPublished{{
    {{{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
    {{{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
    {{{1.255528, -0.076749, -0.178779},
      {-0.078411, 0.930809, 0.147602},
      {0.004733, 0.691367, 0.303900}}},
}};

} // namespace

TEST(ColorVision, WhiteAndEveryGreyStayWhatTheyAre) {
    for (const TColorVision vision : kDeficiencies)
        for (int v = 0; v < 256; ++v)
            ASSERT_EQ(ColorVision::Simulate(MakeColor(v, v, v), vision), MakeColor(v, v, v))
                << ColorVision::Name(vision).toStdString() << " grey " << v;
}

// A full primary picks one column of the matrix: each output channel is that row's entry,
// clipped to the gamut and encoded.
TEST(ColorVision, PrimariesFollowThePublishedRows) {
    const std::array<ColorValue, 3> primaries{MakeColor(255, 0, 0), MakeColor(0, 255, 0),
                                              MakeColor(0, 0, 255)};
    for (std::size_t m = 0; m < kPublished.size(); ++m) {
        const TColorVision vision = kDeficiencies[m];
        for (std::size_t column = 0; column < 3; ++column) {
            const ColorValue out = ColorVision::Simulate(primaries[column], vision);
            const std::array<int, 3> got{RedOf(out), GreenOf(out), BlueOf(out)};
            for (std::size_t row = 0; row < 3; ++row)
                EXPECT_NEAR(got[row], LinearRgb::toByte(kPublished[m][row][column]), 1)
                    << ColorVision::Name(vision).toStdString() << " row " << row;
        }
    }
}

TEST(ColorVision, AchromatopsiaKeepsOnlyTheLuminance) {
    for (const ColorValue c : {0xFF0000u, 0x00FF00u, 0x0000FFu, 0x3C8AD2u, 0x102030u}) {
        const ColorValue out = ColorVision::Simulate(c, TColorVision::Achromatopsia);
        EXPECT_EQ(RedOf(out), GreenOf(out));
        EXPECT_EQ(GreenOf(out), BlueOf(out));
        EXPECT_NEAR(ColorContrast::RelativeLuminance(out), ColorContrast::RelativeLuminance(c),
                    0.005);
    }
}

TEST(ColorVision, RowsKeepAlphaWorkInPlaceAndTheCycleComesBack) {
    std::vector<std::uint32_t> row{0x80FF0000u, 0x80FF0000u, 0x00FFFFFFu, 0xFF00FF00u};
    const std::vector<std::uint32_t> in = row;
    ColorVision::SimulateRow(row.data(), row.data(), row.size(), TColorVision::Deuteranopia);
    for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i] >> 24, in[i] >> 24);
        const ColorValue c =
            MakeColor(int((in[i] >> 16) & 0xFF), int((in[i] >> 8) & 0xFF), int(in[i] & 0xFF));
        const ColorValue expected = ColorVision::Simulate(c, TColorVision::Deuteranopia);
        EXPECT_EQ(row[i] & 0xFFFFFFu, (std::uint32_t(RedOf(expected)) << 16) |
                                          (std::uint32_t(GreenOf(expected)) << 8) |
                                          std::uint32_t(BlueOf(expected)));
    }
    TColorVision v = TColorVision::Normal;
    for (int i = 0; i < ColorVision::kCount; ++i)
        v = ColorVision::Next(v);
    EXPECT_EQ(v, TColorVision::Normal);
    EXPECT_EQ(ColorVision::Simulate(0x123456u, TColorVision::Normal), 0x123456u);
}
