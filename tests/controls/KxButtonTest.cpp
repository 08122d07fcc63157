#include "controls/KxButton.h"
#include "colour/Kxhsl.h"
#include "pixels/KxImageList.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void press(QWidget* w, QPoint at) {
    sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
}
void move(QWidget* w, QPoint at) {
    sendMouse(w, QEvent::MouseMove, at, Qt::LeftButton);
}
void release(QWidget* w, QPoint at) {
    sendMouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void enter(QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(w->mapToGlobal(QPoint(1, 1))));
    QApplication::sendEvent(w, &e);
}

void key(QWidget* target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &e);
}

// A shown window with buttons, so that focus, visibility and painting behave as on screen.
struct Form {
    QDialog window;
    Form() { window.resize(400, 200); }
    TKxButton* add(const QString& caption, QPoint at = {10, 10}) {
        auto* b = new TKxButton(&window);
        b->setCaption(caption);
        b->move(at);
        return b;
    }
    void show() {
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

QImage picture(TKxButton* b) {
    return b->grab().toImage();
}

// One opaque red picture, so the image's place shows in the button's pixels.
void addRedDot(TKxImageList& images) {
    QImage dot(16, 16, QImage::Format_ARGB32);
    dot.fill(0xFFFF0000u);
    images.add(dot);
}

} // namespace

TEST(KxButtonTest, DefaultsMatchThePublishedOnes) {
    TKxButton b;
    EXPECT_EQ(b.width(), 90);
    EXPECT_EQ(b.height(), 32);
    EXPECT_TRUE(b.TabStop());
    EXPECT_TRUE(b.Alive());
    EXPECT_EQ(b.ButtonStyle(), bstButton);
    EXPECT_EQ(b.FocusStyle(), tfsDottetRect);
    EXPECT_EQ(b.ImageIndex(), -1);
    EXPECT_EQ(b.ImageMargins(), QMargins(3, 3, 3, 3));
    EXPECT_EQ(b.MarkShape(), tasStar);
    EXPECT_EQ(b.PipeShadow(), 40);
    EXPECT_EQ(b.ClDimmedLight(), 0xDBD8BCu);
    EXPECT_EQ(int(tmrClose), 11);
    EXPECT_EQ(int(tmrYes), 6);
}

TEST(KxButtonTest, ClickEmitsOnceAndRepaintsPressed) {
    Form form;
    TKxButton* b = form.add("Go");
    form.show();
    QSignalSpy clicks(b, &TKxButton::clicked);
    const QImage rest = picture(b);
    press(b, {20, 10});
    EXPECT_EQ(b->getButtonState(), bsPressed);
    EXPECT_NE(picture(b), rest);
    release(b, {20, 10});
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(KxButtonTest, DraggingOutShowsHotAndReleasingOutsideDoesNotClick) {
    Form form;
    TKxButton* b = form.add("Drag");
    form.show();
    QSignalSpy clicks(b, &TKxButton::clicked);
    press(b, {10, 10});
    move(b, {200, 10});
    EXPECT_EQ(b->getButtonState(), bsHot);
    move(b, {12, 12});
    EXPECT_EQ(b->getButtonState(), bsPressed);
    move(b, {-5, 10});
    release(b, {-5, 10});
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_NE(b->getButtonState(), bsPressed);
}

TEST(KxButtonTest, DisabledButtonsIgnoreTheMouseAndLookDisabled) {
    Form form;
    TKxButton* b = form.add("Off");
    TKxButton* other = form.add("On", {150, 10});
    form.show();
    const QImage enabled = picture(other);
    b->setEnabled(false);
    QSignalSpy clicks(b, &TKxButton::clicked);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(b->getButtonState(), bsDisabled);
    // The disabled face is grey: its middle pixel has equal channels.
    const QRgb mid = picture(b).pixel(45, 16);
    EXPECT_EQ(qRed(mid), qGreen(mid));
    EXPECT_EQ(qGreen(mid), qBlue(mid));
    EXPECT_NE(enabled.pixel(45, 16), mid);
}

TEST(KxButtonTest, HoverTurnsHotUnlessNotAlive) {
    Form form;
    TKxButton* b = form.add("Hover");
    TKxButton* focus = form.add("Focus", {150, 10});
    form.show();
    focus->setFocus();
    const QImage rest = picture(b);
    enter(b);
    EXPECT_TRUE(b->IsHot());
    EXPECT_EQ(b->getButtonState(), bsHot);
    const QImage hot = picture(b);
    EXPECT_NE(hot, rest);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    EXPECT_EQ(b->getButtonState(), bsNormal);

    // A button that is not alive never turns hot but already looks hot at rest.
    b->setButtonStyle(bstFlat);
    b->setAlive(false);
    EXPECT_EQ(b->ButtonStyle(), bstButton);
    enter(b);
    EXPECT_FALSE(b->IsHot());
    EXPECT_EQ(picture(b), hot);
}

TEST(KxButtonTest, HalfHotFocusStyleShowsOnTheFocusedButton) {
    Form form;
    TKxButton* b = form.add("Half");
    TKxButton* other = form.add("Other", {150, 10});
    b->setFocusStyle(tfsHalfHot);
    form.show();
    other->setFocus();
    EXPECT_EQ(b->getButtonState(), bsNormal);
    b->setFocus();
    EXPECT_EQ(b->getButtonState(), bsHalfHot);
    other->setFocus();
    b->setDefault(true);
    EXPECT_EQ(b->getButtonState(), bsHalfHot);
}

TEST(KxButtonTest, GroupIndexZeroNeverStaysDown) {
    TKxButton b;
    b.setDown(true);
    EXPECT_FALSE(b.Down());
}

TEST(KxButtonTest, GroupedButtonsBehaveLikeRadioButtons) {
    Form form;
    TKxButton* a = form.add("A");
    TKxButton* b = form.add("B", {110, 10});
    TKxButton* elsewhere = form.add("C", {210, 10});
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    elsewhere->setGroupIndex(2);
    elsewhere->setDown(true);
    form.show();

    a->setDown(true);
    EXPECT_TRUE(a->Down());
    b->setDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(elsewhere->Down());
    b->setDown(false); // the last one down cannot be raised
    EXPECT_TRUE(b->Down());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->Down());
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(a->getButtonState(), bsPressed);
}

TEST(KxButtonTest, AllowAllUpLetsAClickRaiseTheGroup) {
    Form form;
    TKxButton* a = form.add("A");
    TKxButton* b = form.add("B", {110, 10});
    a->setGroupIndex(3);
    b->setGroupIndex(3);
    a->setAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()); // shared across the group
    form.show();
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->Down());
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(b->Down());
}

TEST(KxButtonTest, EnterAndEscapeReachDefaultAndCancel) {
    Form form;
    auto* edit = new QLineEdit(&form.window);
    edit->move(10, 100);
    TKxButton* ok = form.add("OK");
    TKxButton* cancel = form.add("Cancel", {110, 10});
    ok->setDefault(true);
    cancel->setCancel(true);
    form.show();
    edit->setFocus();
    QSignalSpy okClicks(ok, &TKxButton::clicked);
    QSignalSpy cancelClicks(cancel, &TKxButton::clicked);

    key(edit, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 1);
    key(edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks.count(), 1);
    key(edit, Qt::Key_Return, Qt::ShiftModifier);
    key(edit, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(okClicks.count(), 1);
    EXPECT_EQ(cancelClicks.count(), 1);
    EXPECT_TRUE(form.window.isVisible());

    // A focused button answers Enter itself, instead of the default one.
    cancel->setFocus();
    key(cancel, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(cancelClicks.count(), 2);
    EXPECT_EQ(okClicks.count(), 1);
    edit->setFocus();
    key(edit, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 2);

    ok->setEnabled(false);
    key(edit, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 2);
}

TEST(KxButtonTest, AcceleratorCharactersClick) {
    Form form;
    TKxButton* apply = form.add("&Apply");
    form.show();
    QSignalSpy clicks(apply, &TKxButton::clicked);
    key(&form.window, Qt::Key_A, Qt::NoModifier, "a");
    key(&form.window, Qt::Key_A, Qt::AltModifier, "a");
    key(&form.window, Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(clicks.count(), 2);
}

TEST(KxButtonTest, ModalResultClosesTheDialogWithItsNumber) {
    for (TKxModalResult result : {tmrOK, tmrCancel, tmrYes, tmrNo}) {
        Form form;
        TKxButton* b = form.add("Close");
        b->setModalResult(result);
        form.show();
        QSignalSpy clicks(b, &TKxButton::clicked);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(clicks.count(), 1);
        EXPECT_FALSE(form.window.isVisible());
        EXPECT_EQ(form.window.result(), int(result));
    }
    Form form;
    TKxButton* b = form.add("Stay");
    form.show();
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(form.window.isVisible());
}

TEST(KxButtonTest, AutoColoursDeriveHotGreyAndDimmedShades) {
    TKxButton b;
    b.setClAutoDark(0xF5A997);
    EXPECT_EQ(b.ClHotDark(), 0xF5A997u);
    EXPECT_EQ(b.ClDisabDark(), 0xACACACu);
    TKxHsl hsl = KxRgbToHsl(0x97A9F5); // the same colour as a pixel
    hsl.saturation = std::uint8_t(hsl.saturation - hsl.saturation / 3);
    EXPECT_EQ(b.ClDimmedDark(), KxHslToRgb(hsl) & 0xFFFFFFu);

    b.setClAutoLight(0x80FF00);
    EXPECT_EQ(b.ClHotLight(), 0x80FF00u);
    const std::uint32_t g = (0 * 320 + 255 * 576 + 0x80 * 128) >> 10;
    EXPECT_EQ(b.ClDisabLight(), g | (g << 8) | (g << 16));
    hsl = KxRgbToHsl(0x00FF80);
    hsl.saturation = std::uint8_t(hsl.saturation / 3);
    hsl.lightness = std::uint8_t(hsl.lightness - hsl.lightness / 15);
    EXPECT_EQ(b.ClDimmedLight(), KxHslToRgb(hsl) & 0xFFFFFFu);
}

TEST(KxButtonTest, ImageAndTextAreCentredAsOneBlock) {
    TKxImageList images(16, 16);
    addRedDot(images);
    Form form;
    TKxButton* b = form.add("Text");
    b->resize(120, 32);
    b->setImages(&images);
    b->setImageIndex(0);
    form.show();
    picture(b);
    const QRect image = b->imageRect();
    const QRect text = b->captionRect();
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.top(), (32 - 22) / 2 + 3);
    EXPECT_EQ(text.left(), image.right() + 1 + 3);
    const int leftGap = image.left() - 3;
    const int rightGap = 120 - (text.left() + text.width());
    EXPECT_LE(std::abs(leftGap - rightGap), 1);
    EXPECT_EQ(picture(b).pixel(image.left() + 8, image.top() + 8), qRgb(255, 0, 0));

    b->setLayoutStyle(tlsTextFolowImage);
    picture(b);
    EXPECT_EQ(b->imageRect().left(), 3);

    b->setImageAlignment(tiaRight);
    b->setLayoutStyle(tlsCenterTextAndImageClose);
    picture(b);
    EXPECT_LE(std::abs((120 - (b->imageRect().right() + 1 + 3)) - b->captionRect().left()), 1);

    // The pressed, not-down image sits one pixel lower.
    b->setImageAlignment(tiaLeft);
    picture(b);
    const QRect rest = b->imageRect();
    press(b, {5, 5});
    const QImage pressed = picture(b);
    EXPECT_EQ(pressed.pixel(rest.left() + 8, rest.bottom() + 1), qRgb(255, 0, 0));
    release(b, {5, 5});
}

TEST(KxButtonTest, ImageAndCaptionStackAndCentreInEveryAlignment) {
    TKxImageList images(16, 16);
    addRedDot(images);
    Form form;
    TKxButton* b = form.add("Text");
    b->resize(120, 70);
    b->setImages(&images);
    b->setImageIndex(0);
    form.show();
    const auto centredAcross = [&](const QRect& r) {
        return std::abs(r.left() - (120 - r.right() - 1)) <= 1;
    };

    // Image over caption, the pair in the middle of the face.
    b->setImageAlignment(tiaTop);
    picture(b);
    QRect image = b->imageRect();
    QRect text = b->captionRect();
    EXPECT_EQ(text.top(), image.bottom() + 1 + 3);
    EXPECT_TRUE(centredAcross(image));
    EXPECT_TRUE(centredAcross(text));
    EXPECT_LE(std::abs((image.top() - 3) - (70 - text.bottom() - 1)), 1);

    // Caption over image.
    b->setImageAlignment(tiaBottom);
    picture(b);
    image = b->imageRect();
    text = b->captionRect();
    EXPECT_EQ(image.top() - 3, text.bottom() + 1);
    EXPECT_TRUE(centredAcross(image));
    EXPECT_LE(std::abs(text.top() - (70 - image.bottom() - 1 - 3)), 1);

    // The image in the middle of the face, the caption right under it.
    b->setImageAlignment(tiaCenter);
    picture(b);
    image = b->imageRect();
    text = b->captionRect();
    EXPECT_TRUE(centredAcross(image));
    EXPECT_LE(std::abs(image.top() - (70 - image.bottom() - 1)), 1);
    EXPECT_EQ(text.top(), image.bottom() + 1 + 3);
    EXPECT_TRUE(centredAcross(text));

    // Without an image the caption alone sits in the middle.
    b->setImageIndex(-1);
    picture(b);
    text = b->captionRect();
    EXPECT_TRUE(centredAcross(text));
    EXPECT_LE(std::abs(text.top() - (70 - text.bottom() - 1)), 1);

    // The image keeps its edge; the caption centres in the room beside it.
    b->setImageIndex(0);
    b->setImageAlignment(tiaLeft);
    b->setLayoutStyle(tlsCenterTextInRest);
    picture(b);
    image = b->imageRect();
    text = b->captionRect();
    EXPECT_EQ(image.left(), 3);
    const int room = image.right() + 1 + 3;
    EXPECT_LE(std::abs((text.left() - room) - (120 - text.right() - 1)), 1);
}

TEST(KxButtonTest, DisabledImagesTurnGrey) {
    TKxImageList images(8, 8);
    QImage dot(8, 8, QImage::Format_ARGB32);
    dot.fill(0xFF00FF00u);
    images.add(dot);
    Form form;
    TKxButton* b = form.add("");
    b->setImages(&images);
    b->setImageIndex(0);
    form.show();
    picture(b);
    const QPoint centre = b->imageRect().center();
    EXPECT_EQ(picture(b).pixel(centre), qRgb(0, 255, 0));
    b->setEnabled(false);
    const int g = (255 * 576) >> 10;
    EXPECT_EQ(picture(b).pixel(centre), qRgb(g, g, g));
}

TEST(KxButtonTest, LineMarksSplitTheCaption) {
    Form form;
    TKxButton* one = form.add("Red Green");
    TKxButton* bars = form.add("Red||Green", {100, 10});
    TKxButton* currency = form.add("Red\u00A4\u00A4Green", {200, 10});
    for (TKxButton* b : {one, bars, currency})
        b->resize(90, 50);
    form.show();
    for (TKxButton* b : {one, bars, currency})
        picture(b);
    const int lineHeight = one->captionRect().height();
    EXPECT_GT(bars->captionRect().height(), lineHeight * 3 / 2);
    EXPECT_EQ(currency->captionRect(), bars->captionRect());
    EXPECT_LT(bars->captionRect().width(), one->captionRect().width());
    // Centred: equal room on both sides, and above and below.
    const QRect r = bars->captionRect();
    EXPECT_LE(std::abs(r.left() - (90 - r.left() - r.width())), 1);
    EXPECT_LE(std::abs(r.top() - (50 - r.top() - r.height())), 1);
}

TEST(KxButtonTest, FocusIndicatorAndMarkPaintWhereTheyBelong) {
    Form form;
    TKxButton* b = form.add("");
    TKxButton* other = form.add("x", {150, 10});
    b->setFocusStyle(tfsColorRect);
    b->setFocusColor(0x0000FF);
    form.show();
    other->setFocus();
    EXPECT_NE(picture(b).pixel(10, 2), qRgb(255, 0, 0));
    b->setFocus();
    EXPECT_EQ(picture(b).pixel(10, 2), qRgb(255, 0, 0));

    b->setFocusStyle(tfsNone);
    b->setMarkShow(true);
    b->setMarkShape(tasSquare);
    b->setMarkColor(0x00FF00);
    b->setMarkPos(pirDownRight);
    // Medium square: 9 pixels, 6 from the lower right corner.
    const QImage shot = picture(b);
    EXPECT_EQ(shot.pixel(90 - 6 - 5, 32 - 6 - 5), qRgb(0, 255, 0));
    EXPECT_NE(shot.pixel(10, 10), qRgb(0, 255, 0));
}

TEST(KxButtonTest, AcceleratorMarksTakeNoRoomInTheLayout) {
    Form form;
    TKxButton* marked = form.add("&Apply");
    TKxButton* plain = form.add("Apply", {100, 10});
    // Both show "R&D" over "x".
    TKxButton* doubled = form.add("R&&D||x", {200, 10});
    TKxButton* underlined = form.add("&R&&D||x", {300, 10});
    form.show();
    for (TKxButton* b : {marked, plain, doubled, underlined})
        picture(b);
    EXPECT_EQ(marked->captionRect(), plain->captionRect());
    EXPECT_EQ(doubled->captionRect(), underlined->captionRect());
}

TEST(KxButtonTest, ModalResultSurvivesAHandlerThatDeletesTheButton) {
    Form form;
    QPointer<TKxButton> b = form.add("Gone");
    b->setModalResult(tmrNo);
    form.show();
    QObject::connect(b, &TKxButton::clicked, [&] { delete b.data(); });
    b->Click();
    EXPECT_TRUE(b.isNull());
    EXPECT_FALSE(form.window.isVisible());
    EXPECT_EQ(form.window.result(), int(tmrNo));
}

TEST(KxButtonTest, DisablingEndsAPressInProgress) {
    Form form;
    TKxButton* b = form.add("Hold");
    TKxButton* other = form.add("Other", {150, 10});
    form.show();
    press(b, {10, 10});
    other->setFocus();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    b->setEnabled(false);
    b->setEnabled(true);
    EXPECT_EQ(b->getButtonState(), bsNormal);
}

TEST(KxButtonTest, DeletingTheFocusedButtonIsSafe) {
    Form form;
    TKxButton* a = form.add("A");
    TKxButton* b = form.add("B", {110, 10});
    form.show();
    a->setFocus();
    ASSERT_TRUE(a->hasFocus());
    delete a;
    b->setFocus();
    EXPECT_TRUE(b->hasFocus());
}

TEST(KxButtonTest, ButtonLetsGoOfADestroyedImageList) {
    Form form;
    TKxButton* b = form.add("Save");
    auto images = std::make_unique<TKxImageList>(8, 8);
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images->add(red);
    b->setImages(images.get());
    b->setImageIndex(0);
    form.show();
    EXPECT_FALSE(b->imageRect().isEmpty());
    images.reset();
    EXPECT_EQ(b->Images(), nullptr);
    const QImage after = picture(b);
    EXPECT_TRUE(b->imageRect().isEmpty());
    EXPECT_FALSE(after.isNull());
}

TEST(KxButtonTest, CaptionIsTheWindowsOwnTextFallingBackWhereAFaceIsMissing) {
    Form form;
    QFont font;
    font.setFamilies({QStringLiteral("No Such Face"), QStringLiteral("Liberation Serif")});
    font.setPixelSize(18);
    form.window.setFont(font);
    TKxButton* b = form.add("Show Sample");
    b->resize(120, 26);
    form.show();
    ASSERT_NE(b->bitmap(), nullptr);
    // The next family of the window's font, not whatever face the font system puts in for the
    // missing one.
    EXPECT_EQ(QFontInfo(b->bitmap()->font()).family(), QStringLiteral("Liberation Serif"));
    // The window's own size too: a size in pixels taken through points came out a pixel short.
    EXPECT_EQ(QFontInfo(b->bitmap()->font()).pixelSize(), 18);
}
