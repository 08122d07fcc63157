#pragma once

#include <QImage>
#include <QObject>

#include <array>

// Six form-owned pictures, numbered 0 to 5.
class TKx6ImagesRC : public QObject {
    Q_OBJECT
public:
    static constexpr int Count = 6;

    explicit TKx6ImagesRC(QObject* owner = nullptr);

    // An index outside 0 to 5 gives an empty picture.
    const QImage& Picture(int index) const;
    // An index outside 0 to 5 is ignored.
    void setPicture(int index, const QImage& picture);

    const QImage& Picture0() const { return Picture(0); }
    const QImage& Picture1() const { return Picture(1); }
    const QImage& Picture2() const { return Picture(2); }
    const QImage& Picture3() const { return Picture(3); }
    const QImage& Picture4() const { return Picture(4); }
    const QImage& Picture5() const { return Picture(5); }

private:
    std::array<QImage, Count> FPictures;
};
