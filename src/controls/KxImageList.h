#pragma once

#include <QImage>

#include <vector>

// A list of equally sized images, kept in 32-bit form with their alpha.
class TKxImageList {
public:
    TKxImageList(int width, int height) : FWidth(width), FHeight(height) {}

    int width() const noexcept { return FWidth; }
    int height() const noexcept { return FHeight; }
    int count() const noexcept { return static_cast<int>(FImages.size()); }

    // Adds the image converted to Format_ARGB32 and returns its index, or -1 when its size is not
    // the list's.
    int add(const QImage& image);
    // The image at index, or a null image when there is none.
    QImage image(int index) const;
    void clear() { FImages.clear(); }

private:
    int FWidth;
    int FHeight;
    std::vector<QImage> FImages;
};
