#include "app/AppIcon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <array>

// The resources live in the static library; naming their initialiser here
// links them into every program that shows the icon.
static void initIconResources() {
    Q_INIT_RESOURCE(AppIcon);
}

QIcon AppIcon() {
    initIconResources();
    static constexpr std::array Sizes{16, 22, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    // Told that they are PNG and not to guess, Qt reads the pictures itself; guessing, it loads
    // every image format plugin to ask it, which costs start time and memory.
    for (const int size : Sizes) {
        QImageReader reader(QStringLiteral(":/icons/%1x%1/org.vextora.Huesplinter.png").arg(size),
                            "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

namespace {

// Waits for the window's first exposure; the frame is drawn while the exposure is handled, so
// what is posted then runs after it.
class TFirstFrameWatch : public QObject {
public:
    explicit TFirstFrameWatch(QWindow* window) : QObject(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            QTimer::singleShot(0, qGuiApp, [] { QGuiApplication::setWindowIcon(AppIcon()); });
            deleteLater();
        }
        return false;
    }
};

} // namespace

void SetAppIconAfterFirstFrame(QWidget& window) {
    // Reading eight pictures and sending them to the window system (a quarter megabyte for the
    // largest) would otherwise come between the start and the first frame.
    if (QWindow* handle = window.windowHandle(); handle && !handle->isExposed())
        new TFirstFrameWatch(handle);
    else
        QGuiApplication::setWindowIcon(AppIcon());
}
