#pragma once

// The off-screen bitmap every owner-drawn control paints into, the colour record and small buffers
// of the drawing code.
//
// Rectangles are QRect: x()/y() are the left and top pixel, width()/height() the size; a rectangle
// that reaches past the bitmap is clipped, never written outside.

#include "pixels/KxColor.h"
#include "pixels/KxPixel.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPainter;
class TKxImageList;

static_assert(std::endian::native == std::endian::little,
              "pixels are addressed as 32-bit words in blue, green, red, alpha byte order");

// Raised for drawing on a bitmap that cannot be drawn on; what() is the fixed English text.
class EInvalidGraphicOperation : public std::runtime_error {
public:
    explicit EInvalidGraphicOperation(const char* message) : std::runtime_error(message) {}
    explicit EInvalidGraphicOperation(const std::string& message) : std::runtime_error(message) {}
    explicit EInvalidGraphicOperation(const QString& message)
        : std::runtime_error(message.toStdString()) {}
};

// A counted run of colours (count + 1 entries, all default) with a cursor into it.
class TKxColorBuf {
public:
    explicit TKxColorBuf(int count = 0) { setCount(count); }
    // Discards the old entries and makes count + 1 fresh ones; the cursor returns to the start.
    void setCount(int count);
    int count() const noexcept { return FCount; }
    TKxColor* data() noexcept { return FData.data(); }
    TKxColor& operator[](int i) noexcept { return FData[static_cast<std::size_t>(i)]; }
    TKxColor*& current() noexcept { return FCurrent; }

private:
    int FCount = 0;
    std::vector<TKxColor> FData;
    TKxColor* FCurrent = nullptr;
};

// A counted run of bytes (count + 1 of them); end() points just past the first count.
class TKxByteBuf {
public:
    explicit TKxByteBuf(int count = 0) { setCount(count); }
    void setCount(int count);
    int count() const noexcept { return FCount; }
    std::uint8_t* data() noexcept { return FData.data(); }
    std::uint8_t* end() noexcept { return FData.data() + FCount; }
    std::uint8_t operator[](int i) const noexcept { return FData[static_cast<std::size_t>(i)]; }
    // A straight ramp from `from` to `to` over the count bytes in 22-bit fixed point; a single
    // byte gets `from`.
    void fillRamp(int from, int to);

private:
    int FCount = 0;
    std::vector<std::uint8_t> FData;
};

// The drawing state that goes with a bitmap's pixels when text is drawn into it: text colour
// (colour value 0x00BBGGRR, black at first) and background mode (opaque white at first). A new
// one is made by every re-size, so these two settings must be set again after it.
struct TKxDC {
    std::uint32_t textColor = 0x000000;
    std::uint32_t backColor = 0xFFFFFF;
    bool transparent = false;
};

enum class TKxMarkShape { Circle, Square, Diamond, Star };
enum class TKxMarkSize { Small, Medium, Large };

// Font style bits for setFont.
enum TKxFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A 32-bit top-down off-screen bitmap: blue, green, red, alpha per pixel, stride width × 4, new
// pixels opaque white. Operations that draw need "a context" (present from the first creation
// with a non-zero size until freeBitmap(true)) or "pixels" and raise EInvalidGraphicOperation
// "No Bitmap Created" without them.
class TKxBmp {
public:
    TKxBmp(int width, int height, const TKxDC* referenceDC = nullptr);
    virtual ~TKxBmp();
    TKxBmp(const TKxBmp&) = delete;
    TKxBmp& operator=(const TKxBmp&) = delete;

    // Makes the pixels (all 255) when both sizes are positive; frees everything when one is 0.
    virtual void create(const TKxDC* referenceDC = nullptr);
    virtual void initHandles();
    // A copy of source's size and pixels; keeps this bitmap's own context and font.
    virtual void assign(const TKxBmp* source);
    void freeBitmap(bool deleteDC);
    // A new size; with keepContent the old picture is copied (stretched, smoothly with halftone,
    // or from the top-left corner) and the rest is white. The font survives, text colour and
    // background mode do not.
    void setSize(int width, int height, bool keepContent, bool halftone, bool stretch);
    void setBitmapSize(int width, int height, bool keepContent);
    void setWidth(int width);
    void setHeight(int height);

    int width() const noexcept { return FWidth; }
    int height() const noexcept { return FHeight; }
    int stride() const noexcept { return FStride; }
    TKxDC* dc() noexcept { return FDC.get(); }
    const TKxDC* dc() const noexcept { return FDC.get(); }
    QRect bounds() const noexcept { return FBounds; }
    bool hasPixels() const noexcept { return FBits != nullptr; }
    std::uint8_t* bits() noexcept { return FBits; }
    const std::uint8_t* bits() const noexcept { return FBits; }
    // An image sharing these pixels (Format_ARGB32), valid until the next re-size or free; null
    // without pixels.
    QImage imageView();
    QImage imageView() const;

    // Pixel access.
    std::uint8_t* scanLine(int row);
    const std::uint8_t* scanLine(int row) const;
    TKxPixel* pixelRow(int row) { return reinterpret_cast<TKxPixel*>(scanLine(row)); }
    const TKxPixel* pixelRow(int row) const {
        return reinterpret_cast<const TKxPixel*>(scanLine(row));
    }
    TKxColor getPixel(int x, int y) const;
    // Clamps rect to the pixels in place; false when nothing is left.
    bool clipRect(QRect& rect) const;

    // Fills and gradients.
    void fill(TKxColor colour);
    void fillRect(TKxColor colour, QRect rect);
    void clearRect(QRect rect);
    void gradientRect(bool vertical, TKxColor startColour, TKxColor endColour, QRect rect);
    void pipeRect(bool vertical, int shade, bool mirrored, TKxColor baseColour,
                  TKxColor highlightColour, QRect rect);

    // Copying. drawTo ignores alpha, as a screen copy does.
    void drawTo(QPainter& painter, int x, int y, QRect sourceRect) const;
    void drawToBmp(TKxBmp* target, int x, int y, int mode) const;

    // Whole-bitmap conversions.
    void greyScale();
    void premultiplyAlpha();
    bool copyFromImageList(const TKxImageList& imageList, int index);

    // Text. Colours here are colour values 0x00BBGGRR; format is Qt::Alignment flags combined
    // with Qt::TextSingleLine, Qt::TextWordWrap and the like.
    bool setFont(const QString& name, int size, std::uint32_t colour, int pixelsPerInch, int style);
    // The first of `families` the system has; without any of them, its sans-serif face.
    bool setFont(const QStringList& families, int size, std::uint32_t colour, int pixelsPerInch,
                 int style);
    // A font in points is converted at pixelsPerInch; one in pixels is used as it is.
    bool setFontFrom(const QFont& font, std::uint32_t colour, int pixelsPerInch);
    const QFont& font() const noexcept { return FFont; }
    std::uint32_t setTextColor(std::uint32_t colour);
    void setTextTransparent(bool on);
    bool drawText(const QString& text, int format, QRect rect);
    bool drawTextColoured(const QString& text, int format, std::uint32_t colour, QRect rect);
    bool calcTextRect(QRect& rect, const QString& text, bool singleLine);
    void drawFocusRect(QRect rect);

    // Shading and ornaments.
    void edge3D(bool twoRings, bool raised, QRect rect);
    void softEdge(bool lengthwise, QRect rect);
    void fadeCorners(QRect rect);
    void frameRect(int thickness, TKxColor colour, QRect rect);
    void softCorners(QRect rect);
    void focusFrame(TKxColor colour, QRect rect);
    void roundedBorder(TKxColor colour, QRect rect);
    void roundedShadow(int amount, QRect rect);
    void innerHighlight(int amount, QRect rect);
    void buttonFace(int shade, bool pipe, TKxColor darkColour, TKxColor lightColour, QRect rect);
    void buttonFacePressed(int shade, bool pipe, TKxColor darkColour, TKxColor lightColour,
                           QRect rect);
    void flatHot(QRect rect);
    void flatPressed(QRect rect);
    void drawMark(TKxMarkShape shape, TKxMarkSize size, int x, int y, TKxColor colour);
    void squareMark(TKxColor colour, QRect rect);
    void grip(bool verticalLines, QRect rect);

    // Where messages meant for the user go (a message box in the program); tests replace it.
    static void setMessageReporter(std::function<void(const QString&)> reporter);

protected:
    // Raise "No Bitmap Created" without a context / without pixels, then clip rect; false when
    // nothing of it is left.
    bool contextGuard(QRect& rect) const;
    bool pixelGuard(QRect& rect) const;
    // The pixel at (x, y) or null when it lies outside the pixels.
    TKxPixel* pixelAt(int x, int y) noexcept;

private:
    enum class Side { Top, Bottom, Left, Right };
    // Darkens or lightens one side of rect (see the .cpp for which pixels); writes stay inside
    // the pixels.
    void shadeEdge(Side side, bool lighten, int amount, const QRect& rect);
    // The pixel at (x, y) when it lies inside both area and the pixels, else null.
    TKxPixel* pixelIn(const QRect& area, int x, int y) noexcept;
    // Blends colour into the square at (x, y) through a coverage mask, one byte per pixel.
    void blendMask(const std::uint8_t* mask, int size, int x, int y, TKxPixel colour);
    void gripGrooves(bool verticalLines, const QRect& rect);
    static void reportMessage(const QString& message);
    // Scales a picture of raw pixel words onto the whole of this bitmap, smoothly or by nearest
    // pixel.
    void stretchInto(const TKxPixel* source, int sourceWidth, int sourceHeight, bool smooth);

    std::unique_ptr<TKxPixel[]> FPixels;
    std::unique_ptr<TKxDC> FDC;
    QFont FFont;
    bool FFontCreated = false;
    std::uint8_t* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    QRect FBounds;
};
