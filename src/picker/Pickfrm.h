#pragma once

#include "colour/ColorValue.h"
#include "picker/Colorhintfrm.h"
#include "picker/PickView.h"
#include "picker/PickerValues.h"
#include "platform/Platform.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QAction;
class QMenu;
class QTimer;

// The screen picker: a square, caption-less, always-on-top window that stays centred on the
// pointer and shows one picture of the whole desktop around it, magnified. A click or Enter picks
// the centre pixel, with Ctrl the average of the view; holding Shift freezes the window so a free
// cross can pick any pixel in it. Closes with 1 (OK) after a pick and 2 (Cancel) otherwise.
class TFrmPick : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;
    // A smaller side is refused when shrinking.
    static constexpr int kShrinkLimit = 40;
    static constexpr int kMinSide = 31;

    TFrmPick(const TPickerValues& values, THslMaxima maxima, QWidget* parent = nullptr);
    ~TFrmPick() override;

    // Takes the desktop picture; when the desktop cannot be read, says so in a message box and
    // answers false. Run before the window is shown (exec() does), so the picker is never part of
    // its own picture.
    bool TakeSnapshot();
    // A plain click or Enter picks the average of the view, as Ctrl does.
    void SetAveragePick(bool average) { FAveragePick = average; }
    // TakeSnapshot, then the modal run; 2 at once when there is no picture.
    int exec() override;

    // A picture taken elsewhere (the frozen overlay's); TakeSnapshot is then not needed.
    void SetPicture(const Platform::TDesktopPicture& picture);
    // Runs as a child of a full-screen overlay that shows the frozen picture, instead of as a
    // window of its own that the system places: where windows cannot place themselves or read
    // the pointer outside their own area (Wayland), the overlay is where both are known.
    // `screenOrigin` is the overlay's top-left on the desktop. Moving to another overlay keeps
    // everything else.
    void EmbedIn(QWidget* overlay, QPoint screenOrigin);
    bool IsEmbedded() const { return FEmbedded; }
    // The pointer's desktop position as the overlay's mouse events give it.
    void SetFramePointer(QPoint global);
    // Where the picker takes the pointer to be: the system's pointer, or the overlay's.
    QPoint PointerPos() const;

    // The colour of the last pick; none after Cancel.
    std::optional<ColorValue> PickedColor() const { return FPicked; }
    // The values to keep, as they are now (the owner stores them after OK and Cancel alike).
    TPickerValues Values() const;

    // The side a stored size gives: nothing usable stored (30 or less) means ppi × 153 ÷ 96;
    // always odd and between kMinSide and the largest odd side that fits `fitSide`.
    static int SideFor(int stored, int ppi, int fitSide);
    // The side after one step of a tenth; the side itself when the step is refused.
    static int GrownSide(int side, int fitSide);
    static int ShrunkSide(int side);

    const TPickView& View() const { return FView; }
    bool IsFree() const { return FFree; }
    QPoint FreeCross() const { return FCross; }
    TFrmColorHint* Hint() const { return FHint; }
    // The colour the hint's contrast line (key R) measures against: the sample colour the picked
    // one would be read with.
    void setContrastReference(ColorValue reference) { FReference = reference & kColorMask; }

    // The popup menu and its items.
    QMenu* PopupMenu = nullptr;
    QAction* MnuShowPicklines = nullptr;
    QAction* MnuShowGridLines = nullptr;
    QAction* MnuShowColorHint = nullptr;
    QAction* MnuUseHSLinsteadofRGB = nullptr;
    QAction* MnuShowContrast = nullptr;
    QAction* ZoomIn1 = nullptr;
    QAction* ZoomInScrolldown1 = nullptr;
    QAction* Incresesize1 = nullptr;
    QAction* DecreseSizeCtrlScrolldown1 = nullptr;
    QAction* SelectColor1 = nullptr;
    QAction* SelectAverageColor1 = nullptr;
    QAction* FreetheCursor1 = nullptr;
    QAction* MnuClose = nullptr;
    QTimer* Timer1 = nullptr;

public slots:
    // Closes with Cancel when the application turns inactive after the picker has been active
    // and stays so for a moment.
    void applicationStateChanged(Qt::ApplicationState state);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    void buildMenu();
    void Timer1Timer();
    // Back to quick ticks.
    void wake();
    void followPointer(bool force);
    void zoomIn();
    void zoomOut();
    void resizeStep(bool grow);
    void applySide(int side);
    void toggleHint();
    void toggleNotation();
    void showOrHideHint();
    void placeHint();
    void enterFree();
    void leaveFree();
    void moveCross(QPoint client);
    void pick(bool average);
    // The largest side that fits the available area of the screen under the pointer (the
    // overlay, when embedded).
    int fitSide() const;
    // Centres the window on the pointer.
    void placeAtPointer();
    // The arrow keys: one picture pixel at a time.
    void stepPointer(QPoint step);
    // The area the hint must stay in, in the coordinates the hint is moved in.
    QRect hintArea() const;
    ColorValue hintColor() const;

    TPickView FView;
    TPickerValues FValues;
    THslMaxima FMaxima;
    bool FHasPicture = false;
    bool FShownOnce = false;
    bool FPlaced = false;
    bool FFree = false;
    bool FMenuOpen = false;
    bool FBeenActive = false;
    Qt::ApplicationState FAppState = Qt::ApplicationActive;
    bool FPressed = false;
    bool FEmbedded = false;
    QPoint FScreenOrigin;
    QPoint FFramePointer;
    bool FAveragePick = false;
    int FWheelRest = 0;
    int FStillTicks = 0;
    QPoint FCross{-1000, -1000};
    std::optional<ColorValue> FPicked;
    QPointer<TFrmColorHint> FHint;
    std::optional<ColorValue> FReference;
    bool FShowContrast = false;
};
