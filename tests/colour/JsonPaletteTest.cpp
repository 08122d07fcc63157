#include "colour/JsonPalette.h"

#include "colour/PaletteGolden.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonPalette, ReadsTheLayoutInAnyMemberOrderWithShortHexAndEscapes) {
    const TSwatchRead read = JsonPalette::Read(GoldenFile("import.json"));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.list.name, "Ночь");
    const std::vector<TSwatch> expected{{MakeColor(255, 128, 0), "Orange"},
                                        {MakeColor(0, 255, 0), ""},
                                        {MakeColor(0x12, 0x34, 0x56), ""},
                                        {MakeColor(0x1A, 0x1A, 0x1A), "Café \"Noir\""}};
    EXPECT_EQ(read.list.swatches, expected);
}

TEST(JsonPalette, WritesTheGoldenFileAndReadsItBack) {
    const QByteArray written = JsonPalette::Write(ExportPalette());
    EXPECT_EQ(written, GoldenFile("export.json"));
    const TSwatchRead read = JsonPalette::Read(written);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.list, ExportPalette());
    // Controls are escaped, so every name survives.
    const TSwatchList odd{"a\tb\\", {{kBlack, QString("x\ny") + QChar(1)}}};
    EXPECT_EQ(JsonPalette::Read(JsonPalette::Write(odd)).list, odd);
    EXPECT_EQ(JsonPalette::Write({"", {}}), "{\n  \"name\": \"\",\n  \"colors\": []\n}\n");
}

TEST(JsonPalette, ARefusalNamesTheByteOrTheColour) {
    const auto error = [](const QByteArray& text) {
        const TSwatchRead read = JsonPalette::Read(text);
        EXPECT_FALSE(read.ok()) << text.toStdString();
        return read.error.toStdString();
    };
    EXPECT_EQ(error("{\"colors\": [}").substr(0, 8), "Byte 13:");
    EXPECT_EQ(error("[]"), "The file is not a JSON object with a \"colors\" list.");
    EXPECT_EQ(error("{\"name\": \"x\"}"), "\"colors\" must be a list of colours.");
    EXPECT_EQ(error("{\"name\": 3, \"colors\": []}"), "\"name\" must be a text.");
    EXPECT_EQ(error("{\"colors\": [{\"hex\": \"#000000\"}, {\"hex\": \"#12345\"}]}"),
              "Colour 2 of \"colors\": \"hex\" must be a colour like \"#1a2b3c\".");
    EXPECT_EQ(error("{\"colors\": [\"#000000\"]}").substr(0, 22), "Colour 1 of \"colors\": ");
    EXPECT_EQ(error("{\"colors\": [{\"hex\": \"#00GG00\"}]}").substr(0, 22),
              "Colour 1 of \"colors\": ");
    EXPECT_EQ(error("{\"colors\": [{\"hex\": \"#000\", \"name\": null}]}"),
              "Colour 1 of \"colors\": \"name\" must be a text.");
}

} // namespace
