#include "colour/ColorSpaces.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const ColorTriple& actual, const ColorTriple& expected, double tolerance) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

} // namespace

TEST(ColorSpaces, OkLabMatchesItsAuthorsReferencePairs) {
    struct Pair {
        ColorTriple xyz;
        ColorTriple oklab;
    };
    // Published to three decimals.
    constexpr Pair kPairs[] = {
        {{0.950, 1.000, 1.089}, {1.000, 0.000, 0.000}},
        {{1.000, 0.000, 0.000}, {0.450, 1.236, -0.019}},
        {{0.000, 1.000, 0.000}, {0.922, -0.671, 0.263}},
        {{0.000, 0.000, 1.000}, {0.153, -1.415, -0.449}},
    };
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(p.xyz[0] + 10 * p.xyz[1] + 100 * p.xyz[2]);
        expectNear(XyzToOkLab(p.xyz), p.oklab, 0.0015);
        expectNear(OkLabToXyz(p.oklab), p.xyz, 0.002);
    }
}

TEST(ColorSpaces, SrgbRedInLabAndOkLchAsTheStyleSheetModulePublishesIt) {
    const ColorTriple red{1, 0, 0};
    // lab(54.29% 80.8 69.89) rounded as published; OKLCH to the published digits.
    expectNear(XyzD50ToLab(XyzD65ToD50(LinearSrgbToXyz(red))), {54.29, 80.80, 69.89}, 0.02);
    expectNear(LabToLch(LinearSrgbToOkLab(red)), {0.627955, 0.257683, 29.233885}, 1e-5);
    // The direct sRGB path and the one through XYZ agree but for their whites' difference.
    expectNear(XyzToOkLab(LinearSrgbToXyz({0.2, 0.5, 0.9})), LinearSrgbToOkLab({0.2, 0.5, 0.9}),
               2e-4);
}

TEST(ColorSpaces, EveryPairOfConversionsIsInverse) {
    const ColorTriple rgb{0.13, 0.72, 0.41};
    expectNear(XyzToLinearSrgb(LinearSrgbToXyz(rgb)), rgb, 1e-12);
    expectNear(XyzD50ToD65(XyzD65ToD50(rgb)), rgb, 1e-12);
    expectNear(XyzD50ToLab(LabToXyzD50({37.5, -20, 44})), {37.5, -20, 44}, 1e-9);
    expectNear(XyzD50ToLab(LabToXyzD50({3, 1, -2})), {3, 1, -2}, 1e-9); // the linear toe
    expectNear(OkLabToLinearSrgb(LinearSrgbToOkLab(rgb)), rgb, 1e-9);
    expectNear(LabToLch(LchToLab({0.5, 0.1, 300})), {0.5, 0.1, 300}, 1e-12);
    for (double c : {-0.7, -0.002, 0.0, 0.002, 0.04, 0.5, 1.0, 1.3})
        EXPECT_NEAR(LinearToSrgb(SrgbToLinear(c)), c, 1e-12) << c;
    // The D50 white is Lab's white; the D65 white is OKLab's.
    expectNear(XyzD50ToLab(XyzD65ToD50(LinearSrgbToXyz({1, 1, 1}))), {100, 0, 0}, 1e-9);
    expectNear(LinearSrgbToOkLab({1, 1, 1}), {1, 0, 0}, 1e-6);
}

TEST(ColorSpaces, HslAndHwbFollowTheirDefinitions) {
    // rebeccapurple is hsl(270 50% 40%) and hwb(270 20% 40%): #663399.
    const ColorTriple purple{0x66 / 255.0, 0x33 / 255.0, 0x99 / 255.0};
    expectNear(HslToSrgb(270, 0.5, 0.4), purple, 1e-12);
    expectNear(HwbToSrgb(270, 0.2, 0.4), purple, 1e-12);
    expectNear(SrgbToHsl(purple), {270, 0.5, 0.4}, 1e-12);
    expectNear(HslToSrgb(120, 1, 0.25), {0, 0.5, 0}, 1e-12);
    expectNear(HwbToSrgb(40, 0.6, 0.6), {0.5, 0.5, 0.5}, 1e-12); // whiteness + blackness >= 1
    expectNear(SrgbToHsl({0.3, 0.3, 0.3}), {0, 0, 0.3}, 1e-12);
    expectNear(SrgbToHsl({1, 0, 0.5}), {330, 1, 0.5}, 1e-12);
}
