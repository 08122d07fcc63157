#include "controls/KxCheckLabel.h"

#include "pixels/KxImageList.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace {

// Four 16 x 16 pictures in plain colours, so a grab tells which one shows.
const QColor kColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

std::unique_ptr<TKxImageList> pictures() {
    auto list = std::make_unique<TKxImageList>(16, 16);
    for (const QColor& c : kColours) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(c);
        list->add(image);
    }
    return list;
}

struct Label {
    QWidget host;
    TKxCheckLabel* label;
    Label() : label(new TKxCheckLabel(&host)) {
        host.resize(300, 100);
        label->move(20, 20);
        label->setCaption(QStringLiteral("Lock colour"));
    }
    QSize caption() const {
        return QFontMetrics(label->font())
            .boundingRect(QRect(), Qt::TextSingleLine, label->Caption())
            .size();
    }
    void show() {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    // The colour in the middle of the picture, or an invalid colour when none is drawn.
    QColor shown() {
        const QImage image = label->grab().toImage();
        if (label->imageRect().isEmpty()) return {};
        return image.pixelColor(label->imageRect().center());
    }
    void enter() {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(label, &e);
    }
    void leave() {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(label, &e);
    }
};

} // namespace

TEST(KxCheckLabelTest, SizesItselfToPictureCaptionAndMargins) {
    Label plain;
    plain.show();
    const QSize text = plain.caption();
    EXPECT_EQ(plain.label->size(), QSize(text.width() + 6, text.height() + 6));

    auto list = pictures();
    Label pictured;
    pictured.label->setImages(list.get());
    pictured.label->setImageIndex(0);
    pictured.show();
    EXPECT_EQ(pictured.label->size(),
              QSize(16 + 5 + text.width() + 6, std::max(16, text.height()) + 6));
    // The gap between picture and caption moves the caption, not the label's edge.
    const QSize before = pictured.label->size();
    pictured.label->setMarginImage(9);
    EXPECT_EQ(pictured.label->size(), before);
    // The next layout takes both the wider margins and the wider gap.
    pictured.label->setMarginTextHorz(10);
    EXPECT_EQ(pictured.label->width(), before.width() + 14 + 4);

    // A right-aligned label grows to the left.
    Label right;
    right.label->setAlignment(taRightJustify);
    right.show();
    const int edge = right.label->geometry().right();
    right.label->setCaption(QStringLiteral("A much longer caption"));
    EXPECT_EQ(right.label->geometry().right(), edge);
    EXPECT_LT(right.label->x(), 20);
}

TEST(KxCheckLabelTest, ClicksToggleCheckedAndThePicture) {
    auto list = pictures();
    Label l;
    l.label->setImages(list.get());
    l.label->setImageIndex(0);
    l.label->setCheckedLabel(true);
    l.show();
    EXPECT_EQ(l.shown(), kColours[0]);
    // Without a checked picture the normal one stays.
    QTest::mouseClick(l.label, Qt::LeftButton);
    EXPECT_TRUE(l.label->Checked());
    EXPECT_EQ(l.shown(), kColours[0]);
    l.label->setImageCheckedIndex(2);
    EXPECT_EQ(l.shown(), kColours[2]);
    QTest::mouseClick(l.label, Qt::LeftButton);
    EXPECT_FALSE(l.label->Checked());
    EXPECT_EQ(l.shown(), kColours[0]);

    l.label->setCheckedLabel(false);
    QTest::mouseClick(l.label, Qt::LeftButton);
    EXPECT_FALSE(l.label->Checked());
}

TEST(KxCheckLabelTest, HoverShowsTheHotPictureAndNeverSticks) {
    auto list = pictures();
    Label l;
    l.label->setImages(list.get());
    l.label->setImageIndex(0);
    l.show();
    // No hot picture: hovering hides the picture until the mouse leaves.
    l.enter();
    EXPECT_TRUE(l.label->Hot());
    EXPECT_FALSE(l.shown().isValid());
    l.leave();
    EXPECT_EQ(l.shown(), kColours[0]);

    l.label->setImageHotIndex(1);
    l.enter();
    EXPECT_EQ(l.shown(), kColours[1]);
    // Disabled while hovered, enabled again after the pointer left: the normal picture.
    l.label->setEnabled(false);
    l.leave();
    l.label->setEnabled(true);
    EXPECT_FALSE(l.label->Hot());
    EXPECT_EQ(l.shown(), kColours[0]);

    // A disabled label does not turn hot.
    l.label->setEnabled(false);
    l.enter();
    EXPECT_FALSE(l.label->Hot());
}

TEST(KxCheckLabelTest, MissingPicturesDrawNothing) {
    auto list = pictures();
    Label l;
    l.label->setImages(list.get());
    l.label->setImageIndex(7);
    l.show();
    EXPECT_EQ(l.label->pictureIndex(), -1);
    EXPECT_FALSE(l.shown().isValid());

    // A list that goes away is let go of, not drawn from.
    l.label->setImageIndex(1);
    EXPECT_EQ(l.shown(), kColours[1]);
    list.reset();
    EXPECT_EQ(l.label->Images(), nullptr);
    EXPECT_FALSE(l.shown().isValid());
    const QSize text = l.caption();
    EXPECT_EQ(l.label->size(), QSize(text.width() + 6, text.height() + 6));
}

TEST(KxCheckLabelTest, ListChangesLayTheLabelOutAgain) {
    TKxImageList list(16, 16);
    Label l;
    l.label->setImages(&list);
    l.show();
    const int before = l.label->width();
    // An assigned list of a different size changes the room the picture takes.
    list = TKxImageList(24, 24);
    EXPECT_EQ(l.label->width(), before + 8);
    // A copy does not take the listeners with it.
    {
        TKxImageList copy(list);
        EXPECT_EQ(copy.width(), 24);
    }
    EXPECT_EQ(l.label->Images(), &list);
}
