#pragma once

// The library's label with a picture: one image from an image list beside the caption, another
// one while the mouse is over it and while it is checked. A click can toggle the checked state,
// and the label sizes itself to picture, caption and margins.

#include "controls/KxPanel.h"

#include <QString>
#include <QWidget>

class TKxImageList;

enum TKxImgPos { aimpLeft, aimpRight };

class TKxCheckLabel : public QWidget {
    Q_OBJECT

public:
    explicit TKxCheckLabel(QWidget* parent = nullptr);
    ~TKxCheckLabel() override;

    // Not owned; the label lets go of a list that is destroyed.
    TKxImageList* Images() const noexcept { return FImages; }
    void setImages(TKxImageList* images);
    int ImageIndex() const noexcept { return FImageIndex; }
    void setImageIndex(int value);
    int ImageHotIndex() const noexcept { return FImageHotIndex; }
    void setImageHotIndex(int value);
    int ImageCheckedIndex() const noexcept { return FImageCheckedIndex; }
    void setImageCheckedIndex(int value);
    int ImageHotCheckedIndex() const noexcept { return FImageHotCheckedIndex; }
    void setImageHotCheckedIndex(int value);
    TKxImgPos ImagePos() const noexcept { return FImagePos; }
    void setImagePos(TKxImgPos value);
    // The gap between picture and caption; changes the picture's place, not the label's size.
    int MarginImage() const noexcept { return FMarginImage; }
    void setMarginImage(int value);
    int MarginTextHorz() const noexcept { return FMarginTextHorz; }
    void setMarginTextHorz(int value);
    int MarginTextVert() const noexcept { return FMarginTextVert; }
    void setMarginTextVert(int value);
    bool Checked() const noexcept { return FChecked; }
    void setChecked(bool value);
    // A click toggles Checked.
    bool CheckedLabel() const noexcept { return FCheckedLabel; }
    void setCheckedLabel(bool value) { FCheckedLabel = value; }

    // The usual label properties. "&" marks the next character as the accelerator.
    QString Caption() const { return FCaption; }
    void setCaption(const QString& value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void setAlignment(TAlignment value);
    bool AutoSize() const noexcept { return FAutoSize; }
    void setAutoSize(bool value);

    // The mouse is over an enabled label that has an image list.
    bool Hot() const noexcept { return FHot; }
    // The image index the next paint shows (-1 for none).
    int pictureIndex() const;
    // Where the last paint put the picture and the caption.
    QRect imageRect() const noexcept { return FImageRect; }
    QRect captionRect() const noexcept { return FCaptionRect; }

    // Flips Checked when CheckedLabel is on, then clicked().
    void Click();

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void adjustBounds();
    void measureCaption();
    void setHot(bool value);
    void setIndex(int& field, int value);

    TKxImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FImageHotIndex = -1;
    int FImageCheckedIndex = -1;
    int FImageHotCheckedIndex = -1;
    TKxImgPos FImagePos = aimpLeft;
    int FMarginImage = 5;
    int FMarginTextHorz = 3;
    int FMarginTextVert = 3;
    bool FChecked = false;
    bool FCheckedLabel = false;
    QString FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;

    int FCaptionWidth = 0;
    int FCaptionHeight = 0;
    bool FHot = false;
    bool FLoaded = false;
    bool FPressed = false;
    QRect FImageRect;
    QRect FCaptionRect;
};
