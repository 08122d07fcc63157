#include "colorsets/PaletteFile.h"

#include "colour/GplPalette.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

TEST(PaletteFile, TheFormatComesFromTheExtensionThenTheContent) {
    using F = TPaletteFormat;
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.GPL", "{"), F::Gpl);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.Ase", ""), F::Ase);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.json", ""), F::Json);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.hspl", "ASEF"), F::ColorSet);
    // A style sheet cannot be imported, so its extension decides nothing.
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.css", "ASEF"), F::Ase);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b.txt", "\xEF\xBB\xBFGIMP Palette\r\n"), F::Gpl);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b", " \n {\"colors\": []}"), F::Json);
    EXPECT_EQ(PaletteFile::FormatToImport("/a/b", "something"), F::ColorSet);

    EXPECT_EQ(PaletteFile::WithExtension("/a/set", F::Gpl), "/a/set.gpl");
    EXPECT_EQ(PaletteFile::WithExtension("/a/set.GPL", F::Gpl), "/a/set.GPL");
    EXPECT_EQ(PaletteFile::WithExtension("/a/set.Hspl", F::Css), "/a/set.css");
    EXPECT_EQ(PaletteFile::WithExtension("/a/v1.2", F::Json), "/a/v1.2.json");
    EXPECT_EQ(PaletteFile::WithExtension("/a/.json", F::Ase), "/a/.json.ase");
}

TEST(PaletteFile, APaletteMakesSetsOfTwentyFilledWithBlack) {
    std::vector<TSwatch> swatches;
    for (int i = 0; i < 45; ++i)
        swatches.push_back({MakeColor(i, 1, 2), QStringLiteral("c%1\t\n").arg(i)});
    const std::vector<TColorSetEntries> sets = PaletteFile::SplitIntoSets(swatches);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0][0], (TColorSetEntry{MakeColor(0, 1, 2), "c0  "}));
    EXPECT_EQ(sets[1][19].color, MakeColor(39, 1, 2));
    EXPECT_EQ(sets[2][4].name, "c44  ");
    EXPECT_EQ(sets[2][5], TColorSetEntry{});
    EXPECT_EQ(sets[2][19], TColorSetEntry{});
    EXPECT_TRUE(PaletteFile::SplitIntoSets({}).empty());
}

TEST(PaletteFile, EveryFormatThatCanHoldASetGivesItBack) {
    TColorSetEntries entries;
    for (int i = 0; i < kColorSetSize; ++i)
        entries[i] = {MakeColor(i * 12, 250 - i, i * 3),
                      i % 4 == 0 ? QString() : QStringLiteral("Tōne %1 \"q\" = ok").arg(i)};
    for (const TPaletteFormatInfo& info : PaletteFile::kFormats) {
        if (!info.canImport) continue;
        const QByteArray bytes =
            PaletteFile::Write(info.format, PaletteFile::FromSet("Set", entries));
        const TSwatchRead read = PaletteFile::Read(info.format, bytes);
        ASSERT_TRUE(read.ok()) << info.filter.data() << read.error.toStdString();
        const std::vector<TColorSetEntries> sets = PaletteFile::SplitIntoSets(read.list.swatches);
        ASSERT_EQ(sets.size(), 1u) << info.filter.data();
        EXPECT_EQ(sets[0], entries) << info.filter.data();
    }
    EXPECT_FALSE(PaletteFile::Read(TPaletteFormat::Css, "").ok());
    EXPECT_EQ(PaletteFile::Read(TPaletteFormat::Gpl, "GIMP Palette\n").error,
              "The file holds no colours.");
}

// Palettes as a widely installed image editor ships them.
TEST(PaletteFile, EveryShippedGimpPaletteImportsAndExportsTheSameColours) {
    const QDir folder("/usr/share/gimp/2.0/palettes");
    const QStringList files = folder.entryList({"*.gpl"}, QDir::Files);
    if (files.isEmpty())
        GTEST_SKIP() << "no palettes in " << folder.path().toStdString()
                     << " (scripts/deps.sh installs the gimp-data package)";
    for (const QString& file : files) {
        const QByteArray bytes = FileBytes(folder.filePath(file));
        const TSwatchRead read = PaletteFile::Read(PaletteFile::FormatToImport(file, bytes), bytes);
        ASSERT_TRUE(read.ok()) << file.toStdString() << ": " << read.error.toStdString();
        const TSwatchRead again = GplPalette::Read(GplPalette::Write(read.list));
        ASSERT_TRUE(again.ok()) << file.toStdString();
        EXPECT_EQ(again.list, read.list) << file.toStdString();
    }
}

} // namespace
