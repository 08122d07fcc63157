#include "support/Kxknownfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Points the roaming folder at a fresh temporary folder for one test.
class KnownFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        savedWindows_ = qgetenv("APPDATA");
        root_ = dir_.filePath(QStringLiteral("deep/data"));
        qputenv("XDG_DATA_HOME", root_.toUtf8());
        qputenv("APPDATA", root_.toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", saved_);
        qputenv("APPDATA", savedWindows_);
    }

    QTemporaryDir dir_;
    QString root_;

private:
    QByteArray saved_;
    QByteArray savedWindows_;
};

TEST_F(KnownFoldersTest, RoamingFolderEndsInASeparator) {
    EXPECT_EQ(RoamingAppDataFolder(), root_ + QLatin1Char('/'));
    EXPECT_EQ(KnownFolderPath(TKnownFolder::RoamingAppData), RoamingAppDataFolder());
    EXPECT_TRUE(KnownFolderPath(TKnownFolder::Documents).endsWith(QLatin1Char('/')));
}

TEST_F(KnownFoldersTest, DataAndSharedFoldersAreCreatedWithTheirParents) {
    ASSERT_FALSE(QFileInfo::exists(root_));
    const QString data = DataFolder();
    EXPECT_EQ(data, root_ + QStringLiteral("/Vextora/Huesplinter/"));
    EXPECT_TRUE(QFileInfo(data).isDir());
    EXPECT_EQ(DataFolder(), data) << "a second call finds the folder";

    const QString shared = SharedFolder();
    EXPECT_EQ(shared, root_ + QStringLiteral("/Vextora/Shared/"));
    EXPECT_TRUE(QFileInfo(shared).isDir());
}

} // namespace
