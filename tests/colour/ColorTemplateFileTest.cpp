#include "colour/ColorTemplateFile.h"

#include "colour/ColorTemplate.h"
#include "colour/ColorTemplateList.h"
#include "colour/TemplatePrinting.h"
#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr ColorValue kExample = MakeColor(255, 26, 184);

QStringList formatted(const TColorTemplateList& list) {
    QStringList texts;
    for (const TColorTemplate& t : list)
        texts << FormatTemplate(kExample, t);
    return texts;
}

class TemplateFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Writes the bytes and reads them back as a template file.
    TTemplateFileRead load(const QByteArray& bytes) {
        PutFile(path("t.txt"), bytes);
        return ReadTemplateFile(path("t.txt"));
    }

    QTemporaryDir dir;
};

TEST_F(TemplateFiles, WithoutFilesBothBuiltInListsAreWrittenAndFormatTheExampleColour) {
    TColorTemplateList rgb, hsl;
    EXPECT_EQ(LoadTemplatesOrBuiltIns(TTemplateKind::Rgb, dir.path(), rgb), QString());
    EXPECT_EQ(LoadTemplatesOrBuiltIns(TTemplateKind::Hsl, dir.path(), hsl), QString());

    EXPECT_EQ(formatted(rgb),
              (QStringList{"$00B81AFF", "rgb( 255, 26, 184 );", "rgba( 255, 26, 184, 1 );",
                           "#FF1AB8", "0x00FF1AB8", "0x00B81AFF", "0xFFFF1AB8", "0xFFB81AFF"}));
    EXPECT_EQ(formatted(hsl), (QStringList{"hsl( 318, 100%, 55% );", "hsla( 318, 100%, 55%, 1);",
                                           "hsl( 212, 240, 132 );"}));

    const QByteArray rgbFile = FileBytes(path("MruList.txt"));
    EXPECT_TRUE(rgbFile.startsWith("$00BBGGRR\tDelphi\t1\t0\t0\t0\t\r\n"));
    EXPECT_EQ(rgbFile.count("\r\n"), 8);
    const QByteArray hslFile = FileBytes(path("HslMruList.txt"));
    EXPECT_TRUE(hslFile.startsWith("hsl( HH, SS%, LL% );\tCSS hsl\t0\t360\t100\t100\t\r\n"));
    EXPECT_EQ(hslFile.count("\r\n"), 3);

    // The next start reads what the first one wrote.
    TColorTemplateList again;
    EXPECT_EQ(LoadTemplatesOrBuiltIns(TTemplateKind::Rgb, dir.path(), again), QString());
    EXPECT_EQ(again, rgb);
}

TEST_F(TemplateFiles, EveryFieldSurvivesARoundTripExceptMaximaAbove999) {
    TColorTemplateList list;
    list.Append({"a=b && RR", "Black & White = 1", false, -5, 999, 1000});
    list.Append({"plain", "", true, 0, 0, 0});
    ASSERT_EQ(list.SaveToFile(path("l.txt")), QString());
    EXPECT_EQ(FileBytes(path("l.txt")),
              QByteArray("a=b && RR\tBlack & White = 1\t0\t-5\t999\t0\t\r\n"
                         "plain\t\t1\t0\t0\t0\t\r\n"));
    TColorTemplateList back;
    ASSERT_EQ(back.LoadFromFile(path("l.txt")), QString());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.at(0), (TColorTemplate{"a=b && RR", "Black & White = 1", false, -5, 999, 0}));
    EXPECT_EQ(back.at(1), list.at(1));
}

TEST_F(TemplateFiles, SeparatorsInsideFieldsBecomeBlanksSoEachTemplateStaysOneLine) {
    TColorTemplateList list;
    list.Append({"x\tRR", "a\nb", true, 0, 0, 0});
    list.Append({QStringLiteral("c\rd") + QChar(u'\0') + "e", "n\r\nm", false, 1, 2, 3});
    ASSERT_EQ(list.SaveToFile(path("l.txt")), QString());
    const QList<QByteArray> lines = FileBytes(path("l.txt")).split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines and the empty rest after the last line end
    EXPECT_EQ(lines[0].count('\t'), 6);
    EXPECT_EQ(lines[1].count('\t'), 6);
    EXPECT_EQ(lines[2], QByteArray());

    TColorTemplateList back;
    ASSERT_EQ(back.LoadFromFile(path("l.txt")), QString());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.at(0), (TColorTemplate{"x RR", "a b", true, 0, 0, 0}));
    EXPECT_EQ(back.at(1), (TColorTemplate{"c d e", "n  m", false, 1, 2, 3}));
}

TEST_F(TemplateFiles, ABadMaximumIsReportedButTheOtherLinesStillLoad) {
    const TTemplateFileRead read = load("one\tOne\t1\t0\t0\t0\t\r\n"
                                        "two\tTwo\t0\t12\tabc\t5\t\r\n"
                                        "three\tThree\t0\t0\t0\t0\t\r\n");
    EXPECT_TRUE(read.readOk);
    EXPECT_EQ(read.error, "'abc' is not a valid integer value");
    ASSERT_EQ(read.list.Count(), 3);
    EXPECT_EQ(read.list.at(0).name, "One");
    // The failing line keeps what was read before the bad field.
    EXPECT_EQ(read.list.at(1), (TColorTemplate{"two", "Two", false, 12, 0, 0}));
    EXPECT_EQ(read.list.at(2).name, "Three");
    EXPECT_EQ(TemplateErrorText(read.error),
              "The System say:\r\n'abc' is not a valid integer value");
    EXPECT_EQ(TemplateErrorCaption(), "Error saving color templates !!");
}

TEST_F(TemplateFiles, EachListIsGuardedOnItsOwn) {
    PutFile(path("MruList.txt"), "good\tG\t1\t0\t0\t0\t\r\nbad\tB\t1\tx\t0\t0\t\r\n");
    TColorTemplateList rgb, hsl;
    EXPECT_EQ(LoadTemplatesOrBuiltIns(TTemplateKind::Rgb, dir.path(), rgb),
              "'x' is not a valid integer value");
    EXPECT_EQ(rgb.Count(), 2);
    EXPECT_EQ(LoadTemplatesOrBuiltIns(TTemplateKind::Hsl, dir.path(), hsl), QString());
    EXPECT_EQ(hsl.Count(), 3);
    // The bad file is only read, never rewritten at start-up.
    EXPECT_EQ(FileBytes(path("MruList.txt")),
              QByteArray("good\tG\t1\t0\t0\t0\t\r\nbad\tB\t1\tx\t0\t0\t\r\n"));
}

TEST_F(TemplateFiles, MaximaAreSignedDecimal32BitIntegersWithoutBlanks) {
    const auto hueOf = [&](const QByteArray& field) {
        const TTemplateFileRead read = load("t\tn\t1\t" + field + "\r\n");
        EXPECT_EQ(read.list.Count(), 1);
        return std::make_pair(read.list.at(0).hueMax, read.error.isEmpty());
    };
    EXPECT_EQ(hueOf("+7"), std::make_pair(7, true));
    EXPECT_EQ(hueOf("-2147483648"), std::make_pair(-2147483647 - 1, true));
    EXPECT_EQ(hueOf("2147483647"), std::make_pair(2147483647, true));
    for (const QByteArray bad : {"2147483648", "-2147483649", " 5", "5 ", "-", "0x10", "$10", "1e3",
                                 "99999999999999999999"})
        EXPECT_EQ(hueOf(bad), std::make_pair(0, false)) << bad.constData();
}

TEST_F(TemplateFiles, ShortLinesAreSkippedAndMissingFieldsKeepTheirDefaults) {
    const TTemplateFileRead read = load("ab\r\n"
                                        "abc\r\n"
                                        "t1\tn1\tY\r\n"
                                        "t2\tn2\t0\r\n"
                                        "t3\tn3\t\t240\r\n"
                                        "t4\t\t1x\t1\t2\t3\tignored\tmore\r\n"
                                        "t5\tn5\t1\t9" +
                                        QByteArray(1, '\0') + "\t9\t9\t\r\n");
    EXPECT_EQ(read.error, QString());
    ASSERT_EQ(read.list.Count(), 6);
    EXPECT_EQ(read.list.at(0), (TColorTemplate{"abc", "", true, 0, 0, 0}));
    EXPECT_FALSE(read.list.at(1).hex);
    EXPECT_FALSE(read.list.at(2).hex);
    EXPECT_EQ(read.list.at(3), (TColorTemplate{"t3", "n3", true, 240, 0, 0}));
    EXPECT_EQ(read.list.at(4), (TColorTemplate{"t4", "", true, 1, 2, 3}));
    // A NUL ends the line.
    EXPECT_EQ(read.list.at(5), (TColorTemplate{"t5", "n5", true, 9, 0, 0}));
}

TEST_F(TemplateFiles, EncodingsAndLineEndsOfHandEditedFilesAreRead) {
    const TColorTemplate e{QStringLiteral("é RR"), QStringLiteral("café"), false, 0, 0, 0};
    EXPECT_EQ(load("\xEF\xBB\xBF\xC3\xA9 RR\tcaf\xC3\xA9\t0\n").list.at(0), e);
    // UTF-16LE with a byte-order mark.
    QByteArray utf16("\xFF\xFE");
    const QString line = QStringLiteral("é RR\tcafé\t0\r\n");
    utf16.append(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
    EXPECT_EQ(load(utf16).list.at(0), e);
    // No mark and not UTF-8: the legacy 8-bit page.
    EXPECT_EQ(load("\xE9 RR\tcaf\xE9\t0\r\n").list.at(0), e);

    EXPECT_EQ(load("one\tA\r\ntwo\tB\n\nthree\tC\rfour\tD").list.Count(), 4);
    EXPECT_EQ(load("one\tA\rtwo\tB\r").list.at(1).name, "B");
}

TEST_F(TemplateFiles, AsciiListsAreWrittenPlainAndOthersAsUtf8WithAMark) {
    TColorTemplateList list;
    list.Append({"RR", "plain", true, 0, 0, 0});
    ASSERT_EQ(list.SaveToFile(path("a.txt")), QString());
    EXPECT_EQ(FileBytes(path("a.txt")), QByteArray("RR\tplain\t1\t0\t0\t0\t\r\n"));

    list.Append({"RR", QStringLiteral("é"), true, 0, 0, 0});
    ASSERT_EQ(list.SaveToFile(path("u.txt")), QString());
    EXPECT_EQ(FileBytes(path("u.txt")), QByteArray("\xEF\xBB\xBFRR\tplain\t1\t0\t0\t0\t\r\n"
                                                   "RR\t\xC3\xA9\t1\t0\t0\t0\t\r\n"));
}

TEST_F(TemplateFiles, FailuresAreReportedAndLeaveTheListAsItWas) {
    TColorTemplateList list;
    BuildDefaultHslTemplates(list);
    const TColorTemplateList before = list;
    EXPECT_FALSE(list.LoadFromFile(path("missing.txt")).isEmpty());
    EXPECT_FALSE(list.LoadFromFile(dir.path()).isEmpty());
    EXPECT_EQ(list, before);

    // A data folder that cannot exist: the built-ins are still there for this run.
    PutFile(path("file"), "x");
    TColorTemplateList rgb;
    EXPECT_FALSE(
        LoadTemplatesOrBuiltIns(TTemplateKind::Rgb, path("file") + "/folder", rgb).isEmpty());
    EXPECT_EQ(rgb.Count(), 8);

    // Above the cap nothing is read.
    PutFile(path("huge.txt"), QByteArray(kTemplateFileCap + 1, 'a'));
    EXPECT_FALSE(list.LoadFromFile(path("huge.txt")).isEmpty());
    EXPECT_EQ(list, before);
}

TEST_F(TemplateFiles, AWriteCutShortLeavesTheOldFileAsItWas) {
    TColorTemplateList list;
    BuildDefaultRgbTemplates(list);
    ASSERT_EQ(list.SaveToFile(path("MruList.txt")), QString());
    const QByteArray before = FileBytes(path("MruList.txt"));
    list.Append({QString(200, u'x'), "long", true, 0, 0, 0});
    // A file size limit below the list's size fails the write part way, as a full disk does.
    SKIP_WITHOUT_DISK_FULL();
    QString error;
    {
        const TDiskFullScope full(64);
        error = list.SaveToFile(path("MruList.txt"));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(FileBytes(path("MruList.txt")), before);
}

} // namespace
