#include "controls/KxStringRC.h"

#include "support/DiskFull.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(KxStringRCTest, AddMruKeepsAtMostMruMaxLines) {
    TKxStringRC none;
    none.AddMru("a");
    EXPECT_TRUE(none.Strings().isEmpty());

    TKxStringRC one;
    one.setMruMax(1);
    one.AddMru("a");
    one.AddMru("b");
    EXPECT_EQ(one.Strings(), QStringList({"b"}));

    TKxStringRC three;
    three.setMruMax(3);
    for (const char* s : {"a", "b", "c"})
        three.AddMru(s);
    EXPECT_EQ(three.Strings(), QStringList({"c", "b", "a"}));
    three.AddMru("d");
    EXPECT_EQ(three.Strings(), QStringList({"d", "c", "b"}));
}

TEST(KxStringRCTest, AddMruMovesAnExistingLineToTheTop) {
    TKxStringRC list;
    list.setMruMax(5);
    list.setStrings({"one", "two", "three"});
    list.AddMru("one");
    EXPECT_EQ(list.Strings(), QStringList({"one", "two", "three"}));
    // Found ignoring case: the new spelling replaces the old line.
    list.AddMru("THREE");
    EXPECT_EQ(list.Strings(), QStringList({"THREE", "one", "two"}));
}

TEST(KxStringRCTest, IndexOfIgnoresCase) {
    TKxStringRC list;
    list.setStrings({"Alpha", "b\u00C9ta"});
    EXPECT_EQ(list.IndexOf("alpha"), 0);
    EXPECT_EQ(list.IndexOf("B\u00E9TA"), 1);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
}

TEST(KxStringRCTest, SortedListsStayInOrderAndAcceptMruEntries) {
    TKxStringRC list;
    list.setStrings({"pear", "Apple", "fig", "apple"});
    list.setSorted(true);
    EXPECT_EQ(list.Strings(), QStringList({"Apple", "fig", "pear"}));
    list.setMruMax(10);
    list.AddMru("banana");
    EXPECT_EQ(list.Strings(), QStringList({"Apple", "banana", "fig", "pear"}));
}

TEST(KxStringRCTest, TextEndsEveryLineAndSplitsAnyLineEnd) {
    TKxStringRC list;
    list.setStrings({"a", "", "b"});
    EXPECT_EQ(list.Text(), QString("a\r\n\r\nb\r\n"));
    list.setText("x\ny\r\nz\rw\r\n");
    EXPECT_EQ(list.Strings(), QStringList({"x", "y", "z", "w"}));
    list.setText("");
    EXPECT_TRUE(list.Strings().isEmpty());
}

TEST(KxStringRCTest, SaveWritesCrLfAndAMarkOnlyWhenTheTextNeedsOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.txt");
    TKxStringRC list;
    list.setStrings({"rgb( RR, GG, BB );", "plain"});
    ASSERT_TRUE(list.SaveToFile(path));
    EXPECT_EQ(FileBytes(path), QByteArray("rgb( RR, GG, BB );\r\nplain\r\n"));

    list.setStrings({"Gr\u00FCn", "caf\u00E9 \u00A4", "\u03A9 \u20AC"});
    ASSERT_TRUE(list.SaveToFile(path));
    const QByteArray bytes = FileBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_EQ(bytes.count('\n'), 3);

    TKxStringRC back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.Strings(), list.Strings());
}

TEST(KxStringRCTest, AFileInTheWindowsPageReadsAndSavesWithoutLoss) {
    QTemporaryDir dir;
    const QString path = dir.filePath("legacy.txt");
    PutFile(path, "caf\xE9\r\n\x80 5\r\n");
    TKxStringRC list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Strings(), QStringList({"caf\u00E9", "\u20AC 5"}));
    ASSERT_TRUE(list.SaveToFile(path));
    TKxStringRC back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.Strings(), list.Strings());
}

TEST(KxStringRCTest, ASaveTheDiskCutsShortFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.txt");
    PutFile(path, "old\r\n");
    TKxStringRC list;
    list.setStrings(QStringList(200, QStringLiteral("a line of the new list")));
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(512);
        EXPECT_FALSE(list.SaveToFile(path));
    }
    EXPECT_FALSE(list.errorString().isEmpty());
    EXPECT_EQ(FileBytes(path), QByteArray("old\r\n"));
}

TEST(KxStringRCTest, LoadHonoursByteOrderMarksAndBareLineFeeds) {
    QTemporaryDir dir;
    const QString utf8 = dir.filePath("utf8.txt");
    PutFile(utf8, QByteArray("\xEF\xBB\xBF") + QString("\u00C5se\nb\u00F8").toUtf8());
    TKxStringRC list;
    ASSERT_TRUE(list.LoadFromFile(utf8));
    EXPECT_EQ(list.Strings(), QStringList({"\u00C5se", "b\u00F8"}));

    const QString utf16 = dir.filePath("utf16.txt");
    QByteArray wide("\xFF\xFE", 2);
    for (QChar c : QString("\u03A9\r\nz"))
        wide.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    PutFile(utf16, wide);
    ASSERT_TRUE(list.LoadFromFile(utf16));
    EXPECT_EQ(list.Strings(), QStringList({"\u03A9", "z"}));
}

TEST(KxStringRCTest, FailedFileOperationsReportAReason) {
    TKxStringRC list;
    list.setStrings({"kept"});
    EXPECT_FALSE(list.LoadFromFile("/nonexistent/dir/none.txt"));
    EXPECT_FALSE(list.errorString().isEmpty());
    EXPECT_EQ(list.Strings(), QStringList({"kept"}));
    EXPECT_FALSE(list.SaveToFile("/nonexistent/dir/none.txt"));
    EXPECT_FALSE(list.errorString().isEmpty());
}
