#include "picker/Pickfrm.h"

#include "dialogs/Kxmsgbx.h"
#include "platform/Platform.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kTickMs = 20;
// How long the application may be without a focused window before the pick counts as left.
constexpr int kLeaveSettleMs = 250;
// After this many ticks without a move the picker rests, looking at the pointer only every
// kRestingTickMs. A move over the window, which lies under the pointer, or a key wakes it at once,
// so the rest never delays a move that starts there.
constexpr int kTicksBeforeRest = 10;
constexpr int kRestingTickMs = 100;
constexpr int kWheelNotch = 120;
constexpr QPoint kNoCross{-1000, -1000};
// The free cross: four arms of 13 pixels, leaving the pixel and its neighbours free; the square
// around it is what a move repaints.
constexpr int kArmFrom = 2;
constexpr int kArmTo = 15;
constexpr int kCrossReach = 17;
constexpr int kCrossSquare = 38;
// At 96 pixels per inch.
constexpr int kDefaultSide = 153;

int largestOddAtMost(int n) {
    return n % 2 == 0 ? n - 1 : n;
}

QScreen* screenUnder(QPoint global) {
    QScreen* screen = QGuiApplication::screenAt(global);
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

TFrmPick::TFrmPick(const TPickerValues& values, THslMaxima maxima, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FValues(values), FMaxima(maxima) {
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
    setFont(QFont(QStringLiteral("Tahoma")));

    FView.setGridLines(FValues.gridLines);
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    const int side = SideFor(FValues.windowSize, dpi, fitSide());
    FView.setSide(side);
    setFixedSize(side, side);

    buildMenu();

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &TFrmPick::Timer1Timer);

    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this,
                &TFrmPick::applicationStateChanged);
}

TFrmPick::~TFrmPick() = default;

void TFrmPick::buildMenu() {
    PopupMenu = new QMenu(this);
    auto item = [this](const QString& caption, const QKeySequence& keys, auto handler) {
        QAction* action = PopupMenu->addAction(caption);
        action->setShortcut(keys);
        // The window handles its keys itself; the menu only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto toggle = [](QAction* action, bool checked) {
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    MnuShowPicklines = toggle(item(QStringLiteral("Show Pick Lines"), QKeySequence(Qt::Key_P),
                                   [this] {
                                       FValues.pickLines = !FValues.pickLines;
                                       MnuShowPicklines->setChecked(FValues.pickLines);
                                       update();
                                   }),
                              FValues.pickLines);
    MnuShowGridLines = toggle(item(QStringLiteral("Show Grid Lines"), QKeySequence(Qt::Key_G),
                                   [this] {
                                       FValues.gridLines = !FValues.gridLines;
                                       FView.setGridLines(FValues.gridLines);
                                       MnuShowGridLines->setChecked(FValues.gridLines);
                                       update();
                                   }),
                              FValues.gridLines);
    MnuShowColorHint = toggle(
        item(QStringLiteral("Show Color Hint"), QKeySequence(Qt::Key_C), [this] { toggleHint(); }),
        !FValues.hintHidden);
    MnuUseHSLinsteadofRGB = toggle(item(QStringLiteral("Use HSL instead of RGB"),
                                        QKeySequence(Qt::Key_H), [this] { toggleNotation(); }),
                                   FValues.hintHsl);
    MnuShowContrast =
        toggle(item(QStringLiteral("Show Contrast Ratio in the Hint"), QKeySequence(Qt::Key_R),
                    [this] {
                        FShowContrast = !FShowContrast;
                        MnuShowContrast->setChecked(FShowContrast);
                        if (FHint)
                            FHint->setContrastReference(FShowContrast ? FReference : std::nullopt);
                    }),
               false);
    PopupMenu->addSeparator();
    ZoomIn1 = item(QStringLiteral("Zoom In (Scroll up)"), QKeySequence(Qt::Key_Plus),
                   [this] { zoomIn(); });
    ZoomInScrolldown1 =
        item(QStringLiteral("Zoom Out (Scroll down)"),
             QKeySequence(Qt::KeypadModifier | Qt::Key_Slash), [this] { zoomOut(); });
    Incresesize1 =
        item(QStringLiteral("Increse Size (Ctrl + Scroll up)"),
             QKeySequence(Qt::ControlModifier | Qt::Key_Plus), [this] { resizeStep(true); });
    DecreseSizeCtrlScrolldown1 =
        item(QStringLiteral("Decrese Size (Ctrl + Scroll down)"),
             QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Slash),
             [this] { resizeStep(false); });
    SelectColor1 = item(QStringLiteral("Select Color (Click)"), QKeySequence(Qt::Key_Return),
                        [this] { pick(Platform::ctrlDown()); });
    SelectAverageColor1 =
        item(QStringLiteral("Select Average Color (Ctrl + Click)"),
             QKeySequence(Qt::ControlModifier | Qt::Key_Return), [this] { pick(true); });
    FreetheCursor1 = item(QStringLiteral("Release the Cursor (Shift)"), QKeySequence(), [] {});
    FreetheCursor1->setEnabled(false);
    PopupMenu->addSeparator();
    MnuClose = item(QStringLiteral("Close"), QKeySequence(Qt::Key_Escape),
                    [this] { done(kResultCancel); });
    connect(PopupMenu, &QMenu::aboutToShow, this, [this] { FMenuOpen = true; });
    connect(PopupMenu, &QMenu::aboutToHide, this, [this] { FMenuOpen = false; });
}

int TFrmPick::SideFor(int stored, int ppi, int fitSide) {
    qint64 side = stored > 30 ? stored : qint64(std::max(ppi, 1)) * kDefaultSide / 96;
    if (side % 2 == 0) ++side;
    const int largest = std::max(kMinSide, largestOddAtMost(fitSide));
    return int(std::clamp<qint64>(side, kMinSide, largest));
}

int TFrmPick::GrownSide(int side, int fitSide) {
    int grown = side + side / 10;
    if (grown % 2 == 0) ++grown;
    return grown > largestOddAtMost(fitSide) ? side : grown;
}

int TFrmPick::ShrunkSide(int side) {
    if (side < kShrinkLimit) return side;
    int shrunk = side - side / 10;
    if (shrunk % 2 == 0) ++shrunk;
    return shrunk;
}

int TFrmPick::fitSide() const {
    if (FEmbedded && parentWidget()) {
        const QSize area = parentWidget()->size();
        return std::min(area.width(), area.height());
    }
    const QScreen* screen = screenUnder(PointerPos());
    if (!screen) return kMinSide;
    const QRect area = screen->availableGeometry();
    return std::min(area.width(), area.height());
}

bool TFrmPick::TakeSnapshot() {
    Platform::TDesktopPicture picture = Platform::grabDesktop();
    if (!picture.ok()) {
        QString text = QStringLiteral("The desktop cannot be read on this display system, so "
                                      "no colour can be picked from the screen.");
        if (!picture.failure.isEmpty()) text += QStringLiteral("\r\n\r\n") + picture.failure;
        ShowErrorBox(QStringLiteral("Pick on Screen"), text, parentWidget());
        return false;
    }
    SetPicture(picture);
    return true;
}

void TFrmPick::SetPicture(const Platform::TDesktopPicture& picture) {
    FView.setPicture(picture.image, picture.origin);
    FHasPicture = !picture.image.isNull();
}

void TFrmPick::EmbedIn(QWidget* overlay, QPoint screenOrigin) {
    const bool wasVisible = isVisible();
    const bool moved = parentWidget() != overlay;
    FScreenOrigin = screenOrigin;
    if (!FEmbedded || moved) {
        FEmbedded = true;
        setParent(overlay, Qt::Widget);
        if (FHint) FHint->setParent(overlay, Qt::Widget);
    }
    // A side that fitted the last screen may not fit this one.
    const int fit = fitSide();
    if (FView.side() > fit) applySide(largestOddAtMost(std::max(fit, kMinSide)));
    if (wasVisible && moved) {
        show();
        if (FHint && !FValues.hintHidden) FHint->show();
        setFocus(Qt::OtherFocusReason);
    }
    if (FPlaced) {
        placeAtPointer();
        placeHint();
    }
}

void TFrmPick::SetFramePointer(QPoint global) {
    if (FFramePointer == global) return;
    FFramePointer = global;
    wake();
    if (isVisible() && !FFree) followPointer(false);
}

QPoint TFrmPick::PointerPos() const {
    return FEmbedded ? FFramePointer : Platform::cursorPos();
}

void TFrmPick::placeAtPointer() {
    const QPoint pointer = FView.pointer() - (FEmbedded ? FScreenOrigin : QPoint());
    move(pointer.x() - width() / 2, pointer.y() - height() / 2);
}

void TFrmPick::stepPointer(QPoint step) {
    if (FEmbedded) {
        FFramePointer += step;
        // Where the system lets programs move the pointer, the real one follows, so the next
        // mouse event agrees; elsewhere this does nothing.
        Platform::setCursorPos(Platform::cursorPos() + step);
        return;
    }
    Platform::setCursorPos(Platform::cursorPos() + step);
}

QRect TFrmPick::hintArea() const {
    if (FEmbedded && parentWidget()) return parentWidget()->rect();
    const QScreen* screen = screenUnder(FView.pointer());
    return screen ? screen->availableGeometry() : QRect();
}

int TFrmPick::exec() {
    if (!FHasPicture && !TakeSnapshot()) {
        setResult(kResultCancel);
        return kResultCancel;
    }
    return QDialog::exec();
}

TPickerValues TFrmPick::Values() const {
    TPickerValues values = FValues;
    values.windowSize = FView.side();
    values.gridLines = FView.gridLines();
    return values;
}

void TFrmPick::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (FShownOnce) return;
    FShownOnce = true;
    if (!FHasPicture && !TakeSnapshot()) {
        QTimer::singleShot(0, this, [this] { done(kResultCancel); });
        return;
    }
    // The first placement must happen even when the pointer rests where the last position
    // starts out.
    followPointer(true);
    Timer1->start();
    showOrHideHint();
    raise();
    activateWindow();
}

void TFrmPick::paintEvent(QPaintEvent*) {
    FView.render(FValues.pickLines && !FFree);
    QPainter painter(this);
    painter.drawImage(0, 0, FView.buffer());
    if (FFree && FCross != kNoCross) {
        const int x = FCross.x();
        const int y = FCross.y();
        const int arm = kArmTo - kArmFrom;
        painter.fillRect(x - kArmTo + 1, y, arm, 1, Qt::black);
        painter.fillRect(x + kArmFrom, y, arm, 1, Qt::black);
        painter.fillRect(x, y - kArmTo + 1, 1, arm, Qt::black);
        painter.fillRect(x, y + kArmFrom, 1, arm, Qt::black);
    }
}

void TFrmPick::followPointer(bool force) {
    const QPoint pointer = PointerPos();
    if (!force && FPlaced && pointer == FView.pointer()) return;
    FView.setPointer(pointer);
    FPlaced = true;
    placeAtPointer();
    update();
    placeHint();
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::Timer1Timer() {
    if (FMenuOpen) return;
    const QPoint shown = FView.pointer();
    const bool wasFree = FFree;
    if (Platform::shiftDown()) {
        if (!FFree) enterFree();
    } else {
        if (FFree) leaveFree();
        followPointer(false);
    }
    if (FView.pointer() != shown || FFree != wasFree) {
        wake();
    } else if (++FStillTicks == kTicksBeforeRest) {
        Timer1->setInterval(kRestingTickMs);
    }
}

void TFrmPick::wake() {
    FStillTicks = 0;
    if (Timer1->interval() != kTickMs) Timer1->setInterval(kTickMs);
}

void TFrmPick::applicationStateChanged(Qt::ApplicationState state) {
    FAppState = state;
    // Minimising the main window for the pick deactivates the application before the picker is
    // even shown; only leaving the application after the picker was in front cancels.
    if (!isVisible()) return;
    if (state == Qt::ApplicationActive) {
        FBeenActive = true;
    } else if (FBeenActive) {
        // A Wayland compositor hands the keyboard from the main window to the full-screen
        // overlay in two steps, with no window of ours focused in between: only an application
        // that stays inactive has been left.
        QTimer::singleShot(kLeaveSettleMs, this, [this] {
            if (isVisible() && FAppState != Qt::ApplicationActive) done(kResultCancel);
        });
    }
}

void TFrmPick::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FBeenActive = true;
    QDialog::changeEvent(event);
}

void TFrmPick::zoomIn() {
    if (FView.zoomIn()) update();
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::zoomOut() {
    if (FView.zoomOut()) update();
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::resizeStep(bool grow) {
    const int side = FView.side();
    const int next = grow ? GrownSide(side, fitSide()) : ShrunkSide(side);
    if (next == side) return;
    FView.setPointer(PointerPos());
    applySide(next);
}

void TFrmPick::applySide(int side) {
    FView.setSide(side);
    setFixedSize(FView.side(), FView.side());
    placeAtPointer();
    update();
    placeHint();
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::toggleHint() {
    FValues.hintHidden = !FValues.hintHidden;
    MnuShowColorHint->setChecked(!FValues.hintHidden);
    showOrHideHint();
    activateWindow();
}

void TFrmPick::toggleNotation() {
    FValues.hintHsl = !FValues.hintHsl;
    MnuUseHSLinsteadofRGB->setChecked(FValues.hintHsl);
    if (FHint) FHint->setNotation(FValues.hintHsl);
    activateWindow();
}

void TFrmPick::showOrHideHint() {
    if (FValues.hintHidden) {
        if (FHint) {
            FHint->hide();
            FHint->deleteLater();
            FHint = nullptr;
        }
        return;
    }
    if (!FHint) {
        FHint = new TFrmColorHint(this, FValues.hintHsl, FMaxima);
        if (FEmbedded) FHint->setParent(parentWidget(), Qt::Widget);
        connect(FHint, &TFrmColorHint::resized, this, &TFrmPick::placeHint);
    }
    FHint->setNotation(FValues.hintHsl);
    FHint->setContrastReference(FShowContrast ? FReference : std::nullopt);
    FHint->show();
    placeHint();
    FHint->setColor(hintColor());
}

void TFrmPick::placeHint() {
    if (!FHint) return;
    FHint->move(TFrmColorHint::placement(geometry(), FHint->size(), hintArea()));
    if (FEmbedded) FHint->raise();
}

ColorValue TFrmPick::hintColor() const {
    return FFree && FCross != kNoCross ? FView.colorAt(FCross) : FView.centerColor();
}

void TFrmPick::enterFree() {
    FCross = kNoCross;
    FFree = true;
    update();
}

void TFrmPick::leaveFree() {
    FCross = kNoCross;
    FFree = false;
    update();
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::moveCross(QPoint client) {
    if (FCross != kNoCross)
        update(FCross.x() - kCrossReach, FCross.y() - kCrossReach, kCrossSquare, kCrossSquare);
    FCross = client;
    update(client.x() - kCrossReach, client.y() - kCrossReach, kCrossSquare, kCrossSquare);
    if (FHint) FHint->setColor(hintColor());
}

void TFrmPick::pick(bool average) {
    FPicked = average || FAveragePick ? FView.averageColor() : hintColor();
    done(kResultOk);
}

void TFrmPick::done(int result) {
    // Esc, the window's close and reject() all mean Cancel.
    if (result != kResultOk) {
        result = kResultCancel;
        FPicked.reset();
    }
    Timer1->stop();
    if (FHint) {
        FHint->hide();
        FHint->deleteLater();
        FHint = nullptr;
    }
    FValues = Values();
    QDialog::done(result);
}

void TFrmPick::keyPressEvent(QKeyEvent* event) {
    const bool ticking = Timer1->isActive();
    Timer1->stop();
    wake();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool keypad = mods.testFlag(Qt::KeypadModifier);
    const int key = event->key();
    if ((key == Qt::Key_Shift || mods.testFlag(Qt::ShiftModifier)) && !FFree) enterFree();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pick(ctrl || Platform::ctrlDown());
        return;
    case Qt::Key_Escape:
        done(kResultCancel);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const QPoint step(key == Qt::Key_Left    ? -1
                          : key == Qt::Key_Right ? 1
                                                 : 0,
                          key == Qt::Key_Up     ? -1
                          : key == Qt::Key_Down ? 1
                                                : 0);
        stepPointer(step);
        break;
    }
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ctrl ? resizeStep(true) : zoomIn();
        break;
    case Qt::Key_Minus:
        if (keypad) ctrl ? resizeStep(false) : zoomOut();
        break;
    case Qt::Key_Slash:
        if (keypad) ctrl ? resizeStep(false) : zoomOut();
        break;
    case Qt::Key_P:
        if (!ctrl) MnuShowPicklines->trigger();
        break;
    case Qt::Key_G:
        if (!ctrl) MnuShowGridLines->trigger();
        break;
    case Qt::Key_C:
        if (!ctrl) MnuShowColorHint->trigger();
        break;
    case Qt::Key_H:
        if (!ctrl) MnuUseHSLinsteadofRGB->trigger();
        break;
    case Qt::Key_R:
        if (!ctrl && FReference) MnuShowContrast->trigger();
        break;
    default:
        break;
    }
    if (ticking && isVisible()) Timer1->start();
}

void TFrmPick::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift && FFree && !event->isAutoRepeat()) leaveFree();
}

void TFrmPick::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FPressed = true;
}

void TFrmPick::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FPressed) return;
    FPressed = false;
    if (rect().contains(event->position().toPoint()))
        pick(event->modifiers().testFlag(Qt::ControlModifier) || Platform::ctrlDown());
}

void TFrmPick::mouseMoveEvent(QMouseEvent* event) {
    wake();
    if (FEmbedded) FFramePointer = FScreenOrigin + mapToParent(event->position().toPoint());
    if (event->modifiers().testFlag(Qt::ShiftModifier) || Platform::shiftDown()) {
        if (!FFree) enterFree();
        moveCross(event->position().toPoint());
    } else {
        followPointer(false);
    }
}

void TFrmPick::wheelEvent(QWheelEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    FWheelRest += event->angleDelta().y();
    while (FWheelRest >= kWheelNotch) {
        FWheelRest -= kWheelNotch;
        ctrl ? resizeStep(true) : zoomIn();
    }
    while (FWheelRest <= -kWheelNotch) {
        FWheelRest += kWheelNotch;
        ctrl ? resizeStep(false) : zoomOut();
    }
    event->accept();
}

void TFrmPick::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu->popup(event->globalPos());
}
