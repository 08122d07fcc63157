// The frozen picker's path: a 3840x2160 desktop picture from its PNG file to the first full frame
// of the overlay, and one pick step over the overlay (the magnifier's follow step plus the
// overlay repainting the square the magnifier left), beside the own-window picker's step.

#include "picker/DesktopPictureFile.h"
#include "picker/FrozenOverlay.h"
#include "picker/PickView.h"
#include "pixels/KxPngRC.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr QRect kDesktop(0, 0, 3840, 2160);

// Screen-like content: flat areas and gradients with some noise, as screenshots compress.
const QString& pictureFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        QImage image(kDesktop.size(), QImage::Format_ARGB32);
        std::mt19937 random(3);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const bool window = (x / 640 + y / 360) % 3 == 0;
                row[x] = window ? qRgb(x & 255, y & 255, 128) | (random() & 0x030303u)
                                : qRgb(0x3A, 0x7B, 0xC8);
            }
        }
        const QString file = dir.filePath(QStringLiteral("desktop.png"));
        TKxPngImage::fromImage(image, false).saveToFile(file);
        return file;
    }();
    return path;
}

void BM_FrozenPictureToFirstFrame(benchmark::State& state) {
    const QString& file = pictureFile();
    QImage store(kDesktop.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const Platform::TDesktopPicture picture = ReadDesktopPictureFile(file, false, kDesktop);
        TFrozenOverlay overlay(picture.image, picture.origin, kDesktop);
        QPainter painter(&store);
        overlay.paintPicture(painter, overlay.rect());
        painter.end();
        benchmark::DoNotOptimize(store.constBits());
    }
}
BENCHMARK(BM_FrozenPictureToFirstFrame)->Unit(benchmark::kMillisecond);

// Args: side. Compare with BM_PickViewFollowStep of the same side.
void BM_FrozenOverlayPickStep(benchmark::State& state) {
    const Platform::TDesktopPicture picture =
        ReadDesktopPictureFile(pictureFile(), false, kDesktop);
    TFrozenOverlay overlay(picture.image, picture.origin, kDesktop);
    TPickView view;
    view.setPicture(picture.image, picture.origin);
    view.setSide(int(state.range(0)));
    view.setGridLines(true);
    const int side = view.side();
    QImage store(kDesktop.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        const QPoint pointer(1920 + (step & 15), 1080 + (step & 7));
        ++step;
        const QRect square(pointer - QPoint(side / 2, side / 2), QSize(side, side));
        view.setPointer(pointer);
        view.render(true);
        QPainter painter(&store);
        // The square the magnifier leaves shows the picture again; then the magnifier itself.
        overlay.paintPicture(painter, square.translated(-1, -1));
        painter.drawImage(square.topLeft(), view.buffer());
        painter.end();
        benchmark::DoNotOptimize(store.constBits());
    }
}
BENCHMARK(BM_FrozenOverlayPickStep)->Arg(301)->Arg(1001);

} // namespace
