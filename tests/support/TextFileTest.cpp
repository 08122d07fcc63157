#include "support/TextFile.h"

#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef _WIN32
#include "support/LockedFile.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString Cafe = QStringLiteral("caf\u00E9");

TEST(TextFileDecode, ByteOrderMarksChooseTheEncodingAndAreNotPartOfTheText) {
    EXPECT_EQ(TextFile::decode("\xEF\xBB\xBF"
                               "caf\xC3\xA9"),
              Cafe);
    EXPECT_EQ(TextFile::decode(QByteArray("\xFF\xFE"
                                          "c\0a\0f\0\xE9\0",
                                          10)),
              Cafe);
    EXPECT_EQ(TextFile::decode(QByteArray("\xFE\xFF"
                                          "\0c\0a\0f\0\xE9",
                                          10)),
              Cafe);
    // A surrogate pair in UTF-16 arrives as one character.
    EXPECT_EQ(TextFile::decode(QByteArray("\xFF\xFE"
                                          "\x3C\xD8\xA8\xDF",
                                          6)),
              QString::fromUcs4(U"\U0001F3A8"));
}

TEST(TextFileDecode, WithoutAMarkValidUtf8IsUtf8AndAnythingElseTheLegacyPage) {
    EXPECT_EQ(TextFile::decode("caf\xC3\xA9"), Cafe);
    // A file written on Windows in its 8-bit page.
    EXPECT_EQ(TextFile::decode("caf\xE9"), Cafe);
    EXPECT_EQ(TextFile::decode("\x80 \x93quoted\x94"), QStringLiteral("\u20AC \u201Cquoted\u201D"));
    // A multi-byte sequence cut off at the end is not UTF-8.
    EXPECT_EQ(TextFile::decode("caf\xC3"), QStringLiteral("caf\u00C3"));
    EXPECT_EQ(TextFile::decode("plain\r\n"), QStringLiteral("plain\r\n"));
    EXPECT_EQ(TextFile::decode(QByteArray()), QString());
}

TEST(TextFileDecode, EveryLegacyByteReadsAsACharacterThatIsWrittenBackWithoutLoss) {
    // Bytes the legacy page leaves undefined must not turn into replacement
    // characters: the next save would destroy them.
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all.append(static_cast<char>(b));
    const QString text = TextFile::decode(all);
    ASSERT_EQ(text.size(), 128);
    EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(TextFile::decode(TextFile::encode(text)), text);
}

TEST(TextFileDecode, MarksInsideTheTextAreKeptAsCharacters) {
    // Only the first mark is the file's; a text that begins with U+FEFF keeps it.
    const QString text = QStringLiteral("\uFEFF\uFEFFx");
    EXPECT_EQ(TextFile::decode(QByteArray("\xFF\xFE\xFF\xFE\xFF\xFE", 6)),
              QStringLiteral("\uFEFF\uFEFF"));
    EXPECT_EQ(TextFile::decode(TextFile::encode(text)), text);
    EXPECT_EQ(TextFile::decode("\xEF\xBB\xBF\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
}

TEST(TextFileDecode, AnOddTrailingByteOfUtf16IsNotDroppedSilently) {
    const QString text = TextFile::decode(QByteArray("\xFF\xFE"
                                                     "a\0b",
                                                     5));
    EXPECT_EQ(text.left(1), QStringLiteral("a"));
    EXPECT_EQ(text.size(), 2);
}

TEST(TextFileEncode, AsciiIsWrittenByteForByteAndAnythingElseAsUtf8WithAMark) {
    EXPECT_EQ(TextFile::encode(QStringLiteral("a\r\nb\r\n")), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(TextFile::encode(QString()), QByteArray());
    EXPECT_EQ(TextFile::encode(Cafe), QByteArray("\xEF\xBB\xBF"
                                                 "caf\xC3\xA9"));
    // DEL is still ASCII.
    EXPECT_EQ(TextFile::encode(QStringLiteral("\x7F")), QByteArray("\x7F"));
    EXPECT_EQ(TextFile::encode(QStringLiteral("\u0080")), QByteArray("\xEF\xBB\xBF\xC2\x80"));
}

class TextFileDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST(TextFileLines, EveryLineEndSplitsOnceAndAFinalOneAddsNoLine) {
    using L = QStringList;
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\r\nb\nc\rd")), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\r\n")), (L{"a"}));
    // A CR LF pair is one end; LF CR is two, with an empty line between.
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\n\rb")), (L{"a", "", "b"}));
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("\r\n\r\nx")), (L{"", "", "x"}));
    EXPECT_TRUE(TextFile::splitLines(QString()).isEmpty());
}

TEST_F(TextFileDisk, WrittenTextReadsBackExactly) {
    const QString texts[] = {QStringLiteral("one\r\ntwo\r\n"), Cafe + QStringLiteral("\r\n"),
                             QString::fromUcs4(U"\U0001F3A8 \u20AC\r\n"), QString()};
    for (const QString& text : texts) {
        const TextFile::TWriteResult written = TextFile::write(path("t.txt"), text);
        ASSERT_TRUE(written.ok) << written.error.toStdString();
        const TextFile::TReadResult read = TextFile::read(path("t.txt"));
        ASSERT_TRUE(read.ok) << read.error.toStdString();
        EXPECT_EQ(read.text, text);
    }
}

TEST_F(TextFileDisk, ReadRefusesMissingFilesFoldersAndDevicesWithATextAndNoContent) {
    for (const QString& bad : {path("missing.txt"), dir.path(), QStringLiteral("/dev/zero")}) {
        const TextFile::TReadResult read = TextFile::read(bad);
        EXPECT_FALSE(read.ok) << bad.toStdString();
        EXPECT_FALSE(read.error.isEmpty()) << bad.toStdString();
        EXPECT_TRUE(read.text.isEmpty());
    }
}

TEST_F(TextFileDisk, ReadOfAPipeDoesNotWaitForAWriter) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no pipe that lives in a folder (its named pipes have a name "
                    "space of their own); the native test run proves that a read never waits";
#else
    const QByteArray fifo = QFile::encodeName(path("pipe"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // Opening a pipe for reading would block until someone writes to it.
    const TextFile::TReadResult read = TextFile::read(path("pipe"));
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(read.error.isEmpty());
#endif
}

TEST_F(TextFileDisk, ReadRefusesFilesAboveTheCapAndAcceptsOneAtIt) {
    PutFile(path("big.txt"), QByteArray(100, 'x'));
    EXPECT_TRUE(TextFile::read(path("big.txt"), 100).ok);
    const TextFile::TReadResult over = TextFile::read(path("big.txt"), 99);
    EXPECT_FALSE(over.ok);
    EXPECT_TRUE(over.error.contains(QStringLiteral("99")));
    EXPECT_TRUE(over.text.isEmpty());
}

TEST_F(TextFileDisk, AFailedWriteReportsTheSystemTextAndLeavesTheOldFile) {
    PutFile(path("keep.txt"), "old\r\n");
    SKIP_WITHOUT_DISK_FULL();
    {
        // The disk fills up while the new text is being written.
        const TDiskFullScope full(1024);
        const TextFile::TWriteResult written =
            TextFile::write(path("keep.txt"), QString(5000, QLatin1Char('x')));
        EXPECT_FALSE(written.ok);
        EXPECT_FALSE(written.error.isEmpty());
    }
    EXPECT_EQ(FileBytes(path("keep.txt")), QByteArray("old\r\n"));

    const TextFile::TWriteResult noFolder =
        TextFile::write(path("nowhere/keep.txt"), QStringLiteral("x"));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_FALSE(noFolder.error.isEmpty());
}

TEST_F(TextFileDisk, WritingToAFolderOrPipeIsRefusedAndLeavesItInPlace) {
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const TextFile::TWriteResult intoFolder = TextFile::write(path("folder"), QStringLiteral("x"));
    EXPECT_FALSE(intoFolder.ok);
    EXPECT_FALSE(intoFolder.error.isEmpty());
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());
#ifndef _WIN32
    const QByteArray fifo = QFile::encodeName(path("pipe"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const TextFile::TWriteResult intoPipe = TextFile::write(path("pipe"), QStringLiteral("x"));
    EXPECT_FALSE(intoPipe.ok);
    EXPECT_FALSE(intoPipe.error.isEmpty());
    struct stat info {};
    ASSERT_EQ(::stat(fifo.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
#endif
}

TEST_F(TextFileDisk, AReadOnlyFileOnWindowsKeepsItsText) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows refuses to replace a file marked read-only";
#endif
    PutFile(path("keep.txt"), "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(path("keep.txt"), QFile::ReadOwner));
    const TextFile::TWriteResult written = TextFile::write(path("keep.txt"), QStringLiteral("new"));
    QFile::setPermissions(path("keep.txt"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
    EXPECT_EQ(FileBytes(path("keep.txt")), QByteArray("old\r\n"));
}

// The file cannot be replaced: on Windows because another program holds it open and shares it
// with nobody (its folder's read-only mark binds nobody there), elsewhere because its folder is
// read-only.
TEST_F(TextFileDisk, AFileThatCannotBeReplacedKeepsTheOldText) {
    PutFile(path("keep.txt"), "old\r\n");
#ifdef _WIN32
    TextFile::TWriteResult written;
    {
        const TLockedFile locked(path("keep.txt"));
        ASSERT_TRUE(locked.held());
        written = TextFile::write(path("keep.txt"), QStringLiteral("new"));
    }
#else
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const TextFile::TWriteResult written = TextFile::write(path("keep.txt"), QStringLiteral("new"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
    EXPECT_EQ(FileBytes(path("keep.txt")), QByteArray("old\r\n"));
    // Nothing half-written is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.txt"});
}

} // namespace
