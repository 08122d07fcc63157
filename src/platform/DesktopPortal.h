#pragma once

#include <QDateTime>
#include <QObject>
#include <QRgb>
#include <QString>
#include <QVariantMap>

#include <memory>

class QTimer;

namespace Platform {

// The desktop portal's answers for a pick on the screen, where the display system lets no program
// read the screen itself (Wayland). Asks for one picture of the whole desktop; where the desktop
// refuses it, cancels it or offers no usable picture call, asks for one colour instead. Every call
// returns at once and the answer comes as one of the signals, so no event loop runs inside.
class TDesktopPortal : public QObject {
    Q_OBJECT
public:
    // The first interface version whose picture call knows the `interactive` option (and that has
    // the colour call).
    static constexpr uint kNeededVersion = 2;

    // Speaks to the portal on the session bus.
    explicit TDesktopPortal(QObject* parent = nullptr);
    ~TDesktopPortal() override;

    // Starts a request; false (and nothing happens) while one is running.
    bool requestPicture();
    bool busy() const { return m_stage != TStage::Idle; }

    // How long the desktop may take before the request counts as failed; the user may have to
    // answer a question of the desktop's first.
    void setAnswerTimeout(int ms);

    // The sRGB colour of the colour call, each channel 0..1, rounded to 0..255; false for a value
    // that is not a finite number.
    static bool colorFromUnit(double r, double g, double b, QRgb& out);
    // The request object the portal will answer on for a bus name and token.
    static QString requestPath(const QString& uniqueName, const QString& token);

signals:
    // The picture is a file; `removeWhenRead` is true only when the portal wrote it for this
    // request outside the user's own folders, so nobody but us will look for it.
    void pictureReady(const QString& path, bool removeWhenRead);
    // The one colour of the fallback, when the desktop gave no picture.
    void colorPicked(QRgb color);
    // The user cancelled the desktop's colour pick.
    void cancelled();
    // What went wrong, in words for the user, with what to do about it where there is something.
    void failed(const QString& text);

private slots:
    void onResponse(uint code, const QVariantMap& results);

private:
    enum class TStage { Idle, Version, Picture, Color };

    void askVersion();
    void askPicture();
    void askColor();
    // Calls a portal method that answers on a request object; the answer arrives in onResponse.
    void callWithRequest(const QString& interface, const QString& method, QVariantMap options);
    void listenOn(const QString& path);
    void stopListening();
    void pictureAnswered(uint code, const QVariantMap& results);
    void colorAnswered(uint code, const QVariantMap& results);
    void finish();
    void fail(const QString& text);

    struct TBus;
    std::unique_ptr<TBus> m_bus;
    TStage m_stage = TStage::Idle;
    QString m_requestPath;
    QDateTime m_started;
    QTimer* m_timeout = nullptr;
    quint32 m_serial = 0;
};

} // namespace Platform
