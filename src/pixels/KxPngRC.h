#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

#include <utility>

class QPainter;
class TKxImageList;

// One PNG picture, decoded and encoded by libpng. Pixels are held straight
// (not premultiplied) as 0xAARRGGBB, which in memory is blue, green, red, alpha:
// the layout of the off-screen bitmaps.
class TKxPngImage {
public:
    // Larger pictures are refused before any pixel memory is taken: a file of a
    // few bytes can claim any size in its header.
    static constexpr qint64 MaxPixels = 64 * 1024 * 1024;

    TKxPngImage() = default;
    // Takes the picture's colours, and its alpha when withAlpha is true.
    static TKxPngImage fromImage(const QImage& image, bool withAlpha);

    bool loadFromData(const QByteArray& data);
    bool loadFromFile(const QString& path);
    // Colour type 6 (RGB with alpha) when the picture has alpha, else 2 (RGB).
    QByteArray saveToData() const;
    // Replaces the file only when the whole picture was written; the old file
    // stays as it was otherwise.
    bool saveToFile(const QString& path);
    QString errorString() const { return FError; }

    bool isNull() const { return FPixels.isNull(); }
    int width() const { return FPixels.width(); }
    int height() const { return FPixels.height(); }
    // True when the file carried transparency: an alpha channel (colour types 4
    // and 6) or a transparency chunk.
    bool hasAlpha() const { return FHasAlpha; }
    // Format_ARGB32, straight alpha; opaque pixels when hasAlpha is false.
    const QImage& pixels() const { return FPixels; }
    // Hands the pixels over without a copy, leaving no picture behind.
    QImage takePixels() { return std::exchange(FPixels, QImage()); }

    bool operator==(const TKxPngImage& other) const {
        return FHasAlpha == other.FHasAlpha && FPixels == other.FPixels;
    }

private:
    QImage FPixels;
    bool FHasAlpha = false;
    QString FError;
};

// A form-owned PNG that scales itself down to the screen's pixel density and
// draws itself over what a canvas already shows.
class TKxPngRC : public QObject {
    Q_OBJECT
public:
    explicit TKxPngRC(QObject* owner = nullptr);

    const TKxPngImage& getImage() const { return FImage; }
    void setImage(const TKxPngImage& image);
    bool LoadFromFile(const QString& path);
    // The form-data path: a PNG file's bytes, such as a compiled-in resource.
    bool LoadFromData(const QByteArray& data);

    int SourceDPI() const { return FSourceDPI; }
    void setSourceDPI(int value) { FSourceDPI = value; }
    bool AutoSize() const { return FAutoSize; }
    void setAutoSize(bool value);
    bool hasAlpha() const { return FImage.hasAlpha(); }

    // Scales the image down (never up) from SourceDPI to the screen's density.
    void resizePng();

    // Draws at (x, y) over the canvas. The blend with what lies beneath is done
    // once and kept; refreshBackground takes the background again.
    void Draw(QImage& canvas, int x, int y, bool refreshBackground);
    // On a painter over a QImage this reads the background like the overload
    // above; on any other device the painter composes the kept picture.
    void Draw(QPainter& canvas, int x, int y, bool refreshBackground);

    // Adds the image without its alpha; returns the index the list gave it.
    int AddToImageList(TKxImageList& list);

    // The screen density every holder scales to; read once, settable by tests.
    static int screenPixelsPerInch();
    static void setScreenPixelsPerInch(int ppi);

private:
    void imageChanged();
    void blendOver(const QImage& background);

    TKxPngImage FImage;
    QImage FCache;
    bool FCacheFromBackground = false;
    int FSourceDPI = 144;
    bool FAutoSize = false;
    bool FLoading = false;
};

// Blends one straight-alpha pixel over a background pixel the way every
// holder draws: alpha below 8 keeps the background, above 240 takes the colour.
constexpr quint32 KxPngBlendPixel(quint32 background, quint32 pixel) {
    const quint32 a = pixel >> 24;
    if (a < 8) return background;
    if (a > 240) return (background & 0xFF000000u) | (pixel & 0x00FFFFFFu);
    quint32 out = background & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const quint32 b = (background >> shift) & 0xFF;
        const quint32 p = (pixel >> shift) & 0xFF;
        out |= (((b * (255 - a) + p * a) >> 8) & 0xFF) << shift;
    }
    return out;
}
