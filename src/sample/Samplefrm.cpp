#include "sample/Samplefrm.h"

#include "controls/KxStringRC.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/Platform.h"
#include "sample/SampleExport.h"
#include "sample/SampleOwner.h"
#include "support/Kxglobals.h"
#include "support/TextFile.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace {

// Design values at 144 pixels per inch.
constexpr int kDesignWidth = 254;
constexpr int kDesignHeight = 239;
constexpr int kDesignFontHeight = 18;
// The least of a window that must lie on some screen for the user to find it again.
constexpr int kFindableSide = 32;
constexpr int kSmallestSide = 40;
// The status strip: neutral colours of its own, so it reads the same on any sample.
constexpr QRgb kStatusBackground = 0xFF262626u;
constexpr QRgb kStatusText = 0xFFF2F2F2u;
constexpr int kStatusPadding = 2;

const QString kCaption{Kxglobals::ProgramName};

const QString kDefaultText = QStringLiteral(
    "Lorem ipsum dolor sit amet, consectetur adipiscing elit. Nulla facilisi. Mauris "
    "vehicula, magna quis tincidunt dictum, lorem arcu finibus est, a porta lectus ante sit "
    "amet mi.\r\n"
    "\r\n"
    "Sed eget urna neque, in ultrices risus. Donec vel sapien sed nibh aliquet volutpat. "
    "Integer cursus felis vitae ante pellentesque, ac iaculis augue varius.\r\n"
    "\r\n"
    "Porta pharetra, leo purus porta nulla, at consequat neque magna et massa. Curabitur "
    "sodales, est nec facilisis rutrum, nisi lorem feugiat mi, non tempor orci lectus a "
    "odio.");

int screenDpi(const QWidget* widget) {
    const int dpi = widget->logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

int scaled(const QWidget* widget, int designPixels) {
    return (designPixels * screenDpi(widget) + 72) / 144;
}

bool findableOnSomeScreen(const QRect& r) {
    const int needW = std::min(kFindableSide, r.width());
    const int needH = std::min(kFindableSide, r.height());
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(r);
        if (seen.width() >= needW && seen.height() >= needH) return true;
    }
    return false;
}

// Raises the window and gives it the keyboard: a frameless tool window gets no focus from the
// window manager on a click, so the keys the user presses next would still go to the main window.
void takeKeyboard(QWidget* window) {
    window->raise();
    window->activateWindow();
    window->setFocus(Qt::MouseFocusReason);
}

} // namespace

TSampleForm::TSampleForm(TSampleOwner* owner, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), FOwner(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button must arrive too: they end a drag whose release went elsewhere.
    setMouseTracking(true);

    FFont = QFont(QStringLiteral("Arial"));
    // A chosen face the system lacks is drawn in its sans-serif face, never a serif one.
    FFont.setStyleHint(QFont::SansSerif);
    FFont.setPixelSize(std::max(1, scaled(this, kDesignFontHeight)));
    setFont(FFont);
    FStatusFont = QGuiApplication::font();

    StringRC = new TKxStringRC(this);
    StringRC->setText(kDefaultText);

    FSettleTimer = new QTimer(this);
    FSettleTimer->setSingleShot(true);
    connect(FSettleTimer, &QTimer::timeout, this, &TSampleForm::finishCapture);

    createMenu();
    resize(scaled(this, kDesignWidth), scaled(this, kDesignHeight));

    chooseSaveFile = [this](const QString& folder) {
        QFileDialog dialog(this, QString(), folder,
                           QStringLiteral("png, portable network graphics (*.png)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("png"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
    };
    chooseOpenFile = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(this, QString(), folder);
    };
}

TSampleForm::~TSampleForm() {
    // Destruction hides a shown window; that is no placement for the owner to keep.
    FOwner = nullptr;
}

void TSampleForm::createMenu() {
    PopupMenu = new QMenu(this);
    auto add = [this](const QString& caption, QKeySequence shortcut, auto handler) {
        QAction* action = PopupMenu->addAction(caption);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            // Keys reach the window's own key handler; the shortcut is shown in the menu and
            // works while the menu is open.
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto saveAs = [this] { MnuSavePngImageAsClick(sender()); };
    auto step = [this](bool grow, Qt::KeyboardModifiers modifiers) {
        return [this, grow, modifiers] { stepSize(grow, modifiers); };
    };

    MnuSaveImage = add(QStringLiteral("Save Png Image (auto name)"),
                       QKeySequence(Qt::CTRL | Qt::Key_S), &TSampleForm::MnuSaveImageClick);
    MnuSavePngImageAs = add(QStringLiteral("Save Png Image As"), {}, saveAs);
    MnuSavePngImageAs->setProperty("Tag", 0);
    SavePngImageAswithBackground1 =
        add(QStringLiteral("Save Png Image As (with background)"), {}, saveAs);
    SavePngImageAswithBackground1->setProperty("Tag", 10);
    MnuSavePngImageAswithAutoCrop =
        add(QStringLiteral("Save Png Image As (with background and Auto Crop)"), {}, saveAs);
    MnuSavePngImageAswithAutoCrop->setProperty("Tag", 11);
    MnuPasteTextFromClipboard =
        add(QStringLiteral("Paste Text From Clipboard"), QKeySequence(Qt::CTRL | Qt::Key_V),
            &TSampleForm::MnuPasteTextFromClipboardClick);
    MnuLoadFromTextFile =
        add(QStringLiteral("Load From Text File"), QKeySequence(Qt::CTRL | Qt::Key_O),
            &TSampleForm::MnuLoadFromTextFileClick);
    PopupMenu->addSeparator();
    Window10bigger1 = add(QStringLiteral("Window 10% bigger (Scroll up)"),
                          QKeySequence(Qt::Key_Equal), step(true, Qt::NoModifier));
    Window10smaller1 =
        add(QStringLiteral("Window 10% smaller (Scroll down)"),
            QKeySequence(Qt::KeypadModifier | Qt::Key_Slash), step(false, Qt::NoModifier));
    Windowhorizontal10bigger1 =
        add(QStringLiteral("Window horizontal 10% bigger (Ctrl + Scroll up)"),
            QKeySequence(Qt::CTRL | Qt::Key_Equal), step(true, Qt::ControlModifier));
    Windowhorizontal10smaller1 =
        add(QStringLiteral("Window horizontal 10% smaller (Ctrl + Scroll down)"),
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Slash)),
            step(false, Qt::ControlModifier));
    Windowvertical10bigger1 =
        add(QStringLiteral("Window vertical 10% bigger (Shift + Scroll up)"),
            QKeySequence(Qt::SHIFT | Qt::Key_Equal), step(true, Qt::ShiftModifier));
    Windowvertical10smaller1 =
        add(QStringLiteral("Window vertical 10% smaller (Shift + Scroll down)"),
            QKeySequence(QKeyCombination(Qt::ShiftModifier | Qt::KeypadModifier, Qt::Key_Slash)),
            step(false, Qt::ShiftModifier));
    MnuSavePngImageAsSimulated =
        add(QStringLiteral("Save Png Image As (as simulated)"), {}, saveAs);
    MnuSavePngImageAsSimulated->setProperty("Tag", 12);
    PopupMenu->addSeparator();
    auto readable = [this](ColorContrast::TLevel level) {
        return [this, level] {
            if (FOwner) FOwner->sampleReadableTextRequested(level);
        };
    };
    MnuReadableTextAA = add(QStringLiteral("Readable Text Color (AA)"), QKeySequence(Qt::Key_F7),
                            readable(ColorContrast::TLevel::AA));
    MnuReadableTextAAA =
        add(QStringLiteral("Readable Text Color (AAA)"), QKeySequence(Qt::SHIFT | Qt::Key_F7),
            readable(ColorContrast::TLevel::AAA));
    MnuColorVision = add(QStringLiteral("Simulate Protanopia"), QKeySequence(Qt::Key_F8),
                         &TSampleForm::cycleColorVision);
    PopupMenu->addSeparator();
    CloseWindow1 = add(QStringLiteral("Close Window"), QKeySequence(Qt::Key_Escape),
                       &TSampleForm::CloseWindow);
}

// ---------------------------------------------------------------------------------------------
// Operations of the owner

void TSampleForm::ApplyColor(ColorValue c) {
    c &= kColorMask;
    // A see-through background has no colour of its own, so there the colour always goes to the
    // text.
    if (!FShowText || (FLockTextColor && !FTransparent)) {
        if (FBkgColor == c) return;
        FBkgColor = c;
    } else {
        if (FTextColor == c) return;
        FTextColor = c;
    }
    invalidateSample();
}

void TSampleForm::SetShowText(bool value) {
    if (FShowText == value) return;
    FShowText = value;
    invalidateSample();
}

void TSampleForm::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    if (FTransparent) CaptureScreen();
    invalidateSample();
}

void TSampleForm::SetFontName(const QString& name) {
    if (name.isEmpty() || name == FFont.family()) return;
    FFont.setFamily(name);
    fontChanged();
}

void TSampleForm::SetFontSize(int points) {
    // Nothing below one point can be drawn; such a size leaves the font as it is.
    if (points < 1) return;
    points = std::min(points, MaxFontSize);
    const int pixels =
        static_cast<int>(std::max<qint64>(1, (qint64(points) * screenDpi(this) + 36) / 72));
    // Whether the text counts as large follows the points, which the pixels only approximate.
    if (FFontPoints != points) {
        FFontPoints = points;
        update();
    }
    if (FFont.pixelSize() == pixels) return;
    FFont.setPixelSize(pixels);
    fontChanged();
}

void TSampleForm::SetBold(bool value) {
    if (FFont.bold() == value) return;
    FFont.setBold(value);
    fontChanged();
}

void TSampleForm::SetItalic(bool value) {
    if (FFont.italic() == value) return;
    FFont.setItalic(value);
    fontChanged();
}

void TSampleForm::SetSampleTextColor(ColorValue c) {
    FTextColor = c & kColorMask;
    invalidateSample();
}

void TSampleForm::SetSampleBkgColor(ColorValue c) {
    c &= kColorMask;
    if (FBkgColor == c) return;
    FBkgColor = c;
    invalidateSample();
}

void TSampleForm::SetLockTextColor(bool value) {
    if (FLockTextColor == value) return;
    FLockTextColor = value;
    FLockBkgColor = !value;
}

void TSampleForm::SetLockBkgColor(bool value) {
    if (FLockBkgColor == value) return;
    FLockBkgColor = value;
    FLockTextColor = !value;
}

void TSampleForm::SetTextFile(const QString& path) {
    if (path.isEmpty() || path == FTextFile) return;
    FTextFile = path;
    // Only a regular file is read; a folder or device of that name is left alone, as is a file
    // that cannot be read: the text shown so far stays, and the user learns why.
    const TextFile::TReadResult read = TextFile::read(path, MaxTextLength);
    if (read.ok) {
        SetSampleText(read.text);
        return;
    }
    ShowMessageBox(kCaption,
                   QStringLiteral("The sample text file \"%1\" was not loaded: %2.\r\nThe sample "
                                  "keeps its text; choose another with \"Load From Text File\" "
                                  "(Ctrl+O).")
                       .arg(QDir::toNativeSeparators(path), read.error),
                   kMsgIconExclamation, this);
}

void TSampleForm::SetSampleText(const QString& text) {
    if (text.size() > MaxTextLength) {
        ShowMessageBox(kCaption,
                       QStringLiteral("The sample text is longer than %1 characters; only the "
                                      "first %1 are used.")
                           .arg(MaxTextLength),
                       kMsgIconInfo, this);
    }
    StringRC->setText(TSampleCanvas::cutText(text, MaxTextLength));
    textChanged();
}

QString TSampleForm::sampleText() const {
    return StringRC->Text();
}

void TSampleForm::AppActivated() {
    CaptureScreen();
    FDeactivated = false;
    update();
}

void TSampleForm::setDeactivated(bool value) {
    FDeactivated = value;
}

void TSampleForm::CloseWindow() {
    if (FCapturing) {
        // Hidden for the capture already: end it without showing the window again.
        FSettleTimer->stop();
        FCapturing = false;
        stopDragging();
        handBackPlacement();
        return;
    }
    hide();
}

// ---------------------------------------------------------------------------------------------
// Size

int TSampleForm::minimumSide() const {
    const QFontMetrics metrics(FFont);
    return std::max(kSmallestSide, 2 * TextMargin + metrics.height() + statusHeight());
}

void TSampleForm::stepSize(bool grow, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize desktop = where ? where->virtualSize() : QSize(INT_MAX, INT_MAX);
    const int floor = minimumSide();
    // A tenth, truncated, but at least a pixel, so small windows still change; never below the
    // margins and a line, never beyond the desktop.
    auto stepped = [&](int side, int cap) {
        const qint64 step = std::max<qint64>(1, qint64(side) * 10 / 100);
        if (grow) return side >= cap ? side : int(std::min<qint64>(cap, side + step));
        return side <= floor ? side : int(std::max<qint64>(floor, side - step));
    };
    int w = width();
    int h = height();
    if (ctrl)
        w = stepped(w, desktop.width());
    else if (shift)
        h = stepped(h, desktop.height());
    else {
        w = stepped(w, desktop.width());
        h = stepped(h, desktop.height());
    }
    resize(w, h);
}

// ---------------------------------------------------------------------------------------------
// The picture behind the window

void TSampleForm::CaptureScreen() {
    // A hidden window takes its picture when it is shown, and only then: one desktop picture an
    // opening.
    if (!FTransparent || FCapturing || !isVisible()) return;
    // Out of the way first, and long enough for the windows below to repaint: the picture must
    // show what lies behind the window, not the window.
    FCapturing = true;
    hide();
    FSettleTimer->start(FSettleMs);
}

void TSampleForm::finishCapture() {
    if (!FCapturing) return;
    takePicture();
    show();
    FCapturing = false;
    // A hidden window loses the focus; a press started this capture, and a press asks for it.
    if (FDragging) takeKeyboard(this);
    refillBackground();
    invalidateSample();
    // The press that started the capture may still be held: keep the drag going even though the
    // window was gone for a moment. A quick click was released meanwhile, out of our sight.
    if (FDragging && (QGuiApplication::mouseButtons() & Qt::LeftButton))
        grabMouse();
    else
        stopDragging();
}

void TSampleForm::takePicture() {
    Platform::TDesktopPicture picture = Platform::grabDesktop();
    if (picture.ok()) {
        FCanvas.setScreen(std::move(picture));
        return;
    }
    // The last good picture still serves; without one the background stays black.
    if (!FScreenFailureShown) {
        FScreenFailureShown = true;
        ShowMessageBox(
            kCaption,
            QStringLiteral("The screen could not be read, so the transparent "
                           "background cannot show it.\r\n\r\n%1")
                .arg(picture.failure.isEmpty() ? QStringLiteral("No picture") : picture.failure),
            kMsgIconExclamation, this);
    }
}

void TSampleForm::refillBackground() {
    FCanvas.refillBackground(sampleSize(), geometry().topLeft());
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TSampleForm::fontChanged() {
    setFont(FFont);
    FCanvas.invalidateLayout();
    invalidateSample();
}

void TSampleForm::textChanged() {
    FCanvas.invalidateLayout();
    invalidateSample();
}

void TSampleForm::invalidateSample() {
    FCanvas.invalidate();
    update();
}

void TSampleForm::RenderSample() {
    FSimulatedStale = true;
    FCanvas.render(sampleSize(),
                   {.font = FFont,
                    .textColor = FTextColor,
                    .bkgColor = FBkgColor,
                    .showText = FShowText,
                    .transparent = FTransparent},
                   StringRC->Strings());
}

const QImage& TSampleForm::backBuffer() {
    if (FCanvas.stale() || FCanvas.image().size() != sampleSize()) RenderSample();
    return FCanvas.image();
}

const QImage& TSampleForm::shownImage() {
    const QImage& real = backBuffer();
    return FVision == TColorVision::Normal ? real : simulatedImage();
}

const QImage& TSampleForm::simulatedImage() {
    const QImage& real = FCanvas.image();
    if (!FSimulatedStale && FSimulated.size() == real.size()) return FSimulated;
    if (FSimulated.size() != real.size() || FSimulated.format() != real.format())
        FSimulated = QImage(real.size(), real.format());
    // Four-byte pixels leave no padding between rows: the picture is one long row.
    ColorVision::SimulateRow(reinterpret_cast<const std::uint32_t*>(real.constBits()),
                             reinterpret_cast<std::uint32_t*>(FSimulated.bits()),
                             std::size_t(real.width()) * std::size_t(real.height()), FVision);
    FSimulatedStale = false;
    return FSimulated;
}

void TSampleForm::setColorVision(TColorVision vision) {
    if (FVision == vision) return;
    const int oldStatus = statusHeight();
    FVision = vision;
    FSimulatedStale = true;
    // The strip grows by a line for the simulation's name: the sample gives it the room.
    if (statusHeight() != oldStatus) {
        refillBackground();
        FCanvas.invalidateLayout();
    }
    invalidateSample();
}

int TSampleForm::statusHeight() const {
    const int lines = FVision == TColorVision::Normal ? 1 : 2;
    return lines * QFontMetrics(FStatusFont).height() + 2 * kStatusPadding;
}

QSize TSampleForm::sampleSize() const {
    return QSize(std::max(1, width()), std::max(1, height() - statusHeight()));
}

ColorContrast::TVerdict TSampleForm::contrastVerdict() const {
    return ColorContrast::Judge(FTextColor, FBkgColor,
                                ColorContrast::IsLargeText(FFontPoints, FFont.bold()));
}

QStringList TSampleForm::statusLines() const {
    QStringList lines;
    if (!FShowText)
        lines << QStringLiteral("No text shown");
    else if (FTransparent)
        lines << QStringLiteral("Transparent background: no ratio");
    else
        lines << ColorContrast::Summary(contrastVerdict());
    if (FVision != TColorVision::Normal)
        lines << QStringLiteral("Seen with %1").arg(ColorVision::Name(FVision).toLower());
    return lines;
}

void TSampleForm::paintStatus(QPainter& painter) {
    const QRect strip(0, height() - statusHeight(), width(), statusHeight());
    painter.fillRect(strip, QColor::fromRgb(kStatusBackground));
    painter.setFont(FStatusFont);
    painter.setPen(QColor::fromRgb(kStatusText));
    const QFontMetrics metrics(FStatusFont);
    int y = strip.top() + kStatusPadding;
    for (const QString& line : statusLines()) {
        const QRect row(kStatusPadding * 2, y, width() - kStatusPadding * 4, metrics.height());
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(line, Qt::ElideRight, row.width()));
        y += metrics.height();
    }
}

void TSampleForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // While the program is inactive the screen picture may be stale, so a see-through window is
    // not drawn anew; an expose still gets the picture it showed last.
    if (FCanvas.stale() && !(FTransparent && FDeactivated)) RenderSample();
    const QImage& shown = FVision == TColorVision::Normal ? FCanvas.image() : simulatedImage();
    if (shown.size() != sampleSize()) painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, shown);
    paintStatus(painter);
}

// ---------------------------------------------------------------------------------------------
// Window events

void TSampleForm::resizeEvent(QResizeEvent*) {
    refillBackground();
    FCanvas.invalidateLayout();
    invalidateSample();
}

void TSampleForm::moveEvent(QMoveEvent*) {
    refillBackground();
    if (!FTransparent || !FShowText) return;
    FCanvas.invalidate();
    if (isVisible()) repaint();
}

void TSampleForm::placeOnShow() {
    const QSize design(scaled(this, kDesignWidth), scaled(this, kDesignHeight));
    QRect r = geometry();
    // A stored place without a size is no place.
    const TSampleSettings* settings = FOwner ? &FOwner->sampleSettings() : nullptr;
    const bool stored = settings && settings->hasPlacement() && settings->placement.width() > 0 &&
                        settings->placement.height() > 0;
    const int floor = minimumSide();
    if (r.width() < floor || r.height() < floor) {
        r.setSize(r.width() <= 0 || r.height() <= 0 ? design : r.size().expandedTo({floor, floor}));
    }
    // No stored place, or one no screen shows any more: as on the first show, in the middle of
    // the owner.
    if (FOwner && (!stored || !findableOnSomeScreen(r))) {
        if (!findableOnSomeScreen(r) && stored) r.setSize(design);
        const QRect frame = FOwner->sampleOwnerFrame();
        r.moveTopLeft(QPoint(frame.left() + (frame.width() - r.width()) / 2,
                             frame.top() + (frame.height() - r.height()) / 2));
    }
    if (r != geometry()) setGeometry(r);
}

void TSampleForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (FCapturing || event->spontaneous()) return;
    placeOnShow();
    // Not mapped yet, so the screen can be read without hiding anything.
    if (FTransparent) takePicture();
    refillBackground();
    invalidateSample();
}

void TSampleForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (FCapturing || event->spontaneous()) return;
    stopDragging();
    handBackPlacement();
}

void TSampleForm::handBackPlacement() {
    if (FOwner) FOwner->samplePlacementChanged(geometry());
}

bool TSampleForm::handleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    switch (event->key()) {
    case Qt::Key_Escape:
        if (FOwner)
            FOwner->sampleHideRequested();
        else
            CloseWindow();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (ctrl || shift) return false;
        if (FOwner) FOwner->sampleArrowKey(event->key());
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        // The main keyboard's "=+" key and the keypad plus both grow.
        stepSize(true, modifiers);
        return true;
    case Qt::Key_Minus:
        if (!keypad) return false;
        stepSize(false, modifiers);
        return true;
    case Qt::Key_Slash:
        if (!keypad) return false;
        stepSize(false, modifiers);
        return true;
    case Qt::Key_F8:
        if (ctrl || shift || alt) return false;
        cycleColorVision();
        return true;
    case Qt::Key_S:
    case Qt::Key_V:
    case Qt::Key_O:
        if (!ctrl || shift || alt) return false;
        if (event->key() == Qt::Key_S)
            MnuSaveImageClick();
        else if (event->key() == Qt::Key_V)
            MnuPasteTextFromClipboardClick();
        else
            MnuLoadFromTextFileClick();
        return true;
    default:
        return false;
    }
}

void TSampleForm::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // The owner's shortcuts work here too, but a key this window used is not run twice (Esc would
    // close the owner after closing this window).
    if (handleKey(event)) return;
    if (FOwner) FOwner->sampleKeyForwarded(event);
}

void TSampleForm::mousePressEvent(QMouseEvent* event) {
    takeKeyboard(this);
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Where only the compositor places windows (Wayland), it moves this one too.
    if (Platform::screenThroughPortal() && windowHandle() && windowHandle()->startSystemMove())
        return;
    CaptureScreen();
    FDragging = true;
    FGrabOffset = event->globalPosition().toPoint() - geometry().topLeft();
}

void TSampleForm::mouseMoveEvent(QMouseEvent* event) {
    if (!FDragging) return;
    // The release may have gone elsewhere while the window was away for a capture: a drag lasts
    // only while the button is held.
    if (!(event->buttons() & Qt::LeftButton)) {
        stopDragging();
        return;
    }
    move(event->globalPosition().toPoint() - FGrabOffset);
}

void TSampleForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) stopDragging();
}

void TSampleForm::stopDragging() {
    FDragging = false;
    if (mouseGrabber() == this) releaseMouse();
}

void TSampleForm::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) stepSize(delta > 0, event->modifiers());
    event->accept();
}

void TSampleForm::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenuPopup();
    PopupMenu->exec(event->globalPos());
}

void TSampleForm::PopupMenuPopup() {
    MnuSavePngImageAswithAutoCrop->setEnabled(FShowText && !FTransparent);
    MnuSavePngImageAsSimulated->setEnabled(FVision != TColorVision::Normal);
    const TColorVision next = ColorVision::Next(FVision);
    MnuColorVision->setText(next == TColorVision::Normal
                                ? QStringLiteral("Show Real Colors")
                                : QStringLiteral("Simulate %1").arg(ColorVision::Name(next)));
}

// ---------------------------------------------------------------------------------------------
// Text commands

void TSampleForm::MnuPasteTextFromClipboardClick() {
    SetSampleText(Platform::clipboardText());
}

void TSampleForm::MnuLoadFromTextFileClick() {
    QString folder;
    if (FOwner && !FOwner->sampleSettings().textFile.isEmpty())
        folder = QFileInfo(FOwner->sampleSettings().textFile).absolutePath();
    const QString path = chooseOpenFile ? chooseOpenFile(folder) : QString();
    if (path.isEmpty()) return;
    const TextFile::TReadResult read = TextFile::read(path, MaxTextLength);
    if (!read.ok) {
        ShowErrorBox(
            kCaption,
            QStringLiteral("Could not load the sample text from\r\n%1\r\n\r\nSystem Say:\r\n%2")
                .arg(QDir::toNativeSeparators(path), read.error),
            this);
        return;
    }
    SetSampleText(read.text);
    FTextFile = path;
    if (FOwner) FOwner->sampleTextFileChosen(path);
}

// ---------------------------------------------------------------------------------------------
// Export

TSamplePngSaver::TPicture TSampleForm::pictureToSave(int tag) {
    if (tag < 6) {
        if (FTransparent && !FShowText) return {background(), false};
        if (FTransparent)
            return {SampleExport::TextAloneImage(sampleText(), FFont, FTextColor, size()), true};
        return {backBuffer(), false};
    }
    if (tag == 12) return {shownImage(), false};
    if (tag == 11) {
        const QImage& shown = backBuffer();
        const QRect crop = FShowText ? SampleExport::CropRect(shown, FBkgColor) : QRect();
        return {crop.isEmpty() ? QImage() : shown.copy(crop), false};
    }
    return {backBuffer(), false};
}

void TSampleForm::MnuSaveImageClick() {
    FSaver.saveNumbered(chooseSaveFile, [this] { return pictureToSave(0); });
}

void TSampleForm::MnuSavePngImageAsClick(QObject* sender) {
    const int tag = sender ? sender->property("Tag").toInt() : 0;
    FSaver.saveAs(chooseSaveFile, [this, tag] { return pictureToSave(tag); });
}
