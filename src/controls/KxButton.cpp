#include "controls/KxButton.h"

#include "colour/Kxhsl.h"
#include "controls/KxPanel.h"
#include "pixels/KxImageList.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace {

// Opaque, so that anti-aliased text and marks mix with the face beneath.
TKxColor opaque(ColorValue colour) {
    return TKxColor(colour | 0xFF000000u);
}

ColorValue greyOf(ColorValue colour) {
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = (colour >> 8) & 0xFF;
    const std::uint32_t b = (colour >> 16) & 0xFF;
    const std::uint32_t grey = (r * 320 + g * 576 + b * 128) >> 10;
    return grey | (grey << 8) | (grey << 16);
}

// The HSL conversion reads pixels (blue in the low byte); colour values keep red there.
TKxHsl hslOf(ColorValue colour) {
    const std::uint32_t pixel =
        ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    return KxRgbToHsl(pixel);
}

ColorValue halfMix(ColorValue a, ColorValue b) {
    return ((a >> 1) & 0x7F7F7Fu) + ((b >> 1) & 0x7F7F7Fu);
}

// The text as drawn: a single "&" only underlines the next character and "&&" shows one "&".
QString withoutMnemonics(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size()) ++i;
        out += text.at(i);
    }
    return out;
}

QChar accelerator(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&') continue;
        if (caption.at(i + 1) != u'&') return caption.at(i + 1);
        ++i;
    }
    return {};
}

} // namespace

TKxButton::TKxButton(QWidget* parent) : TKxCustomControl(parent) {
    resize(90, 32);
    setFocusPolicy(Qt::StrongFocus);
    FFocusHook = connect(qApp, &QApplication::focusChanged, this,
                         [this](QWidget*, QWidget* now) { focusChangedIn(now); });
}

// Deleting a focused button moves the focus while the widget part is torn down, after this
// part is gone; the hook must not reach it then.
TKxButton::~TKxButton() {
    disconnect(FFocusHook);
}

#define KX_BUTTON_SETTER(Name, Type, Field)                                                        \
    void TKxButton::set##Name(Type value) {                                                        \
        if (Field == value) return;                                                                \
        Field = value;                                                                             \
        update();                                                                                  \
    }

KX_BUTTON_SETTER(AutoGrayDisabled, bool, FAutoGrayDisabled)
KX_BUTTON_SETTER(ClDimmedDark, ColorValue, FClDimmedDark)
KX_BUTTON_SETTER(ClDimmedLight, ColorValue, FClDimmedLight)
KX_BUTTON_SETTER(ClDisabDark, ColorValue, FClDisabDark)
KX_BUTTON_SETTER(ClDisabLight, ColorValue, FClDisabLight)
KX_BUTTON_SETTER(ClHotDark, ColorValue, FClHotDark)
KX_BUTTON_SETTER(ClHotLight, ColorValue, FClHotLight)
KX_BUTTON_SETTER(ClSelDownDark, ColorValue, FClSelDownDark)
KX_BUTTON_SETTER(ClSelDownLight, ColorValue, FClSelDownLight)
KX_BUTTON_SETTER(FocusColor, ColorValue, FFocusColor)
KX_BUTTON_SETTER(FocusStyle, TKxFocusStyle, FFocusStyle)
KX_BUTTON_SETTER(FontClDisabled, ColorValue, FFontClDisabled)
KX_BUTTON_SETTER(FontClDown, ColorValue, FFontClDown)
KX_BUTTON_SETTER(FontClHot, ColorValue, FFontClHot)
KX_BUTTON_SETTER(FontClDimmed, ColorValue, FFontClDimmed)
KX_BUTTON_SETTER(MarkColor, ColorValue, FMarkColor)
KX_BUTTON_SETTER(MarkPos, TKxPosInRect, FMarkPos)
KX_BUTTON_SETTER(MarkShape, TKxShape, FMarkShape)
KX_BUTTON_SETTER(MarkShow, bool, FMarkShow)
KX_BUTTON_SETTER(MarkSize, TKxThreeSizes, FMarkSize)
KX_BUTTON_SETTER(PipeGradient, bool, FPipeGradient)
KX_BUTTON_SETTER(PipeShadow, int, FPipeShadow)

#undef KX_BUTTON_SETTER

void TKxButton::layoutChanged() {
    FLayoutDirty = true;
    update();
}

void TKxButton::setAlive(bool value) {
    TKxCustomControl::setAlive(value);
    if (!value) FButtonStyle = bstButton;
    update();
}

void TKxButton::setButtonStyle(TKxButtonStyle value) {
    if (FButtonStyle == value) return;
    FButtonStyle = value;
    if (value != bstButton) setAlive(true);
    update();
}

void TKxButton::setClAutoDark(ColorValue colour) {
    colour &= 0xFFFFFF;
    FClAutoDark = colour;
    FClHotDark = colour;
    FClDisabDark = greyOf(colour);
    TKxHsl hsl = hslOf(colour);
    hsl.saturation = static_cast<std::uint8_t>(hsl.saturation - hsl.saturation / 3);
    FClDimmedDark = KxHslToRgb(hsl) & 0xFFFFFF;
    update();
}

void TKxButton::setClAutoLight(ColorValue colour) {
    colour &= 0xFFFFFF;
    FClAutoLight = colour;
    FClHotLight = colour;
    FClDisabLight = greyOf(colour);
    TKxHsl hsl = hslOf(colour);
    hsl.saturation = static_cast<std::uint8_t>(hsl.saturation / 3);
    hsl.lightness = static_cast<std::uint8_t>(hsl.lightness - hsl.lightness / 15);
    FClDimmedLight = KxHslToRgb(hsl) & 0xFFFFFF;
    update();
}

void TKxButton::setDefault(bool value) {
    FDefault = value;
    FDefaultTarget = value;
    update();
}

void TKxButton::setDown(bool value) {
    if (value == FDown || (FDown && !value && !FAllowAllUp)) return;
    FDown = FGroupIndex != 0 ? value : false;
    update();
    if (FDown) updateExclusiveDown();
}

void TKxButton::setGroupIndex(int value) {
    FGroupIndex = value;
    updateExclusiveDown();
    update();
}

void TKxButton::setAllowAllUp(bool value) {
    FAllowAllUp = value;
    updateExclusiveDown();
    update();
}

void TKxButton::setImages(TKxImageList* images) {
    if (images == FImages) return;
    if (FImages) disconnect(FImages->notifier(), nullptr, this, nullptr);
    FImages = images;
    if (FImages) {
        connect(FImages->notifier(), &TKxImageListNotifier::changed, this,
                &TKxButton::ImagesChanged);
        // A list that goes away leaves the button without pictures, never with a dangling list.
        connect(FImages->notifier(), &QObject::destroyed, this, [this] {
            FImages = nullptr;
            layoutChanged();
        });
    }
    layoutChanged();
}

void TKxButton::ImagesChanged() {
    layoutChanged();
}

#define KX_BUTTON_INDEX_SETTER(Name, Field)                                                        \
    void TKxButton::set##Name(int value) {                                                         \
        if (Field == value) return;                                                                \
        if (Field == -1 || value == -1) FLayoutDirty = true;                                       \
        Field = value;                                                                             \
        update();                                                                                  \
    }

KX_BUTTON_INDEX_SETTER(ImageIndex, FImageIndex)
KX_BUTTON_INDEX_SETTER(ImageIndexDisabled, FImageIndexDisabled)
KX_BUTTON_INDEX_SETTER(ImageIndexHot, FImageIndexHot)
KX_BUTTON_INDEX_SETTER(ImageIndexPressed, FImageIndexPressed)

#undef KX_BUTTON_INDEX_SETTER

void TKxButton::setImageAlignment(TKxImageAlignment value) {
    if (FImageAlignment == value) return;
    FImageAlignment = value;
    layoutChanged();
}

void TKxButton::setLayoutStyle(TKxLayoutStyle value) {
    if (FLayoutStyle == value) return;
    FLayoutStyle = value;
    layoutChanged();
}

void TKxButton::setShowCaption(bool value) {
    if (FShowCaption == value) return;
    FShowCaption = value;
    layoutChanged();
}

void TKxButton::setImageMargins(QMargins value) {
    if (FImageMargins == value) return;
    FImageMargins = value;
    layoutChanged();
}

void TKxButton::setTabStop(bool value) {
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TKxButton::setAction(QAction* action) {
    if (FAction) disconnect(FAction, nullptr, this, nullptr);
    FAction = action;
    if (!action) return;
    auto mirror = [this] {
        if (!FAction) return;
        setCaption(FAction->text());
        setHint(FAction->toolTip());
        setEnabled(FAction->isEnabled());
    };
    connect(action, &QAction::changed, this, mirror);
    mirror();
}

// --- state -------------------------------------------------------------------

bool TKxButton::canTakeFocus() const {
    return isEnabled() && isVisibleTo(window());
}

TKxButtonState TKxButton::getButtonState() {
    if (!canTakeFocus()) return bsDisabled;
    if (FDown) return bsPressed;
    if (IsHot()) return FMousePressed && !FMouseOutside ? bsPressed : bsHot;
    if (FMousePressed) return FMouseOutside ? bsHot : bsPressed;
    if ((hasFocus() || FDefault) && FFocusStyle == tfsHalfHot) return bsHalfHot;
    return bsNormal;
}

int TKxButton::getAnImageIndex() const {
    for (int index : {FImageIndex, FImageIndexHot, FImageIndexPressed, FImageIndexDisabled})
        if (index >= 0) return index;
    return -1;
}

int TKxButton::getImageIndex(TKxButtonState state) const {
    int index = FImageIndex;
    switch (state) {
    case bsHot:
        index = FImageIndexHot;
        break;
    case bsPressed:
        index = FImageIndexPressed;
        break;
    case bsDisabled:
        index = FImageIndexDisabled;
        break;
    default:
        break;
    }
    return index >= 0 ? index : getAnImageIndex();
}

bool TKxButton::weHaveImageIndex() const {
    return getAnImageIndex() >= 0;
}

// --- layout ------------------------------------------------------------------

QString TKxButton::captionToDraw() const {
    if (FLineBreakPos == 0) return Text();
    return KxLineMarksToBreaks(Text(), FLineBreakPos - 1);
}

void TKxButton::calculateRects(TKxBmp& bitmap) {
    const QSize image = imageBox();
    const TKxButtonPlacement placed = PlaceButtonFace(
        size(), image, captionBox(bitmap, image.width()), FImageAlignment, FLayoutStyle);
    FCaptionRect = placed.caption;
    FImageRect = placed.image.marginsRemoved(FImageMargins);
    FLayoutDirty = false;
}

// The image with its margins; empty without an image.
QSize TKxButton::imageBox() const {
    if (!FImages || !weHaveImageIndex()) return QSize(0, 0);
    return QSize(FImages->width(), FImages->height()).grownBy(FImageMargins);
}

// The caption, measured in the room an image beside it leaves.
QSize TKxButton::captionBox(TKxBmp& bitmap, int imageWidth) const {
    if (!FShowCaption || Text().isEmpty()) return QSize(0, 0);
    const bool besideImage = FImageAlignment == tiaLeft || FImageAlignment == tiaRight;
    QRect measured(0, 0, besideImage ? width() - imageWidth : width(), 0);
    if (bitmap.dc())
        bitmap.calcTextRect(measured, withoutMnemonics(captionToDraw()), FLineBreakPos == 0);
    return measured.size();
}

// --- painting ----------------------------------------------------------------

void TKxButton::PrepareBitmaps(int, int) {
    UpdateBmpFont();
    FLayoutDirty = true;
}

void TKxButton::KxPaint(TKxBmp& bitmap, const QRect& rect) {
    TKxCustomControl::KxPaint(bitmap, rect);
    if (FLayoutDirty) calculateRects(bitmap);
    FPaintState = getButtonState();
    switch (FButtonStyle) {
    case bstButton:
        paintButton(bitmap, rect);
        break;
    case bstFlat:
        paintButtonFlat(bitmap, rect);
        break;
    case bstFlatAndButton:
        if (FPaintState == bsNormal)
            paintButtonFlat(bitmap, rect);
        else
            paintButton(bitmap, rect);
        break;
    case bstNone:
        paintButtonNone(bitmap);
        break;
    }
    if (FShowCaption && !Text().isEmpty()) paintCaption(bitmap);
    paintFocusIndicator(bitmap, rect);
    paintMarker(bitmap, rect);
}

void TKxButton::paintButton(TKxBmp& bitmap, const QRect& rect) {
    std::uint32_t dark = FClDimmedDark;
    std::uint32_t light = FClDimmedLight;
    bool pressedFace = false;
    switch (FPaintState) {
    case bsNormal:
        if (!Alive()) {
            dark = FClHotDark;
            light = FClHotLight;
        }
        break;
    case bsHot:
        dark = FClHotDark;
        light = FClHotLight;
        break;
    case bsHalfHot:
        paintHalfHot(bitmap, rect);
        return;
    case bsPressed:
        dark = FDown ? FClSelDownDark : FClHotDark;
        light = FDown ? FClSelDownLight : FClHotLight;
        pressedFace = true;
        break;
    case bsDisabled:
        dark = FClDisabDark;
        light = FClDisabLight;
        break;
    }
    if (pressedFace)
        bitmap.buttonFacePressed(FPipeShadow, FPipeGradient, opaque(dark), opaque(light), rect);
    else
        bitmap.buttonFace(FPipeShadow, FPipeGradient, opaque(dark), opaque(light), rect);
    paintImage(bitmap);
}

void TKxButton::paintHalfHot(TKxBmp& bitmap, const QRect& rect) {
    bitmap.buttonFace(FPipeShadow, FPipeGradient, opaque(halfMix(FClHotDark, FClDimmedDark)),
                      opaque(halfMix(FClHotLight, FClDimmedLight)), rect);
    paintImage(bitmap);
}

void TKxButton::paintButtonFlat(TKxBmp& bitmap, const QRect& rect) {
    paintImage(bitmap);
    if (FPaintState == bsHot)
        bitmap.flatHot(rect);
    else if (FPaintState == bsPressed)
        bitmap.flatPressed(rect);
}

void TKxButton::paintButtonNone(TKxBmp& bitmap) {
    paintImage(bitmap);
}

void TKxButton::paintImage(TKxBmp& bitmap) {
    if (!FImages || !weHaveImageIndex()) return;
    const int index = getImageIndex(FPaintState);
    TKxBmp picture(FImages->width(), FImages->height());
    if (!picture.copyFromImageList(*FImages, index)) return;
    int y = FImageRect.top();
    if (FAutoGrayDisabled || FPaintState == bsDisabled)
        picture.greyScale();
    else if (FPaintState == bsPressed && !FDown)
        ++y;
    picture.drawToBmp(&bitmap, FImageRect.left(), y, 0);
}

void TKxButton::paintCaption(TKxBmp& bitmap) {
    QRect box = FCaptionRect;
    std::uint32_t colour = FFontClDimmed;
    switch (FPaintState) {
    case bsHot:
        colour = FFontClHot;
        break;
    case bsHalfHot:
        colour = FFontClDimmed;
        break;
    case bsPressed:
        colour = FFontClDown;
        box.setTop(box.top() + 1);
        break;
    case bsDisabled:
        colour = FFontClDisabled;
        break;
    case bsNormal:
        colour = Alive() ? FFontClDimmed : FFontClHot;
        break;
    }
    int format = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (FLineBreakPos == 0) format |= Qt::TextSingleLine;
    bitmap.drawTextColoured(captionToDraw(), format, colour & 0xFFFFFF, box);
}

void TKxButton::paintFocusIndicator(TKxBmp& bitmap, const QRect& rect) {
    if (!hasFocus() && !FDefault) return;
    const int o = FPaintState == bsPressed ? 6 : 5;
    const int right = rect.x() + rect.width();
    switch (FFocusStyle) {
    case tfsDottetRect:
        bitmap.drawFocusRect(rect.adjusted(2, 2, -2, -2));
        break;
    case tfsColorRect:
        bitmap.focusFrame(opaque(FFocusColor), rect.adjusted(2, 2, -2, -2));
        break;
    case tfsColorMark:
        bitmap.drawMark(TKxMarkShape::Circle, TKxMarkSize::Medium, right - 14, rect.y() + o,
                        opaque(FFocusColor));
        break;
    case tfsStar:
        bitmap.drawMark(TKxMarkShape::Star, TKxMarkSize::Large, right - 17, rect.y() + o - 1,
                        opaque(FFocusColor));
        break;
    case tfsNone:
    case tfsHalfHot:
        break;
    }
}

QPoint TKxButton::findMarkerPos(const QRect& rect) const {
    const int s = FMarkSize == ttsSmall ? 7 : FMarkSize == ttsMedium ? 9 : 11;
    const bool round = FMarkShape == tasCircle || FMarkShape == tasSquare;
    const int m = round ? 6 : 5;
    const int e = round ? s : s + 2;
    const int left = rect.x();
    const int top = rect.y();
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    QPoint at;
    switch (FMarkPos) {
    case pirUpLeft:
        at = QPoint(left + m, top + m);
        break;
    case pirUpRight:
        at = QPoint(right - e - m, top + m);
        break;
    case pirDownRight:
        at = QPoint(right - e - m, bottom - e - m);
        break;
    case pirDownLeft:
        at = QPoint(left + m, bottom - e - m);
        break;
    }
    if (FPaintState == bsPressed) at.ry() += 1;
    return at;
}

void TKxButton::paintMarker(TKxBmp& bitmap, const QRect& rect) {
    if (!FMarkShow) return;
    const QPoint at = findMarkerPos(rect);
    const auto size = static_cast<TKxMarkSize>(FMarkSize);
    const TKxColor colour = opaque(FMarkColor);
    switch (FMarkShape) {
    case tasCircle:
        bitmap.drawMark(TKxMarkShape::Circle, size, at.x(), at.y(), colour);
        break;
    case tasSquare: {
        const int s = FMarkSize == ttsSmall ? 7 : FMarkSize == ttsMedium ? 9 : 11;
        bitmap.squareMark(colour, QRect(at.x(), at.y(), s, s));
        break;
    }
    case tasDiamond:
        bitmap.drawMark(TKxMarkShape::Diamond, size, at.x(), at.y(), colour);
        break;
    case tasStar:
        bitmap.drawMark(TKxMarkShape::Star, size, at.x(), at.y(), colour);
        break;
    }
}

// --- groups and clicks -------------------------------------------------------

void TKxButton::updateExclusiveDown() {
    if (FGroupIndex == 0 || !parentWidget()) return;
    const auto siblings = parentWidget()->findChildren<TKxButton*>(Qt::FindDirectChildrenOnly);
    for (TKxButton* button : siblings)
        button->ExternButtenIsDown(this, FGroupIndex);
}

void TKxButton::ExternButtenIsDown(TKxButton* sender, int group) {
    if (sender == this || group != FGroupIndex) return;
    if (sender->FDown && FDown) {
        FDown = false;
        if (FAction && FAction->isCheckable()) FAction->setChecked(false);
        update();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

static_assert(int(tmrOK) == int(QDialog::Accepted));

void TKxButton::Click() {
    if (FGroupIndex != 0) setDown(!FDown);
    // Taken before the handlers run: one of them may delete this button.
    const TKxModalResult result = FModalResult;
    QPointer<QDialog> dialog;
    if (result != tmrNone) dialog = qobject_cast<QDialog*>(window());
    QPointer<TKxButton> self(this);
    emit clicked();
    if (self && FAction) FAction->trigger();
    // The dialog closes after the click has been handled, as a modal result
    // set during a click takes effect once the click returns.
    // Every result keeps its number: OK is the dialog's Accepted (both 1), Cancel is 2, never
    // QDialog's Rejected (0), so a caller can tell a cancelled answer from none.
    if (dialog) dialog->done(static_cast<int>(result));
}

// --- keys, focus, mouse ------------------------------------------------------

void TKxButton::focusChangedIn(QWidget* now) {
    if (!now || now->window() != window()) return;
    if (auto* button = qobject_cast<TKxButton*>(now))
        FDefaultTarget = button == this;
    else
        FDefaultTarget = FDefault;
    update();
}

bool TKxButton::CMDialogKey(QKeyEvent* key) {
    const auto modifiers =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (modifiers != Qt::NoModifier || !canTakeFocus()) return false;
    const bool escape = key->key() == Qt::Key_Escape && FCancel;
    const bool enter =
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && FDefaultTarget;
    if (!escape && !enter) return false;
    Click();
    return true;
}

bool TKxButton::CMDialogChar(QKeyEvent* key) {
    const auto modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if ((modifiers & Qt::ControlModifier) || key->text().size() != 1 || !canTakeFocus())
        return false;
    const QChar accel = accelerator(Text());
    if (accel.isNull() || accel.toUpper() != key->text().at(0).toUpper()) return false;
    Click();
    return true;
}

void TKxButton::watchWindow() {
    QWidget* form = window();
    if (form == FWatchedWindow || form == this) return;
    if (FWatchedWindow) FWatchedWindow->removeEventFilter(this);
    FWatchedWindow = form;
    form->installEventFilter(this);
}

bool TKxButton::eventFilter(QObject* watched, QEvent* event) {
    // Keys nobody on the window took reach the window last; the default and
    // cancel buttons answer them before the window itself does.
    if (watched == FWatchedWindow && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (CMDialogKey(key) || CMDialogChar(key)) return true;
    }
    return TKxCustomControl::eventFilter(watched, event);
}

void TKxButton::showEvent(QShowEvent* event) {
    TKxCustomControl::showEvent(event);
    watchWindow();
}

bool TKxButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !FHint.isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), KxLineMarksToBreaks(FHint, 0), this);
        // Qt's program-wide tip palette also repaints a tip on show, so setting and restoring
        // it around the show leaves no green; the one tip label is coloured instead.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("qtooltip_label")) continue;
            QPalette green = w->palette();
            green.setColor(QPalette::ToolTipBase, QColor(0x00, 0xFF, 0x00));
            w->setPalette(green);
        }
        return true;
    }
    if (event->type() == QEvent::ParentChange && isVisible()) watchWindow();
    return TKxCustomControl::event(event);
}

void TKxButton::changeEvent(QEvent* event) {
    TKxCustomControl::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        // A disabled button never sees the release, so a press it was in must not outlive it.
        if (!isEnabled()) FMousePressed = FMouseOutside = false;
        FPaintState = bsDisabled;
        update();
        break;
    case QEvent::FontChange:
        UpdateBmpFont();
        layoutChanged();
        break;
    default:
        break;
    }
}

void TKxButton::CMTextChanged() {
    TKxCustomControl::CMTextChanged();
    const QString& text = Text();
    qsizetype at = text.indexOf(QStringLiteral("\u00A4\u00A4"));
    if (at < 0) at = text.indexOf(QStringLiteral("||"));
    if (at < 0) at = text.indexOf(QStringLiteral("**"));
    FLineBreakPos = static_cast<int>(at + 1);
    layoutChanged();
}

void TKxButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FMousePressed = true;
        FMouseOutside = false;
        if (TabStop()) setFocus(Qt::MouseFocusReason);
        update();
    }
    TKxCustomControl::mousePressEvent(event);
    event->accept();
}

void TKxButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (Alive()) setIsHot(MouseIsIn(at.x(), at.y()));
    if (FMousePressed) {
        const bool outside = !MouseIsIn(at.x(), at.y());
        if (outside != FMouseOutside) {
            FMouseOutside = outside;
            update();
        }
    }
    TKxCustomControl::mouseMoveEvent(event);
}

void TKxButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool click =
        event->button() == Qt::LeftButton && FMousePressed && MouseIsIn(at.x(), at.y());
    if (event->button() == Qt::LeftButton) {
        FMousePressed = false;
        FMouseOutside = false;
        update();
    }
    TKxCustomControl::mouseReleaseEvent(event);
    event->accept();
    if (click) Click();
}
