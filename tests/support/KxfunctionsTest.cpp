#include "support/Kxfunctions.h"

#include "platform/FakePlatform.h"
#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TEST(KxfunctionsPaths, TrailingSeparatorIsAddedOrRemovedOnce) {
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("/home/x")), QStringLiteral("/home/x/"));
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("/home/x/")), QStringLiteral("/home/x/"));
    EXPECT_EQ(WithTrailingBackslash(QString()), QString());
    EXPECT_EQ(WithoutTrailingBackslash(QStringLiteral("/home/x/")), QStringLiteral("/home/x"));
    EXPECT_EQ(WithoutTrailingBackslash(QStringLiteral("/home/x")), QStringLiteral("/home/x"));
    EXPECT_EQ(WithoutTrailingBackslash(QStringLiteral("/home/x//")), QStringLiteral("/home/x/"));
    EXPECT_EQ(WithoutTrailingBackslash(QString()), QString());
}

TEST(KxfunctionsPaths, UniqueFileNameSkipsExistingFilesAndFolders) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("Sample"));
    EXPECT_EQ(UniqueFileName(base, QStringLiteral(".txt")), base + QStringLiteral(".txt"));
    QFile(base + QStringLiteral(".txt")).open(QIODevice::WriteOnly);
    QFile(base + QStringLiteral("(1).txt")).open(QIODevice::WriteOnly);
    QDir().mkdir(base + QStringLiteral("(2).txt"));
    EXPECT_EQ(UniqueFileName(base, QStringLiteral(".txt")), base + QStringLiteral("(3).txt"));
}

TEST(KxfunctionsPaths, SplitNumberedNameTakesTheLastDigitRunOfTheFileName) {
    const auto split = [](const char* path) { return SplitNumberedName(QString::fromUtf8(path)); };
    EXPECT_EQ(split("/p/img9.png"), (TNumberedName{QStringLiteral("/p/img"), 9, ".png"}));
    EXPECT_EQ(split("img10.png").number, 10);
    EXPECT_EQ(split("img007.png"), (TNumberedName{QStringLiteral("img"), 7, ".png"}));
    EXPECT_EQ(split("Sample12v3.png"), (TNumberedName{QStringLiteral("Sample12v"), 3, ".png"}));
    EXPECT_EQ(split("5.png"), (TNumberedName{QString(), 5, ".png"}));
    EXPECT_EQ(split("shot.png"), (TNumberedName{QStringLiteral("shot"), 0, ".png"}));
    EXPECT_EQ(split("/Pics2/shot.png"), (TNumberedName{QStringLiteral("/Pics2/shot"), 0, ".png"}));
    EXPECT_EQ(split("/Pics2.d/shot"), (TNumberedName{QStringLiteral("/Pics2.d/shot"), 0, ""}));
    EXPECT_EQ(split("shot.tar.gz"), (TNumberedName{QStringLiteral("shot.tar"), 0, ".gz"}));
    // A run too long for the number keeps its leading digits in the stem, so
    // counting up still makes the next name.
    const TNumberedName huge = split("a123456789012345678901.png");
    EXPECT_EQ(huge.stem + QString::number(huge.number) + huge.suffix,
              QStringLiteral("a123456789012345678901.png"));
    EXPECT_EQ(huge.stem + QString::number(huge.number + 1) + huge.suffix,
              QStringLiteral("a123456789012345678902.png"));
}

TEST(KxfunctionsPaths, EnsureExtensionComparesIgnoringCase) {
    EXPECT_EQ(EnsureExtension(QStringLiteral("picture"), QStringLiteral("png")),
              QStringLiteral("picture.png"));
    EXPECT_EQ(EnsureExtension(QStringLiteral("picture.jpg"), QStringLiteral(".png")),
              QStringLiteral("picture.jpg.png"));
    EXPECT_EQ(EnsureExtension(QStringLiteral("a.PNG"), QStringLiteral("png")),
              QStringLiteral("a.PNG"));
    EXPECT_EQ(EnsureExtension(QStringLiteral("/d.png/file"), QStringLiteral("png")),
              QStringLiteral("/d.png/file.png"));
    EXPECT_EQ(EnsureExtension(QString(), QStringLiteral("png")), QString());
    EXPECT_EQ(EnsureExtension(QStringLiteral("x"), QString()), QStringLiteral("x"));
}

TEST(KxfunctionsErrors, TextsComeFromTheSystemAndTheLastErrorIsReadFirst) {
    EXPECT_FALSE(SystemErrorText(ENOENT).isEmpty());
    EXPECT_NE(SystemErrorText(ENOENT), SystemErrorText(EACCES));
    QFile missing(QStringLiteral("/nonexistent-folder/for/sure.txt"));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    errno = ENOENT;
    EXPECT_EQ(LastErrorText(), SystemErrorText(ENOENT));
    EXPECT_LE(SystemErrorText(123456).size(), 999);
#ifdef __GLIBC__
    EXPECT_EQ(SystemErrorText(123456), QString()) << "no made-up text for an unknown number";
    EXPECT_EQ(SystemErrorText(-1), QString());
#endif
}

TEST(KxfunctionsHex, ParseHexLenientSkipsOtherCharactersAndWraps) {
    EXPECT_EQ(ParseHexLenient(u"#00ff80"), 0x00FF80u);
    EXPECT_EQ(ParseHexLenient(u"zz"), 0u);
    EXPECT_EQ(ParseHexLenient(u""), 0u);
    EXPECT_EQ(ParseHexLenient(u"0x00B8 1A-FF"), 0xB81AFFu);
    EXPECT_EQ(ParseHexLenient(u"gG\u00e9\uff11A"), 0xAu) << "only ASCII digits count";
    EXPECT_EQ(ParseHexLenient(u"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexLenient(u"123456789"), 0x23456789u);
}

TEST(KxfunctionsFlags, OnlyZeroReadsAsOff) {
    EXPECT_EQ(FlagChar(true), QLatin1Char('1'));
    EXPECT_EQ(FlagChar(false), QLatin1Char('0'));
    EXPECT_FALSE(CharFlag(QLatin1Char('0')));
    EXPECT_TRUE(CharFlag(QLatin1Char('1')));
    EXPECT_TRUE(CharFlag(QChar(0)));
    EXPECT_TRUE(CharFlag(QLatin1Char('x')));
}

TEST(KxfunctionsRegistry, StringsGoThroughTheUserStoreAndNeverCreateOnRead) {
    const QString key = QStringLiteral("Software\\Vextora\\HuesplinterTest");
    TUserStore store;
    store.deleteKey(key);
    EXPECT_EQ(ReadUserRegistryString(key, QStringLiteral("Version")), QString());
    EXPECT_FALSE(store.keyExists(key));

    WriteUserRegistryString(key, QStringLiteral("Version"), QStringLiteral("2.0 \u00e6=\u00f8"));
    EXPECT_EQ(ReadUserRegistryString(key, QStringLiteral("version")),
              QStringLiteral("2.0 \u00e6=\u00f8"));
    EXPECT_EQ(ReadUserRegistryString(key, QStringLiteral("Other")), QString());

    ASSERT_TRUE(store.openKey(key, false));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("Number"), 7).ok);
    EXPECT_EQ(ReadUserRegistryString(key, QStringLiteral("Number")), QString());
    store.deleteKey(key);
}

TEST(KxfunctionsFonts, ListIsSortedUniqueIgnoringCaseAndWithoutVerticalOrBitmapFonts) {
    TScopedFakePlatform platform;
    QStringList list;
    for (const char* name : {"Verdana", "arial", "@MS Gothic", "Courier New", "ARIAL", "Tahoma",
                             "courier new", "Liberation Sans"})
        AddTrueTypeFontName(QString::fromUtf8(name), true, list);
    AddTrueTypeFontName(QStringLiteral("Fixed"), false, list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("arial"), QStringLiteral("Courier New"),
                                 QStringLiteral("Liberation Sans"), QStringLiteral("Tahoma"),
                                 QStringLiteral("Verdana")}));
}

TEST(KxfunctionsFonts, InstalledFamiliesComeSortedAndUnique) {
    const QStringList fonts = TrueTypeFontNames();
    EXPECT_FALSE(fonts.isEmpty());
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        EXPECT_FALSE(fonts[i].startsWith(QLatin1Char('@')));
        if (i > 0) {
            EXPECT_LE(Platform::compareText(fonts[i - 1], fonts[i], Qt::CaseInsensitive), 0);
            EXPECT_NE(fonts[i - 1].compare(fonts[i], Qt::CaseInsensitive), 0);
        }
    }
}

} // namespace
