#include "app/PickCommand.h"
#include "picker/PickView.h"
#include "picker/Pickfrm.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Four quadrants of their own colour, so the pointer's pixel and the view's average differ.
QImage quadrants() {
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(0xFF000000u);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            image.setPixel(x, y,
                           x < 100 ? (y < 100 ? 0xFFFF1AB8u : 0xFF007400u)
                                   : (y < 100 ? 0xFF0000FFu : 0xFFFFFFFFu));
    return image;
}

struct TPickRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class PickCommandTest : public ::testing::Test {
protected:
    TScopedFakePlatform platform;
    ColorValue viewAverage = kBlack;

    void SetUp() override {
        platform.desktop.image = quadrants();
        platform.placeCursor(QPoint(50, 50));
    }

    // Runs the pick and presses `key` in the picker once it is up.
    TPickRun run(const TPickRequest& request, Qt::Key key,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTimer presser;
        presser.setInterval(10);
        QObject::connect(&presser, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* picker = qobject_cast<TFrmPick*>(widget); picker && picker->isVisible()) {
                    presser.stop();
                    TPickView view = picker->View();
                    viewAverage = view.averageColor();
                    QTest::keyClick(widget, key, modifiers);
                }
            }
        });
        presser.start();
        TPickRun r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.exitCode = RunPickCommand(request, out, err);
        return r;
    }
};

} // namespace

TEST_F(PickCommandTest, EnterPrintsTheColourInTheClickActionsFormat) {
    TPickRequest request;
    request.settings.clickAction = CopyStyle::RgbValues;
    const TPickRun r = run(request, Qt::Key_Return);
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.out, "R:255 G:026 B:184\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(platform.clipboardWrites, 0);
}

TEST_F(PickCommandTest, AverageAndCopyTakeTheViewAndFillTheClipboard) {
    platform.placeCursor(QPoint(100, 100));
    TPickRequest request;
    request.formats = {"html", "bgr"};
    request.average = true;
    request.copy = true;
    const TPickRun r = run(request, Qt::Key_Return);
    EXPECT_EQ(r.exitCode, kExitOk);

    const ColorValue average = viewAverage;
    EXPECT_NE(average, MakeColor(255, 255, 255));
    EXPECT_NE(average, kBlack);
    const QString expected = FormatHtml(average) + '\n' + FormatBgrHex(average);
    EXPECT_EQ(r.out, expected + '\n');
    EXPECT_EQ(platform.clipboard, expected);
}

TEST_F(PickCommandTest, EscPrintsNothingAndExitsOne) {
    TPickRequest request;
    request.copy = true;
    const TPickRun r = run(request, Qt::Key_Escape);
    EXPECT_EQ(r.exitCode, kExitCancelled);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(platform.clipboardWrites, 0);
}

TEST_F(PickCommandTest, AnUnreadableScreenIsReportedWithExitTwo) {
    platform.desktop.failure = QStringLiteral("Screen grabs are refused.");
    TPickRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    EXPECT_EQ(RunPickCommand(TPickRequest{}, out, err), kExitTrouble);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.startsWith("huesplinter: The desktop cannot be read")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("Screen grabs are refused.\n")) << r.err.toStdString();
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TFrmPick*>(widget) && widget->isVisible());
}
