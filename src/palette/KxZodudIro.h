#pragma once

#include "colour/ColorValue.h"
#include "pixels/KxColor.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <vector>

enum THsOrientation { thsHorizontal, thsVertical };

// The palette's own picture: 24 bits a pixel, bytes blue, green, red, scan line 0 at the top.
// Rows are padded to a multiple of four bytes so the memory can be shown without a copy.
class TKxZodudIroBitmap {
public:
    TKxZodudIroBitmap() = default;
    // The first pixel points into the pixels themselves.
    TKxZodudIroBitmap(const TKxZodudIroBitmap&) = delete;
    TKxZodudIroBitmap& operator=(const TKxZodudIroBitmap&) = delete;
    // Discards the pixels; the new ones are black. Negative sizes count as 0.
    void setSize(int width, int height);
    int width() const noexcept { return FWidth; }
    int height() const noexcept { return FHeight; }
    int stride() const noexcept { return FStride; }
    std::uint8_t* scanLine(int y) noexcept { return FFirst + std::size_t(y) * FStride; }
    const std::uint8_t* scanLine(int y) const noexcept { return FFirst + std::size_t(y) * FStride; }
    // The pixel as a colour value (0x00BBGGRR); kNoColor outside the bitmap.
    ColorValue colorAt(int x, int y) const noexcept;
    // A view of the pixels, valid until the next setSize.
    QImage image() const;

private:
    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    std::vector<std::uint8_t> FPixels;
    // The first pixel, on a 64-byte boundary: whole vector stores then stay within cache lines.
    std::uint8_t* FFirst = nullptr;
};

// The large colour palette: every hue at every lightness for one pastel level, with a gray strip
// along one edge, and a cross marking the selected pixel. The image is built when it is next
// painted after a size or property change.
class TKxZodudIro : public QWidget {
    Q_OBJECT

public:
    explicit TKxZodudIro(QWidget* parent = nullptr);

    // The gray strip's width (height when vertical), clamped to 0 ... kMaxGraySize.
    static constexpr int kMaxGraySize = 1 << 20;
    int GraySize() const noexcept { return FGraySize; }
    void setGraySize(int value);
    bool HotTrack() const noexcept { return FHotTrack; }
    void setHotTrack(bool value);
    bool NoRightSelect() const noexcept { return FNoRightSelect; }
    void setNoRightSelect(bool value);
    THsOrientation Orientation() const noexcept { return FOrientation; }
    void setOrientation(THsOrientation value);
    int getPastel() const noexcept { return FPastel; }
    // Clamped to 0 ... 255.
    void setPastel(int value);
    bool White2Black() const noexcept { return FWhite2Black; }
    void setWhite2Black(bool value);

    // Milliseconds the last build took.
    int CreateTime() const noexcept { return FCreateTime; }
    // Number of distinct colours in the current picture (0 for an empty one).
    int getColorCount() const;

    // Builds the picture for the size of the rectangle and remembers it as the build rectangle.
    void CreateZodudIro(const QRect& rect);
    // Fill the first width x height pixels of the bitmap; false (bitmap untouched) when the size
    // is too small for the layout or larger than the bitmap.
    bool CreateZodudIroHorz(TKxZodudIroBitmap& bitmap, int width, int height, bool white2Black,
                            int pastel);
    bool CreateZodudIroVert(TKxZodudIroBitmap& bitmap, int width, int height, bool white2Black,
                            int pastel);

    // Moves the cross to where the colour lies and returns the pastel level that shows it;
    // stores that level when setPastel is true (and always for partly saturated colours). A
    // size change still waiting for its paint is built first, so the cross lands on this size.
    // H, S and L are clamped to 0 ... 240 here and in findPastel.
    int FindColor(int H, int S, int L, bool SetPastel);
    // Builds the picture now when a change waits for the next paint, and reports the colour under
    // the cross at once when a change of the picture or the cross has not been reported yet. A
    // window that moves the cross inside its own update calls this before it lets go, so the
    // report cannot arrive later and replace the colour it applied.
    void deliverPendingReport();
    // The pastel level that puts a colour's lightness where the palette shows it; stored too.
    int findPastel(int H, int S, int L);
    // The colour under the cross, which also becomes the current colour.
    TKxColor getColor();
    void SetCrossPos(int X, int Y);
    void moveCursor(int X, int Y);
    void eraseCursor(int X, int Y);
    void drawCursor(int X, int Y);
    void changeCursor(bool Hidden);
    // Treats a key exactly as if the palette had received it (forwarded arrow keys).
    void ArrowKey(int Key, Qt::KeyboardModifiers Shift);

    QPoint crossPos() const noexcept { return {FCrossX, FCrossY}; }
    QRect buildRect() const noexcept { return FBuildRect; }
    bool needsRebuild() const noexcept { return FRebuild; }
    int hueStripLength() const noexcept { return FHueStripLen; }
    int grayStripLength() const noexcept { return FGrayStripLen; }
    int clickTolerance() const noexcept { return FClickTolerance; }
    void setClickTolerance(int value) { FClickTolerance = value; }
    TKxColor currentColor() const noexcept { return FCurrentColor; }
    TKxColor leftPick() const noexcept { return FLeftPick; }
    TKxColor rightPick() const noexcept { return FRightPick; }
    const TKxZodudIroBitmap& bitmap() const noexcept { return FBitmap; }

signals:
    // The colour under the cross changed or was reported again (see deliverPendingReport).
    void colorChange(ColorValue color);
    void colorPickLeft(ColorValue color);
    void colorPickRight(ColorValue color);
    // After every paint.
    void paintDone();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool tracking(Qt::KeyboardModifiers modifiers) const noexcept;
    ColorValue colorAt(int x, int y) const noexcept { return FBitmap.colorAt(x, y); }
    void fireColorChange(ColorValue color);
    void buildIfNeeded();
    void fitBitmap(QSize size);
    void reportPaint();
    void imageChanged();

    TKxZodudIroBitmap FBitmap;
    QRect FBuildRect;
    bool FRebuild = true;
    std::uint8_t FPastel = 0;
    int FGraySize = 6;
    bool FWhite2Black = true;
    THsOrientation FOrientation = thsHorizontal;
    bool FHotTrack = false;
    bool FNoRightSelect = false;
    int FHueStripLen = 0;
    int FGrayStripLen = 0;
    int FCreateTime = 0;

    int FCrossX = 0;
    int FCrossY = 0;
    int FClickTolerance = 2;
    TKxColor FCurrentColor{kNoColor};
    TKxColor FLeftPick{kNoColor};
    TKxColor FRightPick{kNoColor};
    bool FLeftDown = false;
    QPoint FPressPos;
    // A change of the picture or the cross that no colour report has followed yet.
    bool FReportPending = true;
    bool FPaintReportQueued = false;
};
