#include "sample/SamplePngSaver.h"

#include "dialogs/Kxmsgbx.h"
#include "support/DiskFull.h"
#include "support/Kxfunctions.h"
#include "support/Kxglobals.h"
#include "support/Kxknownfolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <random>

namespace {

class SamplePngSaverTest : public ::testing::Test {
protected:
    void SetUp() override { storeName(QString()); }
    void TearDown() override { storeName(QString()); }

    static void storeName(const QString& name) {
        WriteUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile", name);
    }
    static QString storedName() {
        return ReadUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile");
    }
    QByteArray bytes(const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& content) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // A picture source that counts how often it was asked.
    TSamplePngSaver::TPictureSource picture() {
        return [this] {
            ++pictures;
            QImage image(4, 3, QImage::Format_RGB32);
            image.fill(Qt::red);
            return TSamplePngSaver::TPicture{image, false};
        };
    }

    QTemporaryDir dir;
    QWidget window;
    TSamplePngSaver saver{&window};
    int pictures = 0;
    QStringList folders;
    QString nextChoice;
    TSamplePngSaver::TChooser choose = [this](const QString& folder) {
        folders << folder;
        return nextChoice;
    };
    int answer = kMsgNo;
    QStringList boxes;
    TMsgBoxAnswererScope answerer{[this](const TMsgBoxSeen& box) {
        boxes << box.caption + "|" + box.text;
        return answer;
    }};
};

} // namespace

TEST_F(SamplePngSaverTest, NumberedSaveNeverReplacesAFileMadeWhileThePictureWasTaken) {
    storeName(dir.filePath("shot.png"));
    saver.saveNumbered(choose, [&] {
        write("shot1.png", "someone else's");
        return picture()();
    });
    EXPECT_EQ(bytes("shot1.png"), "someone else's");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Huesplinter|Could not save the image\r\n" +
                                    QDir::toNativeSeparators(dir.filePath("shot1.png"))));
    EXPECT_EQ(saver.path(), dir.filePath("shot.png"));
    EXPECT_EQ(storedName(), dir.filePath("shot.png"));

    saver.saveNumbered(choose, picture());
    EXPECT_TRUE(bytes("shot2.png").startsWith("\x89PNG"));
    EXPECT_EQ(saver.path(), dir.filePath("shot2.png"));
    EXPECT_EQ(storedName(), dir.filePath("shot2.png"));
    EXPECT_TRUE(folders.isEmpty()) << "a numbered name needs no question";
}

TEST_F(SamplePngSaverTest, ThePictureIsTakenOnlyOnceTheNameIsSettled) {
    // No last name: the numbered save asks.
    saver.saveNumbered(choose, picture());
    EXPECT_EQ(folders.size(), 1);
    saver.saveNumbered(nullptr, picture());
    EXPECT_EQ(pictures, 0);

    // "a" would be written as the existing "a.png": No keeps it, Yes replaces it.
    write("a.png", "old");
    nextChoice = dir.filePath("a");
    saver.saveAs(choose, picture());
    EXPECT_EQ(pictures, 0);
    EXPECT_EQ(bytes("a.png"), "old");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("already exists"));
    answer = kMsgYes;
    saver.saveAs(choose, picture());
    EXPECT_EQ(pictures, 1);
    EXPECT_TRUE(bytes("a.png").startsWith("\x89PNG"));
    EXPECT_EQ(storedName(), dir.filePath("a.png"));

    // The next question starts in the last picture's folder; nothing to save is said and
    // forgotten.
    nextChoice = dir.filePath("b.png");
    saver.saveAs(choose, [] { return TSamplePngSaver::TPicture{}; });
    EXPECT_EQ(folders.last(), QFileInfo(dir.filePath("a.png")).absolutePath());
    EXPECT_FALSE(QFile::exists(dir.filePath("b.png")));
    EXPECT_TRUE(boxes.last().startsWith("Huesplinter|There is nothing to save"));
    EXPECT_EQ(saver.path(), dir.filePath("a.png"));
}

TEST_F(SamplePngSaverTest, TheQuestionStartsInTheLastFolderElseInPictures) {
    struct THome {
        QByteArray saved = qgetenv("HOME");
        explicit THome(const QString& path) { qputenv("HOME", path.toUtf8()); }
        ~THome() { qputenv("HOME", saved); }
    } home(dir.path());
    // HOME moves the pictures folder into the test's folder, but not on
    // Windows: there it is the user's own, which the test leaves in place.
    const QString pictures = QDir::cleanPath(KnownFolderPath(TKnownFolder::Pictures));
    const bool ours = pictures == dir.filePath("Pictures");
#ifndef _WIN32
    ASSERT_TRUE(ours) << pictures.toStdString();
#endif
    ASSERT_TRUE(QDir().mkpath(pictures));

    saver.saveAs(choose, picture());
    if (ours) QDir().rmdir(pictures);
    saver.saveAs(choose, picture());
    // A last picture whose folder is gone.
    storeName(dir.filePath("gone/shot.png"));
    TSamplePngSaver fresh(&window);
    fresh.saveAs(choose, picture());
    ASSERT_TRUE(QDir().mkpath(dir.filePath("kept")));
    storeName(dir.filePath("kept/shot.png"));
    TSamplePngSaver known(&window);
    known.saveAs(choose, picture());

    const QString noPictures = ours ? dir.path() : pictures;
    EXPECT_EQ(folders, (QStringList{pictures, noPictures, noPictures, dir.filePath("kept")}))
        << folders.join(u'\n').toStdString();
}

namespace {

TEST_F(SamplePngSaverTest, ReplacingAPictureOnAFullDiskKeepsTheOldOneAndSaysSoOnce) {
    write("old.png", "the picture saved last time");
    storeName(dir.filePath("earlier.png"));
    // Noise does not compress: the picture is larger than the room left.
    QImage noise(128, 128, QImage::Format_RGB32);
    std::minstd_rand random(3);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    nextChoice = dir.filePath("old.png");
    SKIP_WITHOUT_DISK_FULL();
    {
        const TDiskFullScope full(4096);
        saver.saveAs(choose, [&] { return TSamplePngSaver::TPicture{noise, false}; });
    }
    ASSERT_EQ(boxes.size(), 1) << boxes.join(u'|').toStdString();
    EXPECT_TRUE(boxes.front().contains(QDir::toNativeSeparators(dir.filePath("old.png"))));
    EXPECT_EQ(bytes("old.png"), "the picture saved last time");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});
    // The next numbered save goes on from the last picture that was really written.
    EXPECT_EQ(storedName(), dir.filePath("earlier.png"));
}

} // namespace
