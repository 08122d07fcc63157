#pragma once

#include "colour/ColorValue.h"
#include "platform/Platform.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextLayout>

#include <memory>
#include <vector>

// What the sample window shows, drawn without a window into a picture of the window's size: a
// solid colour or the part of the screen picture the window covers, and on it the sample text
// inside the margins. The text is laid out again only when told to or when the size changes, so a
// move of the window costs a copy and a redraw, never a layout.
class TSampleCanvas {
public:
    // Distance of the text from every edge.
    static constexpr int TextMargin = 8;

    // How the sample is drawn.
    struct TLook {
        QFont font;
        ColorValue textColor = 0;
        ColorValue bkgColor = 0;
        bool showText = true;
        // The background is the screen picture instead of `bkgColor`.
        bool transparent = false;
    };

    TSampleCanvas();

    // `text` cut to at most `length` characters, never between the halves of a surrogate pair.
    static QString cutText(const QString& text, qsizetype length);

    // Takes the picture the see-through background is cut from. A high-density picture is
    // brought to one pixel per window pixel, unsmoothed. A failed picture is ignored: the last
    // good one still serves.
    void setScreen(Platform::TDesktopPicture picture);

    // Makes both pictures `size` (at least a pixel each way). New pictures need a render and a
    // new layout.
    void fitTo(QSize size);
    // Fits to `size` and copies the part of the screen picture a window at global `topLeft`
    // covers; what the picture does not cover is black.
    void refillBackground(QSize size, QPoint topLeft);

    // The text or its font changed: the next render lays the text out anew.
    void invalidateLayout() { FLayoutValid = false; }
    // The next render is due.
    void invalidate() { FStale = true; }
    bool stale() const { return FStale; }

    // Draws the sample at `size`, one paragraph per entry of `paragraphs`.
    void render(QSize size, const TLook& look, const QStringList& paragraphs);

    // The last render, and the part of the screen behind the window.
    const QImage& image() const { return FBack; }
    const QImage& background() const { return FBackground; }
    // How often the text was laid out.
    int layoutCount() const { return FLayoutCount; }

private:
    void layoutText(const QFont& font, const QStringList& paragraphs);

    Platform::TDesktopPicture FScreen;
    QImage FBackground;
    QImage FBack;
    bool FStale = true;
    std::vector<std::unique_ptr<QTextLayout>> FLayouts;
    bool FLayoutValid = false;
    int FLayoutCount = 0;
};
