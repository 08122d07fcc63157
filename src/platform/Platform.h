#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// The one place where the program asks the system about the user's input
// devices, screens, clipboard, locale, clock and web browser. Every call goes
// through the installed TPlatform; the default answers with Qt, and a test can
// install its own for as long as a TPlatformOverride lives.
namespace Platform {

// Which modifier keys are held down at this moment, independent of the event
// being handled.
struct TKeyState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool operator==(const TKeyState&) const = default;
};

// One screen as the system shows it: where it lies on the virtual desktop (in
// device-independent pixels, like the pointer position), how many device
// pixels it has per such pixel, and its picture in device pixels, or a null
// image when it could not be read.
struct TScreenShot {
    QString name;
    QRect geometry;
    qreal devicePixelRatio = 1;
    QImage image;
};

// Every screen put together. `origin` is the global position of the image's
// top-left pixel (negative when a screen lies left of or above the primary).
// The image is Format_ARGB32 and opaque and holds the screens' device pixels
// as they are, never smoothed: its devicePixelRatio() is the number of picture
// pixels per device-independent pixel (the highest ratio of any screen; a
// screen of a lower ratio is enlarged by repeating pixels). Parts no screen
// covers, and screens that could not be read, are DesktopOutside.
// `failure` is empty when every screen could be read; otherwise it says why
// not (on display systems that refuse screen grabs the picture is unusable
// and must not be offered as if it were the screen).
inline constexpr QRgb DesktopOutside = 0xFF000000u;

struct TDesktopPicture {
    QImage image;
    QPoint origin;
    QString failure;
    bool ok() const { return failure.isEmpty() && !image.isNull(); }
    // The picture pixel that shows a global position.
    QPoint pixelOf(QPoint global) const;
};

// Puts the screens together as grabDesktop does.
TDesktopPicture composeDesktop(QList<TScreenShot> screens);

class TPlatform {
public:
    TPlatform() = default;
    TPlatform(const TPlatform&) = delete;
    TPlatform& operator=(const TPlatform&) = delete;
    virtual ~TPlatform();

    virtual TKeyState keyState() const;

    // Global (virtual desktop) coordinates in device-independent pixels.
    virtual QPoint cursorPos() const;
    // Safe to call from any thread: off the user-interface thread the move is
    // queued to it.
    virtual void setCursorPos(QPoint pos);

    // Every screen's own picture; the default asks each QScreen, or on X11 reads screens that
    // tile one rectangle at one device pixel per pixel as one.
    virtual QList<TScreenShot> grabScreens() const;
    // composeDesktop of grabScreens, plus what the display system says when
    // it refuses screen grabs.
    virtual TDesktopPicture grabDesktop() const;
    // Readies what the first grabDesktop would otherwise set up, where that is slow (X11).
    virtual void prepareDesktopGrab();
    // True where programs may not read the screen and a picture of it comes only from the desktop
    // portal (TDesktopPortal): on Wayland.
    virtual bool screenThroughPortal() const;

    // Empty text when the clipboard holds no text.
    virtual QString clipboardText() const;
    virtual void setClipboardText(const QString& text);

    // The user's country as its international telephone code (1 for the
    // United States and Canada, 45 for Denmark, 49 for Germany); 0 when unknown.
    virtual int countryCode() const;
    // The number with the user's thousands separator every three digits.
    virtual QString formatThousands(qint64 value) const;
    virtual QString toUpper(const QString& text) const;
    virtual QString toLower(const QString& text) const;
    // Negative, zero or positive as `a` sorts before, with or after `b` in the
    // user's locale.
    virtual int compareText(const QString& a, const QString& b, Qt::CaseSensitivity cs) const;
    // The positions of `texts` in compareText's case-sensitive order, equal texts in the order
    // given; each text is turned into a collation key once instead of in every comparison.
    virtual std::vector<qsizetype> sortedOrder(const QStringList& texts) const;

    // Milliseconds from an arbitrary start; wraps at 2^32 like any tick count,
    // so only differences are meaningful.
    virtual quint32 milliseconds() const;

    // The current colour of a system colour index (the design's numbers: 5
    // window background, 8 window text, 15 button face, 13 selection, ...),
    // taken from the application's palette; opaque black for an index that
    // names no colour.
    virtual QRgb systemColor(int index) const;

    // Opens the address in the user's default browser; false when that failed.
    virtual bool openUrl(const QString& url);
    // Opens a local file with the program the user chose for its type (a text
    // file in the user's editor); false when that failed.
    virtual bool openFile(const QString& path);
};

// The installed implementation (the Qt default unless a test replaced it).
TPlatform& current();

// Installs a replacement for its lifetime and restores the previous one on
// destruction. Overrides nest; destroy them in reverse order.
class TPlatformOverride {
public:
    explicit TPlatformOverride(TPlatform& replacement);
    ~TPlatformOverride();
    TPlatformOverride(const TPlatformOverride&) = delete;
    TPlatformOverride& operator=(const TPlatformOverride&) = delete;

private:
    TPlatform* previous_;
};

// Shorthands for the installed implementation.
inline TKeyState keyState() {
    return current().keyState();
}
inline bool shiftDown() {
    return current().keyState().shift;
}
inline bool ctrlDown() {
    return current().keyState().ctrl;
}
inline bool altDown() {
    return current().keyState().alt;
}
inline QPoint cursorPos() {
    return current().cursorPos();
}
inline void setCursorPos(QPoint pos) {
    current().setCursorPos(pos);
}
inline TDesktopPicture grabDesktop() {
    return current().grabDesktop();
}
inline void prepareDesktopGrab() {
    current().prepareDesktopGrab();
}
inline bool screenThroughPortal() {
    return current().screenThroughPortal();
}
inline QString clipboardText() {
    return current().clipboardText();
}
inline void setClipboardText(const QString& text) {
    current().setClipboardText(text);
}
inline int countryCode() {
    return current().countryCode();
}
inline QString formatThousands(qint64 value) {
    return current().formatThousands(value);
}
inline QString toUpper(const QString& text) {
    return current().toUpper(text);
}
inline QString toLower(const QString& text) {
    return current().toLower(text);
}
inline int compareText(const QString& a, const QString& b, Qt::CaseSensitivity cs) {
    return current().compareText(a, b, cs);
}
inline std::vector<qsizetype> sortedOrder(const QStringList& texts) {
    return current().sortedOrder(texts);
}
inline quint32 milliseconds() {
    return current().milliseconds();
}
inline QRgb systemColor(int index) {
    return current().systemColor(index);
}
inline bool openUrl(const QString& url) {
    return current().openUrl(url);
}
inline bool openFile(const QString& path) {
    return current().openFile(path);
}

} // namespace Platform
