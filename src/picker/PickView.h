#pragma once

#include "colour/ColorValue.h"

#include <QImage>
#include <QPoint>

#include <cstdint>

// The magnified view of the desktop picture: a square of odd side whose centre pixel shows the
// picture's pixel under the pointer, each picture pixel drawn as a zoom × zoom block, with optional
// grid and pick lines. It owns the back buffer the window paints from; rendering never allocates
// unless the side changed.
class TPickView {
public:
    static constexpr int kInitialZoom = 3;
    static constexpr int kMinZoom = 2;
    // Zooming in stops once the zoom reached this or more (48, 49 or 50 depending on the path).
    static constexpr int kZoomCeiling = 48;
    // What the view shows where no screen lies.
    static constexpr ColorValue kOutsideColor = kBlack;

    TPickView() = default;

    // The desktop picture and the global position of its top-left pixel. A picture with a device
    // pixel ratio above 1 holds device pixels; the pointer is scaled onto them.
    void setPicture(const QImage& picture, QPoint origin);
    const QImage& picture() const { return FPicture; }
    QPoint origin() const { return FOrigin; }

    // The side of the square, made odd; the centre pixel is (half, half).
    void setSide(int side);
    int side() const { return FSide; }
    int half() const { return FSide / 2; }

    int zoom() const { return FZoom; }
    void setZoom(int zoom);
    // One step along the zoom path; false when the zoom stayed.
    bool zoomIn();
    bool zoomOut();

    bool gridLines() const { return FGridLines; }
    void setGridLines(bool on) { FGridLines = on; }

    // The global pointer position shown at the centre.
    QPoint pointer() const { return FPointer; }
    void setPointer(QPoint global) { FPointer = global; }

    // Renders the view into the back buffer: blocks, then grid lines when on, then pick lines
    // when asked for.
    void render(bool pickLines);
    // The back buffer (Format_RGB32, side × side) as last rendered.
    const QImage& buffer() const { return FBuffer; }

    // The picture's colour shown at a client position: the pixel of the block that covers it,
    // never a line drawn over it. Outside the picture: kOutsideColor.
    ColorValue colorAt(QPoint client) const;
    ColorValue centerColor() const { return colorAt(QPoint(half(), half())); }
    // Renders without pick lines (grid lines stay, as the user sees them) and averages every
    // pixel of the square, truncating.
    ColorValue averageColor();

    // The numbers of the block layout for the current side and zoom: source half-size d,
    // destination half-size e and destination offset o.
    struct TLayout {
        int d = 0;
        int e = 0;
        int o = 0;
    };
    TLayout layout() const;

private:
    // The picture pixel under the pointer (device pixels of the picture).
    QPoint sourceCenter() const;
    ColorValue sourcePixel(int x, int y) const;
    void drawBlocks();
    void drawGrid();
    void drawPickLines();
    // A one-pixel black line from a to b, b excluded, only horizontal, vertical or diagonal;
    // pixels outside the square are skipped.
    void drawLine(QPoint a, QPoint b);

    QImage FPicture;
    QPoint FOrigin;
    QPoint FPointer;
    int FSide = 153;
    int FZoom = kInitialZoom;
    bool FGridLines = false;
    QImage FBuffer;
};
