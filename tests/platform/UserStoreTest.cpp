#include "platform/UserStore.h"
#include "platform/Registry.h"
#include "support/LockedFile.h"
#include "support/ReadOnlyScope.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString Key = QStringLiteral("Software\\Vextora\\Huesplinter");

class UserStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString storeFile() const { return dir.filePath(QStringLiteral("Vextora/Huesplinter.conf")); }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(storeFile()).absolutePath());
        QFile f(storeFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes() const {
        QFile f(storeFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(UserStoreTest, EachKindRoundTripsThroughTheFile) {
    {
        TUserStore store(dir.path());
        EXPECT_EQ(store.fileName(), storeFile());
        ASSERT_TRUE(store.openKey(Key, true));
        EXPECT_TRUE(store.writeString(QStringLiteral("FontName"), QStringLiteral("Arial")).ok);
        EXPECT_TRUE(store.writeInteger(QStringLiteral("HSL_Hue"), 360).ok);
        EXPECT_TRUE(store.writeInteger(QStringLiteral("Min"), INT32_MIN).ok);
        const QByteArray history = QByteArray::fromHex("ff1ab800000000ff0a0b0c0d");
        EXPECT_TRUE(store.writeBinary(QStringLiteral("HistoryColors"), history).ok);
    }
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readString(QStringLiteral("fontname")).value, QStringLiteral("Arial"));
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Hue")).value, 360);
    EXPECT_EQ(store.readInteger(QStringLiteral("Min")).value, INT32_MIN);
    EXPECT_EQ(store.readBinary(QStringLiteral("HistoryColors")).value,
              QByteArray::fromHex("ff1ab800000000ff0a0b0c0d"));
    EXPECT_EQ(store.valueKind(QStringLiteral("HSL_Hue")), TStoreKind::Integer);
    EXPECT_EQ(store.valueNames().size(), 4);
}

TEST_F(UserStoreTest, MissingKeyMissingValueAndWrongKindAreDistinct) {
    TUserStore store(dir.path());
    EXPECT_FALSE(store.keyExists(Key));
    EXPECT_FALSE(store.openKeyReadOnly(Key));
    EXPECT_TRUE(store.lastError().contains(Key));
    EXPECT_FALSE(QFileInfo::exists(storeFile())) << "reading must not create the store";
    EXPECT_FALSE(store.openKey(Key, false));
    EXPECT_FALSE(QFileInfo::exists(storeFile()));

    ASSERT_TRUE(store.openKey(Key, true));
    EXPECT_TRUE(store.keyExists(Key)) << "opening for writing creates the key";
    ASSERT_TRUE(store.writeString(QStringLiteral("PasteColor"), QString()).ok);

    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_TRUE(store.valueExists(QStringLiteral("PasteColor")));
    const TStoreResult<QString> empty = store.readString(QStringLiteral("PasteColor"));
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.value.isEmpty());

    EXPECT_FALSE(store.valueExists(QStringLiteral("ColorSetFile")));
    const TStoreResult<QString> missing = store.readString(QStringLiteral("ColorSetFile"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("ColorSetFile")));

    const TStoreResult<qint32> wrongKind = store.readInteger(QStringLiteral("PasteColor"));
    EXPECT_FALSE(wrongKind.ok);
    EXPECT_FALSE(wrongKind.error.isEmpty());

    const TStoreStatus refused =
        store.writeString(QStringLiteral("PasteColor"), QStringLiteral("x"));
    EXPECT_FALSE(refused.ok) << "a key opened for reading takes no writes";
    EXPECT_FALSE(refused.error.isEmpty());

    store.closeKey();
    EXPECT_FALSE(store.readString(QStringLiteral("PasteColor")).ok);
}

TEST_F(UserStoreTest, BinaryRecordReadsReportValuesLargerThanTheRecord) {
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKey(Key, true));
    ASSERT_TRUE(store.writeBinary(QStringLiteral("Short"), QByteArray(8, '\x11')).ok);
    ASSERT_TRUE(store.writeBinary(QStringLiteral("Exact"), QByteArray(64, '\x22')).ok);
    ASSERT_TRUE(store.writeBinary(QStringLiteral("Long"), QByteArray(65, '\x33')).ok);

    std::array<quint32, 16> record{};
    const TStoreResult<qsizetype> shortRead = store.readRecord(QStringLiteral("Short"), record);
    ASSERT_TRUE(shortRead.ok);
    EXPECT_EQ(shortRead.value, 8);
    EXPECT_EQ(record[1], 0x11111111u);
    EXPECT_EQ(record[2], 0u) << "bytes after a short value stay as they were";

    ASSERT_TRUE(store.readRecord(QStringLiteral("Exact"), record).ok);
    EXPECT_EQ(record[15], 0x22222222u);

    const TStoreResult<qsizetype> longRead = store.readRecord(QStringLiteral("Long"), record);
    EXPECT_FALSE(longRead.ok);
    EXPECT_TRUE(longRead.error.contains(QStringLiteral("Long")));
    EXPECT_EQ(record[0], 0x22222222u) << "a failed read leaves the record untouched";
}

TEST_F(UserStoreTest, AwkwardTextsAndBytesSurviveExactly) {
    const std::array<QString, 11> texts{
        QStringLiteral("rgb( RR, GG, BB );"),
        QStringLiteral("a=b==c"),
        QStringLiteral("\u00c6bler \u00f8 \u00e5 \u20ac \U0001F3A8 \u4e2d\u6587"),
        QStringLiteral("line one\r\nline two\nthree\ttab"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("[Section]"),
        QStringLiteral("; not a comment"),
        QStringLiteral("C:\\path\\n\\x41\\u0041\\"),
        QString(QChar(0xD800)) + QStringLiteral("lone") + QChar(0xDC00) + QChar(0),
        QString(),
        QString(QChar(0xFEFF)) + QChar(0xFEFF)};
    const QStringList names{QStringLiteral("plain"), QStringLiteral("with=equals"),
                            QStringLiteral("[bracket]"), QStringLiteral("new\nline"),
                            QStringLiteral(" spaced "), QStringLiteral(";semicolon"),
                            QStringLiteral("back\\slash"), QStringLiteral("\u00fcml\u00e4ut"),
                            QStringLiteral("sz:prefix"), QString(),
                            // Starts its line in the file, where a reader may take it
                            // for a byte-order mark.
                            QString(QChar(0xFEFF)) + QStringLiteral("marked")};
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(static_cast<char>(b));
    const QString oddKey = QStringLiteral("Software\\Odd]=[Key\n");
    {
        TUserStore store(dir.path());
        ASSERT_TRUE(store.openKey(oddKey, true));
        for (size_t i = 0; i < texts.size(); ++i)
            ASSERT_TRUE(store.writeString(names[qsizetype(i)], texts[i]).ok);
        ASSERT_TRUE(store.writeBinary(QStringLiteral("bytes"), allBytes).ok);
    }
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(oddKey));
    for (size_t i = 0; i < texts.size(); ++i) {
        const TStoreResult<QString> read = store.readString(names[qsizetype(i)]);
        ASSERT_TRUE(read.ok) << names[qsizetype(i)].toStdString();
        EXPECT_EQ(read.value, texts[i]) << names[qsizetype(i)].toStdString();
    }
    EXPECT_EQ(store.readBinary(QStringLiteral("bytes")).value, allBytes);
}

TEST_F(UserStoreTest, StoresOnTheSameFileSeeEachOthersWrites) {
    TUserStore first(dir.path());
    TUserStore second(dir.path());
    ASSERT_TRUE(first.openKey(Key, true));
    ASSERT_TRUE(second.openKey(Key, true));
    ASSERT_TRUE(first.writeInteger(QStringLiteral("PickerGridLines"), 1).ok);
    ASSERT_TRUE(second.writeString(QStringLiteral("SamplePngFile"), QStringLiteral("/t/a.png")).ok);
    ASSERT_TRUE(first.writeInteger(QStringLiteral("PICKERGRIDLINES"), 0).ok);

    TUserStore reader(dir.path());
    ASSERT_TRUE(reader.openKeyReadOnly(Key));
    EXPECT_EQ(reader.readInteger(QStringLiteral("PickerGridLines")).value, 0);
    EXPECT_EQ(reader.readString(QStringLiteral("SamplePngFile")).value, QStringLiteral("/t/a.png"));
    EXPECT_EQ(reader.valueNames(),
              (QStringList{QStringLiteral("PickerGridLines"), QStringLiteral("SamplePngFile")}))
        << "rewriting a value keeps its first spelling and place";
    const QStringList leftovers = QDir(QFileInfo(storeFile()).absolutePath())
                                      .entryList(QDir::Files | QDir::Hidden | QDir::System);
    EXPECT_EQ(leftovers, QStringList{QStringLiteral("Huesplinter.conf")})
        << "atomic saves leave no temporary files behind";
}

TEST_F(UserStoreTest, ADamagedLineIsAFailedReadOfThatValueOnly) {
    const QByteArray head("[Software\\\\Vextora\\\\Huesplinter]\nHSL_Lum=dword:100\n");
    const QByteArray tail("FontName=sz:Tahoma\n[Other]\nX=dword:1\n");
    // Each of these spoils the value "HSL_Hue" and nothing else.
    const std::array<QByteArray, 7> badLines{
        QByteArray("HSL_Hue=dword:99999999999\n"), QByteArray("HSL_Hue=dword: 5\n"),
        QByteArray("HSL_Hue=text:Arial\n"),        QByteArray("HSL_Hue=hex:0a0\n"),
        QByteArray("HSL_Hue=sz:Arial\\\n"),        QByteArray("HSL_Hue=sz:caf\xE9\n"),
        QByteArray("HSL_Hue=sz:A\x01rial\n")};
    for (const QByteArray& bad : badLines) {
        SCOPED_TRACE(bad.toStdString());
        writeFile(head + bad + tail);
        TUserStore store(dir.path());
        ASSERT_TRUE(store.openKeyReadOnly(Key));
        EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Lum")).value, 100);
        EXPECT_EQ(store.readString(QStringLiteral("FontName")).value, QStringLiteral("Tahoma"));
        EXPECT_TRUE(store.valueExists(QStringLiteral("HSL_Hue")));
        const TStoreResult<qint32> hue = store.readInteger(QStringLiteral("HSL_Hue"));
        EXPECT_FALSE(hue.ok);
        EXPECT_TRUE(hue.error.contains(QStringLiteral("HSL_Hue")));
        EXPECT_TRUE(hue.error.contains(QStringLiteral("line 3")));
        EXPECT_FALSE(store.readString(QStringLiteral("HSL_Hue")).ok);
        ASSERT_TRUE(store.openKeyReadOnly(QStringLiteral("other")));
        EXPECT_EQ(store.readInteger(QStringLiteral("X")).value, 1);
    }
}

TEST_F(UserStoreTest, LinesWithoutAKeyOrNameAreSkippedAndTheRestReads) {
    writeFile("x=sz:before any key\njust some text\n[Software\\\\Vextora\\\\Huesplinter]\n"
              "no equals sign\nPasteColor=sz:#FF8000\n[broken\\q]\nLost=dword:1\n"
              "[Software\\\\Vextora\\\\Huesplinter]\nHSL_Sat=dword:50\n");
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readString(QStringLiteral("PasteColor")).value, QStringLiteral("#FF8000"));
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Sat")).value, 50);
    EXPECT_EQ(store.valueNames(),
              (QStringList{QStringLiteral("PasteColor"), QStringLiteral("HSL_Sat")}));
}

TEST_F(UserStoreTest, ADamagedFileIsKeptAsACopyBeforeItsFirstRewrite) {
    const QByteArray original("[Software\\\\Vextora\\\\Huesplinter]\nHSL_Hue=dword:x\n"
                              "FontName=sz:Tahoma\n");
    writeFile(original);
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKey(Key, false));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("HSL_Hue"), 240).ok);
    ASSERT_TRUE(store.writeInteger(QStringLiteral("HSL_Sat"), 100).ok);
    QFile copy(storeFile() + QStringLiteral(".damaged"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original);
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Hue")).value, 240);
    EXPECT_EQ(store.readString(QStringLiteral("FontName")).value, QStringLiteral("Tahoma"));
    // The rewritten file is sound, so later writes keep no more copies.
    EXPECT_FALSE(QFileInfo::exists(storeFile() + QStringLiteral(".damaged1")));

    // A second damaged version gets a copy of its own.
    writeFile(original);
    ASSERT_TRUE(store.writeInteger(QStringLiteral("HSL_Sat"), 100).ok);
    EXPECT_TRUE(QFileInfo::exists(storeFile() + QStringLiteral(".damaged1")));
}

TEST_F(UserStoreTest, AFileTooLargeToReadIsNoStoreAndIsKeptBeforeItIsReplaced) {
    QByteArray big("[Software\\\\Vextora\\\\Huesplinter]\nFontName=sz:");
    big.append(QByteArray(TUserStore::MaxFileSize, 'a'));
    big.append('\n');
    writeFile(big);
    TUserStore store(dir.path());
    EXPECT_FALSE(store.keyExists(Key));
    EXPECT_FALSE(store.openKeyReadOnly(Key));
    EXPECT_TRUE(store.lastError().contains(QStringLiteral("could not be read")));
    ASSERT_TRUE(store.openKey(Key, true));
    ASSERT_TRUE(store.writeString(QStringLiteral("FontName"), QStringLiteral("Arial")).ok);
    EXPECT_EQ(QFileInfo(storeFile() + QStringLiteral(".damaged")).size(), big.size());
    EXPECT_EQ(store.readString(QStringLiteral("FontName")).value, QStringLiteral("Arial"));
}

TEST_F(UserStoreTest, AnUnreadableFileThatCannotBeCopiedIsNotOverwritten) {
    // A store file that is a folder can be neither read nor copied nor replaced.
    ASSERT_TRUE(QDir().mkpath(storeFile()));
    ASSERT_TRUE(QDir().mkpath(storeFile() + QStringLiteral("/inside")));
    TUserStore store(dir.path());
    EXPECT_FALSE(store.openKeyReadOnly(Key));
    EXPECT_FALSE(store.openKey(Key, true));
    EXPECT_TRUE(QFileInfo(storeFile() + QStringLiteral("/inside")).isDir());
}

TEST_F(UserStoreTest, ChangesByAnotherProgramAreSeenAtTheNextRead) {
    writeFile("[Software\\\\Vextora\\\\Huesplinter]\nHSL_Hue=dword:1\n");
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Hue")).value, 1);
    // Same size, edited in place.
    writeFile("[Software\\\\Vextora\\\\Huesplinter]\nHSL_Hue=dword:2\n");
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Hue")).value, 2);
    QFile::remove(storeFile());
    EXPECT_FALSE(store.valueExists(QStringLiteral("HSL_Hue")));
}

TEST_F(UserStoreTest, AFileWrittenByHandWithCrLfLineEndsAndCommentsReads) {
    writeFile("\xef\xbb\xbf; settings\r\n\r\n[software\\\\vextora\\\\huesplinter]\r\n"
              "HSL_Sat=dword:-5\r\nSettings=hex:\r\nTemplateStr=sz:rgb( RR, GG, BB );\r\n");
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Sat")).value, -5);
    EXPECT_TRUE(store.readBinary(QStringLiteral("Settings")).ok);
    EXPECT_TRUE(store.readBinary(QStringLiteral("Settings")).value.isEmpty());
    EXPECT_EQ(store.readString(QStringLiteral("TemplateStr")).value,
              QStringLiteral("rgb( RR, GG, BB );"));
}

TEST_F(UserStoreTest, FailedSaveReportsTheFileAndOpensNothing) {
    // A folder where the file belongs makes every save fail.
    ASSERT_TRUE(QDir().mkpath(storeFile()));
    TUserStore store(dir.path());
    EXPECT_FALSE(store.openKey(Key, true));
    EXPECT_TRUE(store.lastError().contains(storeFile()));
    EXPECT_FALSE(store.isOpen());
}

TEST_F(UserStoreTest, DeletingValuesAndKeys) {
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKey(Key, true));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("A"), 1).ok);
    ASSERT_TRUE(store.writeInteger(QStringLiteral("B"), 2).ok);
    EXPECT_TRUE(store.deleteValue(QStringLiteral("a")).ok);
    EXPECT_FALSE(store.deleteValue(QStringLiteral("a")).ok);
    EXPECT_EQ(store.valueNames(), QStringList{QStringLiteral("B")});
    EXPECT_TRUE(store.deleteKey(Key));
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.keyExists(Key));
}

TEST_F(UserStoreTest, ABatchReplacesTheFileOnceWithEveryValueOrNotAtAll) {
    writeFile("[Software\\\\Vextora\\\\Huesplinter]\nOld=dword:1\n");
    const QByteArray before = fileBytes();
    TUserStore store(dir.path());
    store.beginBatch();
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Other"), true));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("A"), 1).ok);
    ASSERT_TRUE(store.writeString(QStringLiteral("B"), QStringLiteral("b")).ok);
    store.closeKey();
    ASSERT_TRUE(store.openKey(Key, false));
    ASSERT_TRUE(store.deleteValue(QStringLiteral("Old")).ok);
    // Nothing reaches the file before the commit: a close cut short here
    // leaves the old file whole.
    EXPECT_EQ(fileBytes(), before);
    // A second name for the old file keeps its bytes after a replacement by
    // a rename, and would show the new ones after a write in place.
    const QString oldName = dir.filePath(QStringLiteral("old.conf"));
    std::filesystem::create_hard_link(QFile(storeFile()).filesystemFileName(),
                                      QFile(oldName).filesystemFileName());
    ASSERT_TRUE(store.commitBatch().ok);
    EXPECT_EQ(FileBytes(oldName), before) << "replaced by a rename, not written in place";
    EXPECT_NE(fileBytes(), before);
    ASSERT_TRUE(store.openKeyReadOnly(QStringLiteral("Software\\Other")));
    EXPECT_EQ(store.readInteger(QStringLiteral("A")).value, 1);
    EXPECT_EQ(store.readString(QStringLiteral("B")).value, QStringLiteral("b"));
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_FALSE(store.valueExists(QStringLiteral("Old")));

    // A batch that fails leaves the file exactly as it was.
    const QByteArray whole = fileBytes();
    store.beginBatch();
    ASSERT_TRUE(store.openKey(Key, false));
    ASSERT_TRUE(store.writeInteger(QStringLiteral("C"), 3).ok);
    TStoreStatus failed;
    bool binds = false;
    {
        const TReadOnlyScope readOnly(storeFile());
        binds = readOnly.binds();
        failed = store.commitBatch();
    }
    // The superuser replaces read-only files too.
    if (binds) {
        EXPECT_FALSE(failed.ok);
        EXPECT_TRUE(failed.error.contains(storeFile()));
        EXPECT_EQ(fileBytes(), whole);
    }
}

TEST_F(UserStoreTest, ABatchLeavesValuesThisProgramDidNotChangeAsAnotherCopyWroteThem) {
    writeFile("[Software\\\\Vextora\\\\Huesplinter]\nFontName=sz:Arial\nHSL_Hue=dword:240\n");
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    const QString font = store.readString(QStringLiteral("FontName")).value;
    const qint32 hue = store.readInteger(QStringLiteral("HSL_Hue")).value;
    // A second running copy saves its own change of the font.
    writeFile("[Software\\\\Vextora\\\\Huesplinter]\nFontName=sz:Tahoma\nHSL_Hue=dword:240\n");

    // This copy closes, having changed only the hue.
    store.beginBatch();
    ASSERT_TRUE(store.openKey(Key, true));
    store.writeString(QStringLiteral("FontName"), font);
    store.writeInteger(QStringLiteral("HSL_Hue"), hue + 120);
    ASSERT_TRUE(store.commitBatch().ok);
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readString(QStringLiteral("FontName")).value, QStringLiteral("Tahoma"));
    EXPECT_EQ(store.readInteger(QStringLiteral("HSL_Hue")).value, 360);

    // A plain write is always written, even with the value last read.
    ASSERT_TRUE(store.openKey(Key, false));
    ASSERT_TRUE(store.writeString(QStringLiteral("FontName"), QStringLiteral("Arial")).ok);
    EXPECT_EQ(store.readString(QStringLiteral("FontName")).value, QStringLiteral("Arial"));
}

TEST_F(UserStoreTest, LinesEndAtALoneCrAsWellAsAtLfOrCrLf) {
    writeFile("; written on an old system\r[Software\\\\Vextora\\\\Huesplinter]\rA=dword:1\r"
              "B=sz:two\r\nC=dword:3\n\rD=dword:4");
    TUserStore store(dir.path());
    ASSERT_TRUE(store.openKeyReadOnly(Key));
    EXPECT_EQ(store.readInteger(QStringLiteral("A")).value, 1);
    EXPECT_EQ(store.readString(QStringLiteral("B")).value, QStringLiteral("two"));
    EXPECT_EQ(store.readInteger(QStringLiteral("C")).value, 3);
    EXPECT_EQ(store.readInteger(QStringLiteral("D")).value, 4);
    EXPECT_TRUE(store.keepDamagedCopy().why.isEmpty());
}

TEST_F(UserStoreTest, AFileThatCannotBeReadIsCopiedAtOnceOrNeverReplaced) {
    // Text of another encoding reads as nothing: kept before anything else happens.
    const QString text = QStringLiteral("[S]\nA=dword:1\n");
    QByteArray utf16("\xff\xfe");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    writeFile(utf16);
    {
        TUserStore store(dir.path());
        const TStoreDamage damage = store.keepDamagedCopy();
        EXPECT_FALSE(damage.why.isEmpty());
        EXPECT_TRUE(damage.unreadable);
        EXPECT_EQ(damage.copy, storeFile() + QStringLiteral(".damaged"));
        QFile copy(damage.copy);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), utf16);
        // Asked again, the same copy answers; no second one is made.
        EXPECT_EQ(store.keepDamagedCopy().copy, damage.copy);
        EXPECT_FALSE(QFileInfo::exists(storeFile() + QStringLiteral(".damaged1")));
    }
    ASSERT_TRUE(QFile::remove(storeFile()));

    // What can be neither read nor copied stays as it is: a link to nothing,
    // or on Windows a file another program holds open without sharing it.
#ifdef _WIN32
    writeFile("[S]\nA=dword:1\n");
    auto locked = std::make_optional<TLockedFile>(storeFile());
    ASSERT_TRUE(locked->held());
#else
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.conf")), storeFile()));
#endif
    TUserStore store(dir.path());
    const TStoreDamage damage = store.keepDamagedCopy();
    EXPECT_TRUE(damage.unreadable);
    EXPECT_TRUE(damage.copy.isEmpty());
    EXPECT_FALSE(damage.copyError.isEmpty());
    EXPECT_FALSE(store.openKey(Key, true));
#ifdef _WIN32
    locked.reset();
    EXPECT_EQ(fileBytes(), "[S]\nA=dword:1\n");
#else
    EXPECT_TRUE(damage.why.contains(QStringLiteral("gone.conf")));
    EXPECT_TRUE(QFileInfo(storeFile()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("gone.conf"))));
#endif
}

TEST(UserStoreLocation, FollowsTheConfigurationVariableElseTheRegistryWhereThereIsOne) {
    const QByteArray saved = qgetenv("HUESPLINTER_CONFIG_DIR");
    QTemporaryDir dir;
    qputenv("HUESPLINTER_CONFIG_DIR", dir.path().toUtf8());
    const TUserStore asked;
    qunsetenv("HUESPLINTER_CONFIG_DIR");
    const TUserStore plain;
    qputenv("HUESPLINTER_CONFIG_DIR", saved);

    EXPECT_FALSE(asked.usesRegistry());
    EXPECT_EQ(asked.fileName(), dir.filePath(QStringLiteral("Vextora/Huesplinter.conf")));
    EXPECT_EQ(asked.place(Key), asked.fileName());
    EXPECT_EQ(plain.usesRegistry(), Registry::available());
    if (plain.usesRegistry()) {
        EXPECT_TRUE(plain.fileName().isEmpty());
        EXPECT_EQ(plain.place(Key),
                  QStringLiteral("the registry key \"HKEY_CURRENT_USER\\%1\"").arg(Key));
    } else {
        EXPECT_TRUE(plain.fileName().endsWith(QStringLiteral("/Vextora/Huesplinter.conf")));
    }
}

} // namespace
