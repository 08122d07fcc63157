#include "support/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

// Where an installed program keeps its help page, under the install prefix.
QString installedPage(const QTemporaryDir& prefix) {
#ifdef _WIN32
    // The program's folder holds everything, the help in a folder of its own.
    return prefix.filePath("bin/help/help.html");
#else
    return prefix.filePath("share/huesplinter/help.html");
#endif
}

} // namespace

TEST(HelpPage, InstalledCopyBesideTheProgramWinsOverTheFallback) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath("bin");
    const QString installed = installedPage(prefix);
    const QString fallback = prefix.filePath("source/docs/help.html");
    writeFile(installed);
    writeFile(fallback);
    ASSERT_TRUE(QDir().mkpath(bin));

    EXPECT_EQ(FindHelpPage(bin, fallback), QDir::cleanPath(installed));

    // A program run from the build folder has no installed copy.
    EXPECT_EQ(FindHelpPage(prefix.filePath("elsewhere/build"), fallback), fallback);
}

TEST(HelpPage, NoCopyAnywhereGivesNothingToOpen) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    // A folder where the page should be is not a page.
    ASSERT_TRUE(QDir().mkpath(installedPage(prefix)));

    EXPECT_TRUE(FindHelpPage(prefix.filePath("bin"), prefix.filePath("missing.html")).isEmpty());
    EXPECT_TRUE(FindHelpPage({}, {}).isEmpty());
}

TEST(HelpPage, UrlIsALocalFileWhenThePageExists) {
    const QUrl url = HelpPageUrl();
    if (url.isEmpty()) GTEST_SKIP() << "no help page in this tree yet";
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_TRUE(QFileInfo(url.toLocalFile()).isFile());
    EXPECT_TRUE(url.toLocalFile().endsWith("help.html"));
}
