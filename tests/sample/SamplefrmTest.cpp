#include "sample/Samplefrm.h"

#include "dialogs/Kxmsgbx.h"
#include "pixels/KxPngRC.h"
#include "platform/FakePlatform.h"
#include "sample/SampleOwner.h"
#include "support/Kxfunctions.h"
#include "support/Kxglobals.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

constexpr ColorValue kGreen = MakeColor(0, 116, 0);
constexpr ColorValue kYellow = MakeColor(255, 237, 129);

class TRecordingOwner : public TSampleOwner {
public:
    TSampleSettings settings;
    QRect frame{100, 100, 501, 301};
    QList<QRect> placements;
    QStringList chosenFiles;
    int hideRequests = 0;
    QList<int> arrows;
    QList<int> forwarded;

    const TSampleSettings& sampleSettings() const override { return settings; }
    QRect sampleOwnerFrame() const override { return frame; }
    void samplePlacementChanged(const QRect& r) override { placements.append(r); }
    void sampleTextFileChosen(const QString& path) override { chosenFiles.append(path); }
    void sampleHideRequested() override { ++hideRequests; }
    void sampleArrowKey(int key) override { arrows.append(key); }
    void sampleKeyForwarded(QKeyEvent* event) override { forwarded.append(event->key()); }
};

// A desktop whose every pixel tells where it is: red = x, green = y (both modulo 256).
Platform::TDesktopPicture patternDesktop(QPoint origin, QSize size) {
    Platform::TDesktopPicture picture;
    picture.origin = origin;
    picture.image = QImage(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 77));
    return picture;
}

int countColour(const QImage& image, QRgb colour, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu);
    return n;
}

// Rows of the picture that hold any pixel other than the background.
QList<int> inkRows(const QImage& image, QRgb background) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (countColour(image, background, QRect(0, y, image.width(), 1)) != image.width())
            rows.append(y);
    return rows;
}

class SampleFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.desktop = patternDesktop({0, 0}, {800, 600});
        form.setCaptureSettleMs(0);
        form.SetSampleBkgColor(kGreen);
        form.SetSampleTextColor(kYellow);
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers);
        QCoreApplication::sendEvent(&form, &press);
    }
    void wheel(int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&form, &event);
    }
    void showAt(QRect r) {
        owner.settings.placement = r;
        form.setGeometry(r);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    TScopedFakePlatform platform;
    TRecordingOwner owner;
    TSampleForm form{&owner};
};

} // namespace

TEST_F(SampleFormTest, CurrentColourGoesToTheUnlockedSide) {
    for (int bits = 0; bits < 8; ++bits) {
        const bool show = bits & 1, lockText = bits & 2, transparent = bits & 4;
        form.SetShowText(show);
        form.SetLockTextColor(lockText);
        form.SetLockBkgColor(!lockText);
        form.SetTransparent(transparent);
        form.SetSampleBkgColor(kGreen);
        form.SetSampleTextColor(kYellow);
        form.ApplyColor(0x12345678u);
        const bool toBackground = !show || (lockText && !transparent);
        SCOPED_TRACE(bits);
        EXPECT_EQ(form.bkgColor(), toBackground ? 0x345678u : kGreen);
        EXPECT_EQ(form.textColor(), toBackground ? kYellow : 0x345678u);
    }
}

TEST_F(SampleFormTest, LocksAreAlwaysOpposite) {
    form.SetLockTextColor(true);
    EXPECT_FALSE(form.lockBkgColor());
    form.SetLockBkgColor(true);
    EXPECT_FALSE(form.lockTextColor());
    form.SetLockTextColor(true);
    EXPECT_TRUE(form.lockTextColor());
    EXPECT_FALSE(form.lockBkgColor());
}

TEST_F(SampleFormTest, SizeStepsOfATenthWithFloorAndDesktopCap) {
    form.resize(254, 239);
    key(Qt::Key_Equal);
    EXPECT_EQ(form.size(), QSize(279, 262));
    key(Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_EQ(form.size(), QSize(252, 236));

    form.resize(200, 200);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(form.size(), QSize(220, 200));
    wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(form.size(), QSize(220, 180));
    key(Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.size(), QSize(220, 198));
    EXPECT_TRUE(owner.forwarded.isEmpty());

    // Shrinking stops at the margins and a line, and from there the window still grows.
    for (int i = 0; i < 60; ++i)
        form.stepSize(false, Qt::NoModifier);
    const int floor = form.minimumSide();
    EXPECT_EQ(form.size(), QSize(floor, floor));
    form.stepSize(true, Qt::NoModifier);
    EXPECT_GT(form.width(), floor);

    const QSize desktop = form.screen()->virtualSize();
    for (int i = 0; i < 80; ++i)
        form.stepSize(true, Qt::NoModifier);
    EXPECT_EQ(form.size(), desktop);
}

TEST_F(SampleFormTest, TextSitsInsideTheMarginsWrapsLongWordsAndKeepsBlankLines) {
    form.SetTransparent(false);
    form.resize(200, 300);
    const QRgb green = qRgb(0, 116, 0);
    form.SetSampleText(QString(300, QLatin1Char('W')));
    QImage shown = form.backBuffer();
    const int m = TSampleForm::TextMargin;
    const QRect inner = shown.rect().adjusted(m, m, -m, -m);
    EXPECT_EQ(countColour(shown, green, shown.rect()) - countColour(shown, green, inner),
              shown.width() * shown.height() - inner.width() * inner.height())
        << "something was drawn in the margin";
    // One word longer than the line breaks into several lines.
    const QList<int> rows = inkRows(shown, green);
    ASSERT_FALSE(rows.isEmpty());
    const int line = QFontMetrics(form.sampleFont()).height();
    EXPECT_GT(rows.last() - rows.first(), 2 * line);

    form.SetSampleText(QStringLiteral("Ag\r\n\r\nAg"));
    shown = form.backBuffer();
    const QList<int> two = inkRows(shown, green);
    ASSERT_FALSE(two.isEmpty());
    EXPECT_GE(two.first(), m);
    // The blank line leaves a gap of at least one line between the two.
    int widestGap = 0;
    for (int i = 1; i < two.size(); ++i)
        widestGap = std::max(widestGap, two[i] - two[i - 1]);
    EXPECT_GE(widestGap, line);
}

TEST_F(SampleFormTest, HugeTextIsCutAndDrawsLikeItsBeginning) {
    form.SetTransparent(false);
    const QString word = QStringLiteral("lorem ipsum ");
    QString huge;
    while (huge.size() <= TSampleForm::MaxTextLength)
        huge += word;
    QStringList seen;
    TMsgBoxAnswererScope answer([&](const TMsgBoxSeen& box) {
        seen << box.caption + "|" + box.text;
        return kMsgOk;
    });
    form.SetSampleText(huge);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].startsWith("Huesplinter|The sample text is longer than 1048576"));
    EXPECT_EQ(form.sampleText().size(), TSampleForm::MaxTextLength + 2); // and CR LF
    const QImage all = form.backBuffer();
    form.SetSampleText(huge.left(2000));
    EXPECT_EQ(form.backBuffer(), all);
}

TEST_F(SampleFormTest, SeeThroughBackgroundIsThePictureAtTheWindowsPlace) {
    // A picture that begins left of and above the primary screen, and the window partly off
    // both.
    platform.desktop = patternDesktop({-40, -20}, {600, 400});
    form.SetTransparent(true);
    EXPECT_EQ(platform.grabs, 0) << "a hidden window has nothing to show the picture in";
    showAt(QRect(-60, -40, 120, 100));
    EXPECT_EQ(platform.grabs, 1) << "one desktop picture an opening";
    ASSERT_EQ(form.pos(), QPoint(-60, -40));
    const QImage& back = form.background();
    EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFFu, 0u);
    EXPECT_EQ(back.pixel(19, 50) & 0xFFFFFFu, 0u);
    EXPECT_EQ(back.pixel(50, 19) & 0xFFFFFFu, 0u);
    // Window pixel (40, 30) is global (-20, -10), picture pixel (20, 10).
    EXPECT_EQ(back.pixel(40, 30), qRgb(20, 10, 77));
    // The background lies under the sample only, above the status strip.
    ASSERT_EQ(back.size(), QSize(120, 100 - form.statusHeight()));
    const int bottom = back.height() - 1;
    EXPECT_EQ(back.pixel(119, bottom), qRgb(99, bottom - 20, 77));

    form.backBuffer();
    const int layouts = form.layoutCount();
    form.move(200, 150);
    EXPECT_EQ(form.background().pixel(0, 0), qRgb(240, 170, 77));
    EXPECT_EQ(form.backBuffer().pixel(1, 1), qRgb(241, 171, 77));
    EXPECT_EQ(form.layoutCount(), layouts) << "a move laid the text out again";
}

TEST_F(SampleFormTest, PressCapturesWithoutTheWindowAndDragsOnlyWhileHeld) {
    form.SetTransparent(false);
    showAt(QRect(50, 60, 150, 120));
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&form, QPoint(60, 40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.pos() == QPoint(100, 90); }));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(form.dragging());

    // The release went elsewhere: the next move without the button ends the drag in place.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), form.mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &press);
    ASSERT_TRUE(form.dragging());
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), form.mapToGlobal(QPointF(30, 30)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &move);
    EXPECT_FALSE(form.dragging());
    EXPECT_EQ(form.pos(), QPoint(100, 90));

    // See-through: the window is away while the screen is read.
    form.SetTransparent(true);
    platform.desktop = patternDesktop({0, 0}, {800, 600});
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(form.capturing());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.capturing(); }));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(owner.placements.isEmpty()) << "a capture is no hide";
    EXPECT_EQ(form.background().pixel(1, 2), qRgb(101, 92, 77));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(SampleFormTest, AClickGivesTheWindowTheKeyboard) {
    form.SetTransparent(false);
    showAt(QRect(50, 60, 150, 120));
    QWidget other;
    other.setGeometry(400, 300, 100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        QTest::mouseClick(&form, button, {}, QPoint(10, 10));
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form)) << button;
        EXPECT_EQ(QApplication::focusWidget(), &form) << button;
    }
}

TEST_F(SampleFormTest, FirstShowCentresOnTheOwnerAndLostPlacesAreFound) {
    form.resize(169, 159);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.pos(), QPoint(100 + (501 - 169) / 2, 100 + (301 - 159) / 2));
    form.CloseWindow();
    ASSERT_EQ(owner.placements.size(), 1);
    EXPECT_EQ(owner.placements[0], form.geometry());

    // Truncation toward zero left of the screen origin.
    owner.frame = QRect(-500, 0, 100, 100);
    form.show();
    EXPECT_EQ(form.pos().x(), -500 + (100 - 169) / 2);
    EXPECT_EQ(form.pos().x(), -534);
    form.hide();

    // A stored place no screen shows any more, and one without a size.
    owner.frame = QRect(100, 100, 501, 301);
    form.hide();
    showAt(QRect(5000, 5000, 169, 159));
    EXPECT_EQ(form.pos(), QPoint(266, 171));
    form.hide();
    owner.settings.placement = QRect(20, 30, 0, -5);
    form.move(20, 30);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(266, 171));
}

TEST_F(SampleFormTest, KeysUsedHereAreNotForwarded) {
    key(Qt::Key_Escape);
    EXPECT_EQ(owner.hideRequests, 1);
    key(Qt::Key_Left);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_F6);
    key(Qt::Key_Minus, Qt::KeypadModifier);
    key(Qt::Key_Minus);
    EXPECT_EQ(owner.arrows, QList<int>{Qt::Key_Left});
    EXPECT_EQ(owner.forwarded, (QList<int>{Qt::Key_Up, Qt::Key_F6, Qt::Key_Minus}));
}

TEST_F(SampleFormTest, InactiveSeeThroughWindowRepaintsItsLastPicture) {
    form.SetTransparent(true);
    showAt(QRect(50, 60, 150, 120));
    const QImage before = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    form.setDeactivated(true);
    form.ApplyColor(MakeColor(255, 0, 0));
    EXPECT_EQ(form.grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    platform.desktop = patternDesktop({0, 0}, {800, 600});
    platform.desktop.image.fill(Qt::blue);
    form.AppActivated();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.capturing(); }));
    EXPECT_FALSE(form.deactivated());
    EXPECT_EQ(form.grab().toImage().pixel(2, 2), qRgb(0, 0, 255));
}

TEST_F(SampleFormTest, TextFileMustBeARegularFileAndSaysWhyItWasNotLoaded) {
    QStringList boxes;
    const TMsgBoxAnswererScope answerer([&](const TMsgBoxSeen& seen) {
        boxes << seen.text;
        return kMsgOk;
    });
    QTemporaryDir dir;
    const QString before = form.sampleText();
    form.SetTextFile(dir.path());
    EXPECT_EQ(form.sampleText(), before);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("The sample text file \"" +
                                    QDir::toNativeSeparators(dir.path()) + "\" was not loaded: "));
    EXPECT_TRUE(boxes[0].contains("Not a regular file")) << boxes[0].toStdString();
    form.SetTextFile(dir.filePath("none.txt"));
    EXPECT_EQ(form.sampleText(), before);
    EXPECT_EQ(boxes.size(), 2);
    // The same file named again is not read, nor reported, again.
    form.SetTextFile(dir.filePath("none.txt"));
    EXPECT_EQ(boxes.size(), 2);
    QFile file(dir.filePath("t.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("one\r\n\r\nthree\r\n");
    file.close();
    form.SetTextFile(file.fileName());
    EXPECT_EQ(form.sampleText(), "one\r\n\r\nthree\r\n");

    form.chooseOpenFile = [&](const QString& folder) {
        EXPECT_EQ(folder, QString());
        return file.fileName();
    };
    form.SetSampleText("x");
    form.MnuLoadFromTextFileClick();
    EXPECT_EQ(form.sampleText(), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(owner.chosenFiles, QStringList{file.fileName()});
}

// ---------------------------------------------------------------------------------------------

namespace {

class SampleExportMenuTest : public SampleFormTest {
protected:
    void SetUp() override {
        SampleFormTest::SetUp();
        WriteUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile", QString());
        form.SetTransparent(false);
        form.resize(150, 100);
        form.chooseSaveFile = [this](const QString&) { return nextChoice; };
    }
    void TearDown() override {
        WriteUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile", QString());
    }
    QByteArray bytes(const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QImage png(const QString& name) {
        TKxPngImage image;
        return image.loadFromFile(dir.filePath(name)) ? image.pixels() : QImage();
    }

    QTemporaryDir dir;
    QString nextChoice;
    QStringList boxes;
    TMsgBoxAnswererScope answer{[this](const TMsgBoxSeen& box) {
        boxes << box.caption + "|" + box.text;
        return kMsgNo;
    }};
};

} // namespace

TEST_F(SampleExportMenuTest, AutomaticNamesCountOnAndAreRemembered) {
    WriteUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile",
                            dir.filePath("sample.png"));
    form.MnuSaveImageClick();
    form.MnuSaveImageClick();
    EXPECT_TRUE(QFile::exists(dir.filePath("sample1.png")));
    EXPECT_TRUE(QFile::exists(dir.filePath("sample2.png")));
    EXPECT_EQ(form.pngPath(), dir.filePath("sample2.png"));
    EXPECT_EQ(ReadUserRegistryString(QString(Kxglobals::ProgramKey), "SamplePngFile"),
              dir.filePath("sample2.png"));
    EXPECT_EQ(png("sample1.png").pixel(0, 0), qRgb(0, 116, 0));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(SampleExportMenuTest, PlainAndWithBackgroundAreTheSameOnASolidBackground) {
    nextChoice = dir.filePath("plain");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    nextChoice = dir.filePath("back.png");
    form.MnuSavePngImageAsClick(form.SavePngImageAswithBackground1);
    ASSERT_FALSE(bytes("plain.png").isEmpty());
    EXPECT_EQ(bytes("plain.png"), bytes("back.png"));
    EXPECT_EQ(form.pngPath(), dir.filePath("back.png"));
}

TEST_F(SampleExportMenuTest, CropCutsToTheTextAndAnEmptyCropWritesNothing) {
    form.SetSampleBkgColor(kWhite);
    form.SetSampleTextColor(kBlack);
    form.SetSampleText("T");
    nextChoice = dir.filePath("crop.png");
    form.PopupMenuPopup();
    EXPECT_TRUE(form.MnuSavePngImageAswithAutoCrop->isEnabled());
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAswithAutoCrop);
    const QImage crop = png("crop.png");
    QRect ink;
    const QImage& shown = form.backBuffer();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) ink |= QRect(x, y, 1, 1);
    EXPECT_EQ(crop.size(), ink.size());
    EXPECT_EQ(crop, shown.copy(ink).convertToFormat(QImage::Format_ARGB32));

    form.SetSampleTextColor(kWhite);
    nextChoice = dir.filePath("empty.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAswithAutoCrop);
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.png")));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Huesplinter|There is nothing to save"));
    EXPECT_EQ(form.pngPath(), dir.filePath("crop.png"));
}

TEST_F(SampleExportMenuTest, SeeThroughExportsTheTextAloneOrTheBackground) {
    form.SetTransparent(true);
    form.SetSampleText("Hi");
    nextChoice = dir.filePath("alone.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    TKxPngImage alone;
    ASSERT_TRUE(alone.loadFromFile(dir.filePath("alone.png")));
    EXPECT_TRUE(alone.hasAlpha());
    EXPECT_LT(alone.height(), 40);

    form.SetShowText(false);
    nextChoice = dir.filePath("behind.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    EXPECT_EQ(png("behind.png"), form.background().convertToFormat(QImage::Format_ARGB32));
    form.PopupMenuPopup();
    EXPECT_FALSE(form.MnuSavePngImageAswithAutoCrop->isEnabled());
}

TEST_F(SampleExportMenuTest, FailuresAreReportedAndNothingIsRemembered) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    nextChoice = dir.filePath("folder.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Huesplinter|Could not save the image\r\n" +
                                    QDir::toNativeSeparators(dir.filePath("folder.png")) +
                                    "\r\n\r\nSystem Say:\r\n"));
    EXPECT_TRUE(form.pngPath().isEmpty());

    // The dialog confirmed "a.jpg", but "a.jpg.png" would be replaced: asked, and No keeps it.
    QFile old(dir.filePath("a.jpg.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    nextChoice = dir.filePath("a.jpg");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[1].contains("already exists"));
    EXPECT_EQ(bytes("a.jpg.png"), "old");

    // Cancel in the dialog ends the command without effect.
    nextChoice.clear();
    form.MnuSaveImageClick();
    EXPECT_EQ(boxes.size(), 2);
}

// The strip under the sample: the ratio and verdicts for the text as shown, never over the sample.
TEST_F(SampleFormTest, ContrastStripJudgesTheTextAsShownBesideTheSample) {
    form.SetTransparent(false);
    form.resize(240, 200);
    form.SetSampleBkgColor(kWhite);
    form.SetSampleTextColor(MakeColor(0x77, 0x77, 0x77));
    EXPECT_EQ(form.statusLines(), QStringList{QStringLiteral("4.47:1  AA \u2717  AAA \u2717")});
    form.SetFontSize(18);
    EXPECT_EQ(form.statusLines().value(0),
              QStringLiteral("4.47:1  AA \u2713  AAA \u2717  large text"));
    form.SetFontSize(14);
    EXPECT_FALSE(form.contrastVerdict().largeText);
    form.SetBold(true);
    EXPECT_TRUE(form.contrastVerdict().largeText);

    // What the user sees: the sample on top, whole, and the strip below it.
    const QImage seen = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& sample = form.backBuffer();
    ASSERT_EQ(sample.size(), QSize(240, 200 - form.statusHeight()));
    EXPECT_EQ(seen.copy(sample.rect()), sample);
    EXPECT_NE(seen.pixel(1, 199) & 0xFFFFFFu, 0xFFFFFFu);

    form.SetTransparent(true);
    EXPECT_EQ(form.statusLines().value(0), QStringLiteral("Transparent background: no ratio"));
    form.SetShowText(false);
    EXPECT_EQ(form.statusLines().value(0), QStringLiteral("No text shown"));
}

// Each simulation shows its own picture and names itself; the real colours stay.
TEST_F(SampleFormTest, EachColourVisionShowsItsSimulationAndNamesIt) {
    form.SetTransparent(false);
    form.resize(200, 160);
    const ColorValue red = MakeColor(200, 30, 30);
    form.SetSampleBkgColor(red);
    for (int i = 0; i < ColorVision::kCount; ++i) {
        const TColorVision vision = form.colorVision();
        SCOPED_TRACE(ColorVision::Name(vision).toStdString());
        const QImage seen = form.grab().toImage();
        const ColorValue expected = ColorVision::Simulate(red, vision);
        EXPECT_EQ(seen.pixel(2, 2) & 0xFFFFFFu,
                  QColor(RedOf(expected), GreenOf(expected), BlueOf(expected)).rgb() & 0xFFFFFFu);
        EXPECT_EQ(form.backBuffer().pixel(2, 2) & 0xFFFFFFu, 0xC81E1Eu);
        EXPECT_EQ(form.bkgColor(), red);
        if (vision == TColorVision::Normal)
            EXPECT_EQ(form.statusLines().size(), 1);
        else
            EXPECT_EQ(form.statusLines().value(1),
                      QStringLiteral("Seen with ") + ColorVision::Name(vision).toLower());
        key(Qt::Key_F8);
    }
    EXPECT_EQ(form.colorVision(), TColorVision::Normal);
    EXPECT_TRUE(owner.forwarded.isEmpty());
}

TEST_F(SampleFormTest, ReadableTextCommandsGoToTheOwner) {
    struct TReadableOwner : TRecordingOwner {
        QList<ColorContrast::TLevel> asked;
        void sampleReadableTextRequested(ColorContrast::TLevel level) override {
            asked.append(level);
        }
    } readable;
    TSampleForm window(&readable);
    window.MnuReadableTextAA->trigger();
    window.MnuReadableTextAAA->trigger();
    EXPECT_EQ(readable.asked, (QList<ColorContrast::TLevel>{ColorContrast::TLevel::AA,
                                                            ColorContrast::TLevel::AAA}));
}

TEST_F(SampleExportMenuTest, SimulatedPictureIsOfferedWhileSimulatingAndTheStripIsNeverSaved) {
    form.PopupMenuPopup();
    EXPECT_FALSE(form.MnuSavePngImageAsSimulated->isEnabled());
    form.setColorVision(TColorVision::Deuteranopia);
    form.PopupMenuPopup();
    EXPECT_TRUE(form.MnuSavePngImageAsSimulated->isEnabled());
    EXPECT_EQ(form.MnuColorVision->text(), QStringLiteral("Simulate Tritanopia"));

    nextChoice = dir.filePath("seen.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAsSimulated);
    EXPECT_EQ(png("seen.png"), form.shownImage().convertToFormat(QImage::Format_ARGB32));
    nextChoice = dir.filePath("real.png");
    form.MnuSavePngImageAsClick(form.MnuSavePngImageAs);
    const QImage real = png("real.png");
    EXPECT_EQ(real, form.backBuffer().convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(real.size(), QSize(form.width(), form.height() - form.statusHeight()));
    EXPECT_NE(png("seen.png"), real);
}
