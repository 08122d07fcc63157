#include "platform/DesktopPortal.h"

#include "platform/FakePortal.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using Platform::TDesktopPortal;

namespace {

// Every case runs against the fake portal on the test's own bus.
class DesktopPortalOnPrivateBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TFakePortal::privateBus()) GTEST_SKIP() << "needs the private bus of its CTest test";
        ASSERT_TRUE(portal.served);
        ASSERT_TRUE(dir.isValid());
    }

    // A request to its end; false when none of the signals came.
    bool run(TDesktopPortal& client) {
        const int before = int(pictures.size() + colors.size() + cancels.size() + failures.size());
        if (!client.requestPicture()) return false;
        return QTest::qWaitFor(
            [&] {
                return pictures.size() + colors.size() + cancels.size() + failures.size() > before;
            },
            10000);
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void pictureAt(const QString& uri) { portal.pictureResults = {{QStringLiteral("uri"), uri}}; }

    TFakePortal portal;
    QTemporaryDir dir;
    TDesktopPortal client;
    QSignalSpy pictures{&client, &TDesktopPortal::pictureReady};
    QSignalSpy colors{&client, &TDesktopPortal::colorPicked};
    QSignalSpy cancels{&client, &TDesktopPortal::cancelled};
    QSignalSpy failures{&client, &TDesktopPortal::failed};
};

} // namespace

TEST_F(DesktopPortalOnPrivateBus, PictureIsAskedWithoutQuestionsAndAStrangersAnswerIsIgnored) {
    const QString path = writeFile(QStringLiteral("shot.png"), "png");
    pictureAt(QUrl::fromLocalFile(path).toString());
    portal.strayAnswers = true;
    ASSERT_TRUE(run(client));
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0][0].toString(), path);
    // Written during the request, outside the user's folders: ours to remove.
    EXPECT_TRUE(pictures[0][1].toBool());
    EXPECT_EQ(portal.lastScreenshotOptions.value(QStringLiteral("interactive")), QVariant(false));
    EXPECT_FALSE(
        portal.lastScreenshotOptions.value(QStringLiteral("handle_token")).toString().isEmpty());
    EXPECT_EQ(portal.pickColorCalls, 0);
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_FALSE(client.busy());
}

TEST_F(DesktopPortalOnPrivateBus, FilesThatWereThereBeforeOrAreTheUsersAreNeverRemoved) {
    const QString old = writeFile(QStringLiteral("old.png"), "png");
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    file.close();
    pictureAt(QUrl::fromLocalFile(old).toString());
    ASSERT_TRUE(run(client));
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_FALSE(pictures[0][1].toBool());

    QTemporaryDir inHome(QDir::homePath() + QStringLiteral("/huesplinter-test-XXXXXX"));
    ASSERT_TRUE(inHome.isValid());
    const QString mine = inHome.filePath(QStringLiteral("Screenshot.png"));
    QFile fresh(mine);
    ASSERT_TRUE(fresh.open(QIODevice::WriteOnly));
    fresh.close();
    pictureAt(QUrl::fromLocalFile(mine).toString());
    ASSERT_TRUE(run(client));
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_FALSE(pictures[1][1].toBool());
}

TEST_F(DesktopPortalOnPrivateBus, RefusedOrCancelledPictureFallsBackToOneColour) {
    portal.colorResults = TFakePortal::colorResult(0.0, 1.0, 0.331);
    for (uint code : {1u, 2u}) {
        portal.pictureCode = code;
        ASSERT_TRUE(run(client)) << code;
    }
    ASSERT_EQ(colors.size(), 2);
    EXPECT_EQ(colors[0][0].value<QRgb>(), qRgb(0, 255, 84));
    EXPECT_EQ(colors[1][0].value<QRgb>(), qRgb(0, 255, 84));
    EXPECT_EQ(portal.screenshotCalls, 2);
    EXPECT_EQ(portal.pickColorCalls, 2);
}

TEST_F(DesktopPortalOnPrivateBus, AnOldInterfaceIsNotAskedForAPicture) {
    portal.interfaceVersion = 1;
    portal.colorResults = TFakePortal::colorResult(1.0, 0.5, 0.0);
    ASSERT_TRUE(run(client));
    EXPECT_EQ(portal.screenshotCalls, 0);
    ASSERT_EQ(colors.size(), 1);
    EXPECT_EQ(colors[0][0].value<QRgb>(), qRgb(255, 128, 0));
}

TEST_F(DesktopPortalOnPrivateBus, ColourCallEndings) {
    portal.pictureCode = 2;
    portal.colorCode = 1;
    ASSERT_TRUE(run(client));
    EXPECT_EQ(cancels.size(), 1);
    EXPECT_TRUE(failures.isEmpty());

    portal.colorCode = 2;
    ASSERT_TRUE(run(client));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0][0].toString().contains(QStringLiteral("refused")));

    // A colour of the wrong shape is a failure, not black.
    portal.colorCode = 0;
    portal.colorResults = {{QStringLiteral("color"), QStringLiteral("#00FF54")}};
    ASSERT_TRUE(run(client));
    EXPECT_EQ(failures.size(), 2);
    EXPECT_TRUE(colors.isEmpty());
}

TEST_F(DesktopPortalOnPrivateBus, AnswersWithoutALocalFileAreFailures) {
    for (const QVariantMap& results :
         {QVariantMap{}, QVariantMap{{QStringLiteral("uri"), 42}},
          QVariantMap{{QStringLiteral("uri"), QStringLiteral("https://example.org/shot.png")}},
          QVariantMap{{QStringLiteral("uri"), QStringLiteral("not a uri at all")}}}) {
        portal.pictureResults = results;
        ASSERT_TRUE(run(client));
    }
    EXPECT_EQ(failures.size(), 4);
    EXPECT_TRUE(pictures.isEmpty());
    // Said in words, with the address when there is one.
    EXPECT_TRUE(failures[2][0].toString().contains(QStringLiteral("https://example.org/shot.png")));
}

TEST_F(DesktopPortalOnPrivateBus, ASecondRequestWhileOneRunsDoesNothingAndSilenceTimesOut) {
    portal.silent = true;
    client.setAnswerTimeout(300);
    ASSERT_TRUE(client.requestPicture());
    EXPECT_FALSE(client.requestPicture());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 5000));
    EXPECT_EQ(portal.screenshotCalls, 1);
    EXPECT_TRUE(failures[0][0].toString().contains(QStringLiteral("did not answer")));
    EXPECT_FALSE(client.busy());
}

TEST(DesktopPortalWithoutPortal, NoPortalNamesWhatToInstall) {
    if (!TFakePortal::privateBus()) GTEST_SKIP() << "needs the private bus of its CTest test";
    TDesktopPortal client;
    QSignalSpy failures(&client, &TDesktopPortal::failed);
    ASSERT_TRUE(client.requestPicture());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 10000));
    EXPECT_TRUE(failures[0][0].toString().contains(QStringLiteral("xdg-desktop-portal")));
}
