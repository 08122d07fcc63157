#pragma once

#include <QImage>
#include <QObject>

// A form-owned picture.
class TKxImageRC : public QObject {
    Q_OBJECT
public:
    explicit TKxImageRC(QObject* owner = nullptr);

    const QImage& Picture() const { return FPicture; }
    void setPicture(const QImage& picture);

private:
    QImage FPicture;
};
