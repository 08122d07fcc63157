#pragma once

#include "colour/ColorValue.h"
#include "controls/KxBaseCtrl.h"
#include "controls/KxButtonLayout.h"

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QString>

#include <cstdint>

class QAction;
class TKxImageList;

enum TKxButtonStyle { bstButton, bstFlat, bstFlatAndButton, bstNone };
enum TKxFocusStyle { tfsNone, tfsDottetRect, tfsColorRect, tfsColorMark, tfsStar, tfsHalfHot };
enum TKxPosInRect { pirUpLeft, pirUpRight, pirDownRight, pirDownLeft };
enum TKxShape { tasCircle, tasSquare, tasDiamond, tasStar };
enum TKxThreeSizes { ttsSmall, ttsMedium, ttsLarge };
// The ordinal is the result a dialog closed by the button returns from exec():
// 1 for OK (QDialog::Accepted), 2 for Cancel, 6 for Yes, 7 for No, and so on.
enum TKxModalResult {
    tmrNone,
    tmrOK,
    tmrCancel,
    tmrAbort,
    tmrRetry,
    tmrIgnore,
    tmrYes,
    tmrNo,
    tmrAll,
    tmrNoToAll,
    tmrYesToAll,
    tmrClose
};
enum TKxButtonState { bsNormal, bsHot, bsHalfHot, bsPressed, bsDisabled };

// The library's push button: a shaded face in five states, an optional image
// from an image list, a caption that may span lines ("||", "**" or "¤¤" break
// them), a focus indicator and a corner mark. It can be a two-state button in
// a group, the default (Enter) or cancel (Esc) button of its window, and close
// a dialog with its modal result. Colours are colour values 0x00BBGGRR.
class TKxButton : public TKxCustomControl {
    Q_OBJECT
public:
    explicit TKxButton(QWidget* parent = nullptr);
    ~TKxButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void setAllowAllUp(bool value);
    bool AutoGrayDisabled() const { return FAutoGrayDisabled; }
    void setAutoGrayDisabled(bool value);
    TKxButtonStyle ButtonStyle() const { return FButtonStyle; }
    void setButtonStyle(TKxButtonStyle value);
    bool Cancel() const { return FCancel; }
    void setCancel(bool value) { FCancel = value; }

    ColorValue ClAutoDark() const { return FClAutoDark; }
    // Also derives the hot, disabled (grey) and dimmed (less saturated) dark shades.
    void setClAutoDark(ColorValue colour);
    ColorValue ClAutoLight() const { return FClAutoLight; }
    // Also derives the hot, disabled and dimmed light shades.
    void setClAutoLight(ColorValue colour);
    ColorValue ClDimmedDark() const { return FClDimmedDark; }
    void setClDimmedDark(ColorValue value);
    ColorValue ClDimmedLight() const { return FClDimmedLight; }
    void setClDimmedLight(ColorValue value);
    ColorValue ClDisabDark() const { return FClDisabDark; }
    void setClDisabDark(ColorValue value);
    ColorValue ClDisabLight() const { return FClDisabLight; }
    void setClDisabLight(ColorValue value);
    ColorValue ClHotDark() const { return FClHotDark; }
    void setClHotDark(ColorValue value);
    ColorValue ClHotLight() const { return FClHotLight; }
    void setClHotLight(ColorValue value);
    ColorValue ClSelDownDark() const { return FClSelDownDark; }
    void setClSelDownDark(ColorValue value);
    ColorValue ClSelDownLight() const { return FClSelDownLight; }
    void setClSelDownLight(ColorValue value);

    bool Default() const { return FDefault; }
    void setDefault(bool value);
    bool Down() const { return FDown; }
    void setDown(bool value);
    ColorValue FocusColor() const { return FFocusColor; }
    void setFocusColor(ColorValue value);
    TKxFocusStyle FocusStyle() const { return FFocusStyle; }
    void setFocusStyle(TKxFocusStyle value);
    ColorValue FontClDisabled() const { return FFontClDisabled; }
    void setFontClDisabled(ColorValue value);
    ColorValue FontClDown() const { return FFontClDown; }
    void setFontClDown(ColorValue value);
    ColorValue FontClHot() const { return FFontClHot; }
    void setFontClHot(ColorValue value);
    ColorValue FontClDimmed() const { return FFontClDimmed; }
    void setFontClDimmed(ColorValue value);
    int GroupIndex() const { return FGroupIndex; }
    void setGroupIndex(int value);

    TKxImageAlignment ImageAlignment() const { return FImageAlignment; }
    void setImageAlignment(TKxImageAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void setImageIndex(int value);
    int ImageIndexDisabled() const { return FImageIndexDisabled; }
    void setImageIndexDisabled(int value);
    int ImageIndexHot() const { return FImageIndexHot; }
    void setImageIndexHot(int value);
    int ImageIndexPressed() const { return FImageIndexPressed; }
    void setImageIndexPressed(int value);
    QMargins ImageMargins() const { return FImageMargins; }
    void setImageMargins(QMargins value);
    // Not owned; the button lets go of a list that is destroyed.
    TKxImageList* Images() const { return FImages; }
    void setImages(TKxImageList* images);
    // Repaints after the image list's pictures changed.
    void ImagesChanged();
    TKxLayoutStyle LayoutStyle() const { return FLayoutStyle; }
    void setLayoutStyle(TKxLayoutStyle value);

    ColorValue MarkColor() const { return FMarkColor; }
    void setMarkColor(ColorValue value);
    TKxPosInRect MarkPos() const { return FMarkPos; }
    void setMarkPos(TKxPosInRect value);
    TKxShape MarkShape() const { return FMarkShape; }
    void setMarkShape(TKxShape value);
    bool MarkShow() const { return FMarkShow; }
    void setMarkShow(bool value);
    TKxThreeSizes MarkSize() const { return FMarkSize; }
    void setMarkSize(TKxThreeSizes value);
    TKxModalResult ModalResult() const { return FModalResult; }
    void setModalResult(TKxModalResult value) { FModalResult = value; }
    bool PipeGradient() const { return FPipeGradient; }
    void setPipeGradient(bool value);
    int PipeShadow() const { return FPipeShadow; }
    void setPipeShadow(int value);
    bool ShowCaption() const { return FShowCaption; }
    void setShowCaption(bool value);
    // A button that is not alive looks hot at rest and keeps the plain button style.
    void setAlive(bool value) override;

    QString Caption() const { return Text(); }
    void setCaption(const QString& caption) { setText(caption); }
    // Shown as a tooltip on green, with line marks turned into line breaks.
    QString Hint() const { return FHint; }
    void setHint(const QString& hint) { FHint = hint; }
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool value);
    // Mirrors the action's text, tooltip and enabled state; a click triggers it.
    QAction* Action() const { return FAction; }
    void setAction(QAction* action);

    // The state the next paint shows.
    TKxButtonState getButtonState();
    // Toggles the down state in a group, closes a dialog with ModalResult, then clicked().
    virtual void Click();
    // Another button of the group went down.
    void ExternButtenIsDown(TKxButton* sender, int group);

    // The last layout, in client coordinates.
    QRect captionRect() const { return FCaptionRect; }
    QRect imageRect() const { return FImageRect; }

signals:
    void clicked();

protected:
    void PrepareBitmaps(int width, int height) override;
    void KxPaint(TKxBmp& bitmap, const QRect& rect) override;
    void CMTextChanged() override;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool canTakeFocus() const;
    int getImageIndex(TKxButtonState state) const;
    int getAnImageIndex() const;
    bool weHaveImageIndex() const;
    void calculateRects(TKxBmp& bitmap);
    QSize imageBox() const;
    QSize captionBox(TKxBmp& bitmap, int imageWidth) const;
    void paintButton(TKxBmp& bitmap, const QRect& rect);
    void paintHalfHot(TKxBmp& bitmap, const QRect& rect);
    void paintButtonFlat(TKxBmp& bitmap, const QRect& rect);
    void paintButtonNone(TKxBmp& bitmap);
    void paintImage(TKxBmp& bitmap);
    void paintCaption(TKxBmp& bitmap);
    void paintFocusIndicator(TKxBmp& bitmap, const QRect& rect);
    QPoint findMarkerPos(const QRect& rect) const;
    void paintMarker(TKxBmp& bitmap, const QRect& rect);
    void updateExclusiveDown();
    void focusChangedIn(QWidget* now);
    bool CMDialogKey(QKeyEvent* key);
    bool CMDialogChar(QKeyEvent* key);
    void watchWindow();
    void layoutChanged();
    QString captionToDraw() const;

    TKxButtonState FPaintState = bsNormal;
    bool FDefaultTarget = false;
    bool FLayoutDirty = true;
    QRect FImageRect;
    bool FMousePressed = false;
    bool FMouseOutside = false;
    int FLineBreakPos = 0;
    QRect FCaptionRect;

    bool FAllowAllUp = false;
    bool FAutoGrayDisabled = false;
    TKxButtonStyle FButtonStyle = bstButton;
    bool FCancel = false;
    ColorValue FClAutoDark = 0xF5A997;
    ColorValue FClAutoLight = 0xFDF6EA;
    ColorValue FClDimmedDark = 0xE5B2A3;
    ColorValue FClDimmedLight = 0xDBD8BC;
    ColorValue FClDisabDark = 0xACACAC;
    ColorValue FClDisabLight = 0xE4E4E4;
    ColorValue FClHotDark = 0xF5A997;
    ColorValue FClHotLight = 0xFDF6BA;
    ColorValue FClSelDownDark = 0xF5A997;
    ColorValue FClSelDownLight = 0xFDF6BA;
    bool FDefault = false;
    bool FDown = false;
    ColorValue FFocusColor = 0xFF0000;
    TKxFocusStyle FFocusStyle = tfsDottetRect;
    ColorValue FFontClDisabled = 0x707070;
    ColorValue FFontClDown = 0x800000;
    ColorValue FFontClHot = 0x800000;
    ColorValue FFontClDimmed = 0x000000;
    int FGroupIndex = 0;
    TKxImageAlignment FImageAlignment = tiaLeft;
    int FImageIndex = -1;
    int FImageIndexDisabled = -1;
    int FImageIndexHot = -1;
    int FImageIndexPressed = -1;
    QMargins FImageMargins{3, 3, 3, 3};
    TKxImageList* FImages = nullptr;
    TKxLayoutStyle FLayoutStyle = tlsCenterTextAndImageClose;
    ColorValue FMarkColor = 0xFFFFFF;
    TKxPosInRect FMarkPos = pirUpLeft;
    TKxShape FMarkShape = tasStar;
    bool FMarkShow = false;
    TKxThreeSizes FMarkSize = ttsMedium;
    TKxModalResult FModalResult = tmrNone;
    bool FPipeGradient = true;
    int FPipeShadow = 40;
    bool FShowCaption = true;

    QString FHint;
    QPointer<QAction> FAction;
    QPointer<QWidget> FWatchedWindow;
    QMetaObject::Connection FFocusHook;
};
