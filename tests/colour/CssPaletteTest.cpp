#include "colour/CssPalette.h"

#include "colour/PaletteGolden.h"

#include <gtest/gtest.h>

namespace {

TEST(CssPalette, WritesTheGoldenFileLeavingOutUnusedPlaces) {
    EXPECT_EQ(CssPalette::Write(ExportPalette()), GoldenFile("export.css"));
    // Plain ASCII needs no charset rule; a comment cannot be closed early.
    EXPECT_EQ(CssPalette::Write({"a */ b", {{kWhite, "Paper"}}}),
              "/* a * / b */\n:root {\n  --paper: #ffffff;\n}\n");
}

TEST(CssPalette, PropertyNamesAreValidAndUnique) {
    const std::vector<TSwatch> swatches{{kBlack, "  Brand Blue (dark) "},
                                        {kBlack, "50% grey!"},
                                        {kBlack, "--x--y--"},
                                        {kBlack, "***"},
                                        {kBlack, "color-4"},
                                        {kBlack, "brand_blue-DARK"},
                                        {kBlack, "Brand blue dark"},
                                        {kBlack, "Ärger\u00a0Ñ"}};
    EXPECT_EQ(CssPalette::PropertyNames(swatches),
              QStringList({"brand-blue-dark", "50-grey", "x-y", "color-4", "color-4-2",
                           "brand_blue-dark", "brand-blue-dark-2", "ärger-ñ"}));
}

} // namespace
