#include "colour/GplPalette.h"

#include "colour/PaletteGolden.h"

#include <gtest/gtest.h>

namespace {

TEST(GplPalette, ReadsCommentsTabsLineEndsAndNamesAsWritten) {
    const TSwatchRead read = GplPalette::Read(GoldenFile("import.gpl"));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.list.name, "Läden & Ships");
    const std::vector<TSwatch> expected{{MakeColor(255, 0, 0), "Rot"},
                                        {MakeColor(0, 128, 0), ""},
                                        {MakeColor(10, 20, 30), "Ночь  с пробелами"},
                                        {MakeColor(255, 255, 255), ""}};
    EXPECT_EQ(read.list.swatches, expected);
}

TEST(GplPalette, WritesTheGoldenFileAndReadsItBack) {
    const QByteArray written = GplPalette::Write(ExportPalette());
    EXPECT_EQ(written, GoldenFile("export.gpl"));
    const TSwatchRead read = GplPalette::Read(written);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.list, ExportPalette());

    // A name can never add a line.
    const QByteArray broken = GplPalette::Write({"a\nb", {{kWhite, "x\r\n0 0 0 y"}}});
    EXPECT_EQ(broken, "GIMP Palette\nName: a b\n#\n255 255 255\tx  0 0 0 y\n");
}

TEST(GplPalette, ARefusalNamesTheLineAndWhatIsWrong) {
    const auto error = [](const QByteArray& text) {
        const TSwatchRead read = GplPalette::Read(text);
        EXPECT_TRUE(read.list.swatches.empty() || !read.ok());
        return read.error.toStdString();
    };
    EXPECT_EQ(error(""), "Line 1: this is not a GIMP palette; its first line must be "
                         "\"GIMP Palette\".");
    EXPECT_EQ(error("Huesplinter ColorSet Data File=20\r\n").substr(0, 7), "Line 1:");
    EXPECT_EQ(error("GIMP Palette\n1 2 3\n\n256 0 0 too\n"),
              "Line 4: a colour value is above 255.");
    EXPECT_EQ(error("GIMP Palette\r\n# x\r\n12 abc 3\r\n"),
              "Line 3: expected red, green and blue as numbers 0 to 255, found \"12 abc 3\".");
    EXPECT_EQ(error("GIMP Palette\n1 2\n").substr(0, 7), "Line 2:");
    EXPECT_EQ(error("GIMP Palette\n-1 0 0\n").substr(0, 7), "Line 2:");
    EXPECT_EQ(error("GIMP Palette\n1,2,3\n").substr(0, 7), "Line 2:");
    EXPECT_EQ(error("GIMP Palette\n99999999999999999999 0 0\n"),
              "Line 2: a colour value is above 255.");
    // Blank lines, comments and a palette without colours are no error.
    EXPECT_EQ(error("GIMP Palette\n\n# none\n"), "");
}

} // namespace
