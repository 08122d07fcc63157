#include "colorsets/ColorSetStore.h"
#include "platform/FileNames.h"
#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray setText(const QByteArray& header, int lines, const QByteArray& key = "00FF80") {
    QByteArray text = "Huesplinter ColorSet Data File=" + header + "\r\n";
    for (int i = 0; i < lines; ++i)
        text += key + "=n" + QByteArray::number(i) + "\r\n";
    return text;
}

class ColorSetStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TColorSetStore store{dir.path() + "/data/"};
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(dir.path() + "/data")); }
    QString path(const QString& name) const { return store.pathFor(name); }
};

TEST_F(ColorSetStoreTest, BuiltInSetsAreWrittenByteForByte) {
    ASSERT_FALSE(store.WriteBuiltInColorSet(path("16 Colors Set")));
    ASSERT_FALSE(store.WriteBuiltInColorSet(path("Default Color Set")));
    EXPECT_EQ(FileBytes(path("16 Colors Set")),
              QByteArray("Huesplinter ColorSet Data File=20\r\n"
                         "000000=Black\r\nFFFFFF=White\r\n000080=Maroon\r\n008080=Olive\r\n"
                         "008000=Green\r\n808000=Teal\r\n800000=Navy\r\n800080=Purple\r\n"
                         "0000FF=Red\r\n00FFFF=Yellow\r\nFFFF00=Aqua\r\n00FF00=Lime\r\n"
                         "FF0000=Blue\r\nFF00FF=Fuchsia\r\nC0C0C0=Silver\r\n808080=Gray\r\n"
                         "000000=\r\n000000=\r\n000000=\r\n000000=\r\n"));
    EXPECT_EQ(FileBytes(path("Default Color Set")),
              QByteArray("Huesplinter ColorSet Data File=20\r\n"
                         "0000FF=\r\n004DFF=\r\n009BFF=\r\n00E7FF=\r\n00FFCE=\r\n"
                         "00FF80=\r\n00FF34=\r\n1AFF00=\r\n66FF00=\r\nB4FF00=\r\n"
                         "FFFF00=\r\nFFB400=\r\nFF6600=\r\nFF1A00=\r\nFF0034=\r\n"
                         "FF0080=\r\nFF00CE=\r\nE700FF=\r\n9B00FF=\r\n4D00FF=\r\n"));
    // Only the exact built-in file names have a standard content. Where file
    // names ignore case, this name is the built-in's file, which stays as it is.
    const QString other = path("default color set");
    const bool sameFile = QFile::exists(other);
    const QByteArray before = FileBytes(other);
    EXPECT_TRUE(store.WriteBuiltInColorSet(other));
    EXPECT_EQ(QFile::exists(other), sameFile);
    EXPECT_EQ(FileBytes(other), before);
}

TEST_F(ColorSetStoreTest, NamesAndKeysSurviveAWriteAndARead) {
    TColorSetEntries entries;
    entries[0] = {0x0000FF, "a=b=c"};
    entries[1] = {0xFF0000, QString::fromUtf8("Grün")};
    entries[19] = {0x123456, "last"};
    ASSERT_FALSE(store.WriteColorSet(path("x"), entries));
    const TColorSetRead back = store.ReadColorSet(path("x"), TKeyDecoding::Slots);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.entries, entries);

    PutFile(path("lower"), setText("20", 20, "00ff80"));
    for (TKeyDecoding decoding : {TKeyDecoding::Slots, TKeyDecoding::Tiles})
        EXPECT_EQ(store.ReadColorSet(path("lower"), decoding).entries[3].color, 0x00FF80u);
}

TEST_F(ColorSetStoreTest, CountsOtherThanTwentyStayInsideTheTwentyEntries) {
    PutFile(path("c25"), setText("25", 25));
    const TColorSetRead many = store.ReadColorSet(path("c25"), TKeyDecoding::Slots);
    ASSERT_TRUE(many.ok());
    EXPECT_EQ(many.entries[19].name, "n19");

    PutFile(path("c16"), setText("16", 16));
    const TColorSetRead few = store.ReadColorSet(path("c16"), TKeyDecoding::Tiles);
    ASSERT_TRUE(few.ok());
    EXPECT_EQ(few.entries[15].name, "n15");
    EXPECT_EQ(few.entries[16], TColorSetEntry{});
    EXPECT_EQ(few.entries[19], TColorSetEntry{});

    PutFile(path("c0"), setText("0", 0) + "\r\n\r\n");
    const TColorSetRead none = store.ReadColorSet(path("c0"), TKeyDecoding::Slots);
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(none.entries, ColorSetFile::BlankColors());

    PutFile(path("cneg"), setText("-1", 20));
    const TColorSetRead negative = store.ReadColorSet(path("cneg"), TKeyDecoding::Slots);
    ASSERT_FALSE(negative.ok());
    EXPECT_EQ(negative.error->failure, TColorSetFailure::HasErrors);
    EXPECT_EQ(negative.error->caption(), "File Error!");

    PutFile(path("short"), setText("20", 5));
    const TColorSetRead partial = store.ReadColorSet(path("short"), TKeyDecoding::Slots);
    ASSERT_FALSE(partial.ok());
    EXPECT_EQ(partial.error->text(),
              "File have errors: \r\n" + path("short") + "\r\nLine 7 is missing");

    PutFile(path("word"), setText("twenty", 20));
    EXPECT_EQ(store.ReadColorSet(path("word"), TKeyDecoding::Slots).error->systemText,
              "'twenty' is not a valid integer value");
}

TEST_F(ColorSetStoreTest, ACountThatDisagreesWithTheLinesIsDamageAndNothingIsRead) {
    // Read as no entries, the next save would blank all twenty.
    PutFile(path("c0"), setText("0", 20));
    const TColorSetRead zero = store.ReadColorSet(path("c0"), TKeyDecoding::Slots);
    ASSERT_FALSE(zero.ok());
    EXPECT_EQ(zero.error->text(), "File have errors: \r\n" + path("c0") +
                                      "\r\nThe header counts 0 colours, but 20 colour lines "
                                      "follow it");
    PutFile(path("c16"), setText("16", 20));
    EXPECT_EQ(store.ReadColorSet(path("c16"), TKeyDecoding::Tiles).error->failure,
              TColorSetFailure::HasErrors);

    // A huge count is checked against the lines there are, without looping up to it.
    PutFile(path("cmax"), setText("2147483647", 20));
    EXPECT_EQ(store.ReadColorSet(path("cmax"), TKeyDecoding::Slots).error->systemText,
              "Line 22 is missing");
}

TEST_F(ColorSetStoreTest, WrongHeaderAndUnreadableFilesAreRefusedWithTheirTexts) {
    // The header's key without "=" and a count is no header either.
    PutFile(path("bare"), "Huesplinter ColorSet Data File\r\n" + setText("20", 20).mid(35));
    const TColorSetRead bare = store.ReadColorSet(path("bare"), TKeyDecoding::Slots);
    ASSERT_FALSE(bare.ok());
    EXPECT_EQ(bare.error->caption(), "File Error");
    EXPECT_EQ(bare.error->text(), path("bare") + "\r\nIs not Huesplinter ColorSet Data File !");

    PutFile(path("bad"), "ColorSet Data File=20\r\n");
    const TColorSetRead bad = store.ReadColorSet(path("bad"), TKeyDecoding::Slots);
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error->caption(), "File Error");
    EXPECT_EQ(bad.error->text(), path("bad") + "\r\nIs not Huesplinter ColorSet Data File !");

    const TColorSetRead missing = store.ReadColorSet(path("gone"), TKeyDecoding::Slots);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error->caption(), "File Error!");
    EXPECT_TRUE(missing.error->text().startsWith("Could not import the file: \r\n" + path("gone") +
                                                 "\r\n"));
    EXPECT_FALSE(missing.error->systemText.isEmpty());

    PutFile(path("huge"), QByteArray(kColorSetFileCap + 10, 'x'));
    EXPECT_EQ(store.ReadColorSet(path("huge"), TKeyDecoding::Slots).error->failure,
              TColorSetFailure::CannotRead);
}

TEST_F(ColorSetStoreTest, LineBreaksInNamesNeverAddLines) {
    TColorSetEntries entries;
    entries[2].name = "first\r\nsecond";
    entries[3].name = QString("tab\there") + QChar(0x2028) + "x";
    ASSERT_FALSE(store.WriteColorSet(path("names"), entries));
    const QByteArray bytes = FileBytes(path("names"));
    EXPECT_EQ(bytes.count("\r\n"), 21);
    EXPECT_EQ(bytes.count('\n'), 21);
    const TColorSetRead back = store.ReadColorSet(path("names"), TKeyDecoding::Slots);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.entries[2].name, "first  second");
    EXPECT_EQ(back.entries[19], TColorSetEntry{});
}

TEST_F(ColorSetStoreTest, KeysKeepTheirLowTwentyFourBitsAndAreWrittenAsSixDigits) {
    QByteArray text = "Huesplinter ColorSet Data File=20\r\nFFFFFFFF=none\r\nFF00FF00=b3\r\n";
    text += "12345=five\r\n";
    for (int i = 3; i < 20; ++i)
        text += "0=\r\n";
    PutFile(path("wide"), text);
    const TColorSetRead bySlots = store.ReadColorSet(path("wide"), TKeyDecoding::Slots);
    const TColorSetRead tiles = store.ReadColorSet(path("wide"), TKeyDecoding::Tiles);
    ASSERT_TRUE(bySlots.ok() && tiles.ok());
    EXPECT_EQ(bySlots.entries[0].color, 0xFFFFFFu);
    EXPECT_EQ(bySlots.entries[1].color, 0x00FF00u);
    EXPECT_EQ(tiles.entries[0].color, 0xFFFFFFu);
    EXPECT_EQ(tiles.entries[1].color, 0x00FF00u);
    // Whole pairs from the right only: a five-digit key loses its first digit.
    EXPECT_EQ(bySlots.entries[2].color, 0x012345u);
    EXPECT_EQ(tiles.entries[2].color, 0x002345u);
    EXPECT_EQ(ColorSetFile::DecodeKey(u"G1FF", TKeyDecoding::Tiles), 0x0000FFu);
    EXPECT_EQ(ColorSetFile::DecodeKey(u"", TKeyDecoding::Slots), 0u);

    TColorSetEntries entries = bySlots.entries;
    entries[5].color = 0xFF00FF00u;
    ASSERT_FALSE(store.WriteColorSet(path("wide"), entries));
    const QByteArray written = FileBytes(path("wide"));
    EXPECT_TRUE(written.contains("\r\nFFFFFF=none\r\n00FF00=b3\r\n"));
    EXPECT_TRUE(written.contains("\r\n00FF00=\r\n"));
    // The program's own import takes what it wrote.
    EXPECT_FALSE(store.ImportColorSet(path("wide"), "again"));
}

TEST_F(ColorSetStoreTest, TheListHasBuiltInsFirstThenEveryFileIgnoringCase) {
    for (const char* name : {"beta", "Alpha", ".hidden", "default color set", "gamma"})
        PutFile(path(name), setText("20", 20));
    PutFile(store.folder() + "other.txt", "x");
    // The extension in any case is a set; a name that only holds it, or a folder, is not.
    PutFile(store.folder() + "Delta.HSPL", setText("20", 20));
    PutFile(store.folder() + "copy.Hspl.bak", "x");
    PutFile(store.folder() + "Hspl", "x");
    ASSERT_TRUE(QDir(store.folder()).mkdir("folder.Hspl"));
    const TColorSetList list = store.ListColorSets();
    const TColorSetList expected{{"16 Colors Set", path("16 Colors Set")},
                                 {"Default Color Set", path("default color set")},
                                 {".hidden", path(".hidden")},
                                 {"Alpha", path("Alpha")},
                                 {"beta", path("beta")},
                                 {"Delta", store.folder() + "Delta.HSPL"},
                                 {"gamma", path("gamma")}};
    EXPECT_EQ(list, expected);
    EXPECT_EQ(TColorSetStore::SortedPlace(list, "Beta2"), 5u);
    EXPECT_EQ(TColorSetStore::SortedPlace(list, "Zeta"), 7u);
}

// Windows refuses device names (with any extension), its reserved characters and a trailing
// blank or dot; elsewhere these are ordinary names.
TEST(ColorSetStoreNames, NamesWindowsRefusesAreRefusedThereWithTheReason) {
    const bool windows = !FileNames::reservedCharacters().isEmpty();
    for (const char* name : {"CON", "nul.Hspl", "Com1 .x", "lpt9", "a|b", "a<b", "What?", "x:y",
                             "say \"hi\"", "star*", "end.", "end "})
        EXPECT_EQ(TColorSetStore::IsSafeName(name), !windows) << name;
    for (const char* name : {"Console", "COM10", "NULL.x", "x.CON", "a.b"})
        EXPECT_TRUE(TColorSetStore::IsSafeName(name)) << name;
    if (!windows) return;
    EXPECT_EQ(TColorSetStore::NameProblem("a|b"), "A name cannot hold any of < > : \" | ? *.");
    EXPECT_EQ(TColorSetStore::NameProblem("Com1 .x"), "\"Com1\" is a device name of the system.");
    EXPECT_EQ(TColorSetStore::NameProblem("end."), "A name cannot end in a blank or a dot.");
}

TEST_F(ColorSetStoreTest, NamesThatLeaveTheFolderAreRefusedEverywhere) {
    PutFile(path("src"), setText("20", 20));
    for (const QString& name :
         {QString("../escaped"), QString("../../x"), QString("a/b"), QString("Web/Print"),
          QString("a\\b"), QString(""), QString("tab\there")}) {
        EXPECT_FALSE(TColorSetStore::IsSafeName(name)) << name.toStdString();
        EXPECT_TRUE(store.NewColorSet(name)) << name.toStdString();
        EXPECT_TRUE(store.RenameColorSet(path("src"), name));
        EXPECT_TRUE(store.CopyColorSet(path("src"), name));
        EXPECT_TRUE(store.ImportColorSet(path("src"), name));
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/escaped.Hspl"));
    EXPECT_FALSE(QFile::exists(store.folder() + "a"));
    EXPECT_TRUE(QFile::exists(path("src")));
    EXPECT_TRUE(TColorSetStore::IsSafeName(".x"));
    // Set paths outside the folder are not written or deleted either.
    PutFile(dir.path() + "/outside.Hspl", "keep");
    EXPECT_TRUE(store.WriteColorSet(dir.path() + "/outside.Hspl", {}));
    EXPECT_TRUE(store.DeleteColorSet(dir.path() + "/outside.Hspl"));
    EXPECT_EQ(FileBytes(dir.path() + "/outside.Hspl"), "keep");
}

TEST_F(ColorSetStoreTest, NothingReplacesAnExistingSet) {
    PutFile(path("a"), setText("20", 20, "111111"));
    PutFile(path(".b"), setText("20", 20, "222222"));
    // New on a name whose file is there (hidden, so easy to miss).
    const TColorSetStatus created = store.NewColorSet(".b");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->failure, TColorSetFailure::CannotSave);
    EXPECT_TRUE(created->text().startsWith("Could not save Color Set file:\r\n" + path(".b") +
                                           "\r\nSystem Say:\r\n"));

    const TColorSetStatus renamed = store.RenameColorSet(path("a"), ".b");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->text(), "Could not rename Color Set file:\r\n" + path("a") +
                                   "\r\nSystem Say:\r\n" + renamed->systemText);
    EXPECT_FALSE(renamed->systemText.isEmpty());

    const TColorSetStatus copied = store.CopyColorSet(path("a"), ".b");
    ASSERT_TRUE(copied);
    EXPECT_TRUE(copied->text().startsWith("Could not Copy Color Set file:\r\n" + path("a")));

    EXPECT_TRUE(store.ImportColorSet(path("a"), ".b"));
    EXPECT_EQ(FileBytes(path(".b")), setText("20", 20, "222222"));
    EXPECT_EQ(FileBytes(path("a")), setText("20", 20, "111111"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(ColorSetStoreTest, StoreOperationsDoWhatTheySay) {
    ASSERT_FALSE(store.NewColorSet("new"));
    EXPECT_EQ(store.ReadColorSet(path("new"), TKeyDecoding::Slots).entries,
              ColorSetFile::BlankColors());
    ASSERT_FALSE(store.RenameColorSet(path("new"), "renamed"));
    EXPECT_FALSE(QFile::exists(path("new")));
    ASSERT_FALSE(store.CopyColorSet(path("renamed"), "copied"));
    EXPECT_EQ(FileBytes(path("copied")), FileBytes(path("renamed")));
    ASSERT_FALSE(store.DeleteColorSet(path("copied")));
    EXPECT_FALSE(QFile::exists(path("copied")));
    const TColorSetStatus again = store.DeleteColorSet(path("copied"));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->text().startsWith("Could not Delete Color Set file:\r\n"));
}

TEST_F(ColorSetStoreTest, ImportChecksTheFileAndWritesTheConvertedSet) {
    const QString chosen = dir.path() + "/chosen.Hspl";
    // UTF-16 with a mark, LF line ends, lower-case keys, only 3 entries
    // counted: the set is written anew in the program's own form.
    QByteArray utf16("\xFF\xFE", 2);
    const QString text = QString::fromUtf8(setText("3", 3, "00ff80")).replace("\r\n", "\n");
    utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    PutFile(chosen, utf16);
    ASSERT_FALSE(store.ImportColorSet(chosen, "imported"));
    TColorSetEntries expected;
    for (int i = 0; i < 3; ++i)
        expected[i] = {0x00FF80u, QStringLiteral("n%1").arg(i)};
    EXPECT_EQ(FileBytes(path("imported")), ColorSetFile::Format(expected).toLatin1());

    // Any palette format, with a line or byte to look at when it is wrong.
    PutFile(dir.path() + "/p.gpl", "GIMP Palette\n255 0 0 Red\n");
    ASSERT_FALSE(store.ImportColorSet(dir.path() + "/p.gpl", "from gpl"));
    EXPECT_EQ(store.ReadColorSet(path("from gpl"), TKeyDecoding::Tiles).entries[0],
              (TColorSetEntry{0x0000FFu, "Red"}));
    PutFile(dir.path() + "/p.json", "{\"colors\": 7}");
    const TColorSetStatus json = store.ImportColorSet(dir.path() + "/p.json", "json");
    ASSERT_TRUE(json);
    EXPECT_EQ(json->text(), "File have errors: \r\n" + dir.path() +
                                "/p.json\r\n\"colors\" must be a list of colours.");
    EXPECT_FALSE(QFile::exists(path("json")));

    const auto importError = [&](const QByteArray& bytes) {
        PutFile(chosen, bytes);
        const TColorSetStatus error = store.ImportColorSet(chosen, "bad");
        EXPECT_FALSE(QFile::exists(path("bad")));
        return error ? error->text() : QString();
    };
    const QString prefix = "File have errors: \r\n" + chosen + "\r\n";
    EXPECT_EQ(importError(setText("20", 20, "12345")), prefix + "Wrong Color Value: 12345");
    EXPECT_EQ(importError(setText("20", 20, "00GG00")), prefix + "Wrong Color Value: 00GG00");
    EXPECT_EQ(importError(setText("20", 3)), prefix + "Line 5 is missing");
    EXPECT_EQ(importError(setText("2147483647", 20)), prefix + "Line 22 is missing");
    EXPECT_EQ(importError(setText("-3", 20)), prefix + "'-3' is not a valid entry count");
    EXPECT_EQ(importError(setText("0", 20)),
              prefix + "The header counts 0 colours, but 20 colour lines follow it");
    EXPECT_EQ(importError("ColorSet=20\r\n"),
              chosen + "\r\nIs not Huesplinter ColorSet Data File !");
    const TColorSetStatus unreadable = store.ImportColorSet(dir.path() + "/none.Hspl", "bad");
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->caption(), "File Error!");
}

TEST_F(ColorSetStoreTest, ExportReplacesTheTargetButNeverLosesTheSetItself) {
    PutFile(path("mine"), setText("20", 20, "ABCDEF"));
    const QString target = dir.path() + "/out.Hspl";
    PutFile(target, "old");
    ASSERT_FALSE(store.ExportColorSet(path("mine"), target));
    EXPECT_EQ(FileBytes(target), setText("20", 20, "ABCDEF"));

    // Its own file as the target, by another spelling of the path.
    ASSERT_FALSE(store.ExportColorSet(path("mine"), store.folder() + "../data/mine.Hspl"));
    EXPECT_EQ(FileBytes(path("mine")), setText("20", 20, "ABCDEF"));

    // A source that cannot be read leaves the target as it was.
    PutFile(target, "old");
    const TColorSetStatus failed = store.ExportColorSet(path("gone"), target);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->text().startsWith("Could not Copy Color Set file:\r\n" + path("gone")));
    EXPECT_EQ(FileBytes(target), "old");
}

TEST_F(ColorSetStoreTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    PutFile(path("full"), setText("20", 20, "ABCDEF"));
    // A file size limit below the set's size fails the write part way, as a
    // full device does.
    SKIP_WITHOUT_DISK_FULL();
    TColorSetStatus status;
    {
        const TDiskFullScope full(64);
        status = store.WriteColorSet(path("full"), ColorSetFile::SixteenColors());
    }
    ASSERT_TRUE(status);
    EXPECT_EQ(status->failure, TColorSetFailure::CannotSave);
    EXPECT_FALSE(status->systemText.isEmpty());
    EXPECT_EQ(FileBytes(path("full")), setText("20", 20, "ABCDEF"));
}

} // namespace
