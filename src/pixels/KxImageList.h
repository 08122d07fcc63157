#pragma once

#include <QImage>
#include <QObject>

#include <memory>
#include <vector>

// Tells the users of an image list that its pictures changed (changed()) or that the list is
// going away (QObject::destroyed), so that none keeps drawing from a list that is gone.
class TKxImageListNotifier : public QObject {
    Q_OBJECT
signals:
    void changed();
};

// A list of equally sized images, kept in 32-bit form with their alpha. A copy takes the
// pictures, not the listeners: those stay with the list they were listening to.
class TKxImageList {
public:
    TKxImageList(int width, int height) : FWidth(width), FHeight(height) {}
    TKxImageList(const TKxImageList& other);
    TKxImageList& operator=(const TKxImageList& other);
    ~TKxImageList();

    int width() const noexcept { return FWidth; }
    int height() const noexcept { return FHeight; }
    int count() const noexcept { return static_cast<int>(FImages.size()); }

    // Adds the image converted to Format_ARGB32 and returns its index, or -1 when its size is not
    // the list's.
    int add(const QImage& image);
    // The image at index, or a null image when there is none.
    QImage image(int index) const;
    void clear();

    TKxImageListNotifier* notifier() const noexcept { return FNotifier.get(); }

private:
    int FWidth;
    int FHeight;
    std::vector<QImage> FImages;
    std::unique_ptr<TKxImageListNotifier> FNotifier = std::make_unique<TKxImageListNotifier>();
};
