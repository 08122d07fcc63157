#pragma once

#include "colour/ColorContrast.h"
#include "colour/ColorValue.h"
#include "colour/ColorVision.h"
#include "sample/SampleCanvas.h"
#include "sample/SamplePngSaver.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

class QAction;
class QMenu;
class QPainter;
class QTimer;
class TKxStringRC;
class TSampleOwner;

// A borderless floating window that shows the sample text in the chosen font and colours, on a
// solid background or on the picture of the screen behind it. It is dragged anywhere with the left
// button, resized in steps of a tenth, takes its text from the clipboard or a file and saves what
// it shows as PNG.
class TSampleForm : public QWidget {
    Q_OBJECT

public:
    // Everything loaded as sample text is cut to this many characters (or refused as a file of
    // more bytes), so rendering stays bounded.
    static constexpr qsizetype MaxTextLength = 1024 * 1024;
    // A shown size beyond this many points is drawn at this size.
    static constexpr int MaxFontSize = 1000;
    // Distance of the text from every window edge.
    static constexpr int TextMargin = TSampleCanvas::TextMargin;

    explicit TSampleForm(TSampleOwner* owner, QWidget* parent = nullptr);
    ~TSampleForm() override;

    // The owner is going away: nothing is handed back any more.
    void releaseOwner() { FOwner = nullptr; }

    // Operations of the owner (virtual so that an owner's test can watch them).
    virtual void ApplyColor(ColorValue c);
    virtual void SetShowText(bool value);
    virtual void SetTransparent(bool value);
    virtual void SetFontName(const QString& name);
    virtual void SetFontSize(int points);
    virtual void SetBold(bool value);
    virtual void SetItalic(bool value);
    virtual void SetSampleTextColor(ColorValue c);
    virtual void SetSampleBkgColor(ColorValue c);
    virtual void SetLockTextColor(bool value);
    virtual void SetLockBkgColor(bool value);
    virtual void SetTextFile(const QString& path);
    void SetSampleText(const QString& text);
    void AppActivated();
    void setDeactivated(bool value);
    // Hides the window (its own close command does no more); also ends a capture under way.
    void CloseWindow();
    // Shown, or hidden only for a moment while the screen is captured.
    bool shownToUser() const { return isVisible() || FCapturing; }

    bool showText() const { return FShowText; }
    bool transparent() const { return FTransparent; }
    bool lockTextColor() const { return FLockTextColor; }
    bool lockBkgColor() const { return FLockBkgColor; }
    bool deactivated() const { return FDeactivated; }
    ColorValue textColor() const { return FTextColor; }
    ColorValue bkgColor() const { return FBkgColor; }
    const QFont& sampleFont() const { return FFont; }
    // The size last set, in points (the font itself holds pixels).
    int fontPoints() const { return FFontPoints; }
    QString sampleText() const;
    const QString& textFile() const { return FTextFile; }
    const QString& pngPath() const { return FSaver.path(); }
    bool dragging() const { return FDragging; }
    bool capturing() const { return FCapturing; }

    // How the picture is shown: as it is, or as seen with a colour-vision deficiency. The real
    // colours, the copy commands and the plain exports are never affected.
    TColorVision colorVision() const { return FVision; }
    void setColorVision(TColorVision vision);
    void cycleColorVision() { setColorVision(ColorVision::Next(FVision)); }

    // The text colour judged on the background colour for the text as shown (its size and
    // boldness); nothing to judge while the text is hidden or the background is see-through.
    bool hasContrast() const { return FShowText && !FTransparent; }
    ColorContrast::TVerdict contrastVerdict() const;
    // The lines of the status strip under the sample: the contrast, and the simulation when one
    // is shown.
    QStringList statusLines() const;
    // The strip's height; the sample takes the rest of the window above it.
    int statusHeight() const;
    QSize sampleSize() const;

    // What the window shows, drawn when needed; the picture of the screen behind it.
    const QImage& backBuffer();
    // The back buffer as the chosen colour vision shows it.
    const QImage& shownImage();
    const QImage& background() const { return FCanvas.background(); }
    // How often the text was laid out anew (a move of the window must not do it).
    int layoutCount() const { return FCanvas.layoutCount(); }

    // Size steps: Ctrl changes only the width, else Shift only the height, else both.
    void stepSize(bool grow, Qt::KeyboardModifiers modifiers);
    // The smallest side a step leaves: the margins and one line.
    int minimumSide() const;

    // Takes a new picture of the screen (see-through background only). While the window is
    // shown it hides for the settle time first, so the picture does not hold the window itself.
    void CaptureScreen();
    void setCaptureSettleMs(int ms) { FSettleMs = ms; }

    // The popup menu and its items.
    QMenu* PopupMenu = nullptr;
    QAction* MnuSaveImage = nullptr;
    QAction* MnuSavePngImageAs = nullptr;
    QAction* SavePngImageAswithBackground1 = nullptr;
    QAction* MnuSavePngImageAswithAutoCrop = nullptr;
    QAction* MnuPasteTextFromClipboard = nullptr;
    QAction* MnuLoadFromTextFile = nullptr;
    QAction* Window10bigger1 = nullptr;
    QAction* Window10smaller1 = nullptr;
    QAction* Windowhorizontal10bigger1 = nullptr;
    QAction* Windowhorizontal10smaller1 = nullptr;
    QAction* Windowvertical10bigger1 = nullptr;
    QAction* Windowvertical10smaller1 = nullptr;
    QAction* CloseWindow1 = nullptr;
    QAction* MnuSavePngImageAsSimulated = nullptr;
    QAction* MnuReadableTextAA = nullptr;
    QAction* MnuReadableTextAAA = nullptr;
    QAction* MnuColorVision = nullptr;
    TKxStringRC* StringRC = nullptr;

    // Menu handlers.
    void PopupMenuPopup();
    void MnuSaveImageClick();
    void MnuSavePngImageAsClick(QObject* sender);
    void MnuPasteTextFromClipboardClick();
    void MnuLoadFromTextFileClick();

    // The file dialogs, replaceable by tests: given the folder to start in, the chosen path or
    // empty for a cancel.
    std::function<QString(const QString& folder)> chooseSaveFile;
    std::function<QString(const QString& folder)> chooseOpenFile;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createMenu();
    bool handleKey(QKeyEvent* event);
    void finishCapture();
    void takePicture();
    void placeOnShow();
    void fontChanged();
    void textChanged();
    void invalidateSample();
    void refillBackground();
    void RenderSample();
    void stopDragging();
    void handBackPlacement();
    // The picture a save command writes, by its menu item's tag.
    TSamplePngSaver::TPicture pictureToSave(int tag);

    void paintStatus(QPainter& painter);
    const QImage& simulatedImage();

    TSampleOwner* FOwner = nullptr;
    QFont FFont;
    int FFontPoints = 9;
    QFont FStatusFont;
    TColorVision FVision = TColorVision::Normal;
    QImage FSimulated;
    bool FSimulatedStale = true;
    ColorValue FTextColor = kNoColor;
    ColorValue FBkgColor = 0;
    bool FShowText = true;
    bool FTransparent = false;
    bool FLockTextColor = false;
    bool FLockBkgColor = false;
    bool FDeactivated = false;
    bool FDragging = false;
    bool FCapturing = false;
    QPoint FGrabOffset;
    int FSettleMs = 120;
    QString FTextFile;
    bool FScreenFailureShown = false;

    QTimer* FSettleTimer = nullptr;
    TSampleCanvas FCanvas;
    TSamplePngSaver FSaver{this};
};
