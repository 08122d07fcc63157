#include "support/FileOps.h"

#include "support/DiskFull.h"
#include "support/Kxfunctions.h"
#include "support/LockedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

namespace {

class FileOpsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QByteArray bytesOf(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(FileOpsTest, WriteReplacesTheWholeFileOrNothing) {
    ASSERT_TRUE(FileOps::writeFile(path("a.bin"), "first"));
    ASSERT_TRUE(FileOps::writeFile(path("a.bin"), "second"));
    EXPECT_EQ(bytesOf("a.bin"), QByteArray("second"));
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(100);
        const FileOps::TResult result = FileOps::writeFile(path("a.bin"), QByteArray(4096, 'z'));
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(bytesOf("a.bin"), QByteArray("second"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.bin")});
}

TEST_F(FileOpsTest, WriteNewNeverTouchesAnExistingFileAndFailsWhenTheDiskIsFull) {
    ASSERT_TRUE(FileOps::writeNewFile(path("new.txt"), "one"));
    const FileOps::TResult again = FileOps::writeNewFile(path("new.txt"), "two");
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.error.isEmpty());
    EXPECT_EQ(bytesOf("new.txt"), QByteArray("one"));
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(100);
        const FileOps::TResult result =
            FileOps::writeNewFile(path("big.txt"), QByteArray(4096, 'z'));
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path("big.txt")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("new.txt")});
}

TEST_F(FileOpsTest, RefusalsCarryTheCallsOwnTextNotTheStaleSystemError) {
    ASSERT_TRUE(FileOps::writeFile(path("a.txt"), "a"));
    ASSERT_TRUE(FileOps::writeFile(path("b.txt"), "b"));
    errno = 0;
    const FileOps::TResult renamed = FileOps::renameFile(path("a.txt"), path("b.txt"));
    EXPECT_FALSE(renamed.ok);
    EXPECT_FALSE(renamed.error.isEmpty());
    EXPECT_NE(renamed.error, QStringLiteral("Success"));
    EXPECT_EQ(bytesOf("b.txt"), QByteArray("b"));

    const FileOps::TResult copied = FileOps::copyFile(path("a.txt"), path("b.txt"));
    EXPECT_FALSE(copied.ok);
    EXPECT_FALSE(copied.error.isEmpty());
    EXPECT_EQ(bytesOf("b.txt"), QByteArray("b"));

    const FileOps::TResult missing = FileOps::copyFile(path("none.txt"), path("c.txt"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_FALSE(FileOps::removeFile(path("none.txt")).error.isEmpty());
}

TEST_F(FileOpsTest, RenameCopyAndRemoveDoTheirWork) {
    ASSERT_TRUE(FileOps::writeFile(path("a.txt"), "a"));
    EXPECT_TRUE(FileOps::copyFile(path("a.txt"), path("b.txt")));
    EXPECT_TRUE(FileOps::renameFile(path("b.txt"), path("c.txt")));
    EXPECT_EQ(bytesOf("c.txt"), QByteArray("a"));
    EXPECT_TRUE(FileOps::removeFile(path("a.txt")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.txt")});
}

// Windows will not rename over a file that another program has open without
// sharing its deletion, which is how most programs read one. The save waits a
// little for the reader to let go, and otherwise keeps the old file and says
// who is in the way.
TEST_F(FileOpsTest, AFileAnotherProgramReadsIsReplacedOnceItLetsGoAndKeptWhileItHoldsOn) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows refuses to rename over a file another program has open";
#else
    ASSERT_TRUE(FileOps::writeFile(path("a.txt"), "old"));
    {
        const TLockedFile reader(path("a.txt"), FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(reader.held());
        const FileOps::TResult result = FileOps::writeFile(path("a.txt"), "new");
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(QStringLiteral("Another program has the file open")))
            << result.error.toStdString();
    }
    EXPECT_EQ(bytesOf("a.txt"), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.txt")});

    TLockedFile reader(path("a.txt"), FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.held());
    std::thread letGo([&reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        reader.release();
    });
    const FileOps::TResult result = FileOps::writeFile(path("a.txt"), "new");
    letGo.join();
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(bytesOf("a.txt"), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.txt")});
#endif
}

TEST(SystemErrorTexts, NoErrorNumberGivesNoTextRatherThanSuccess) {
    errno = 0;
    EXPECT_EQ(LastErrorText(), QString());
    errno = ENOENT;
    EXPECT_FALSE(LastErrorText().isEmpty());
}

} // namespace
