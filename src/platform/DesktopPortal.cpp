#include "platform/DesktopPortal.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

// Windows has no desktop portal, and its Qt no D-Bus: there the screen is read directly and a
// request only says that there is no portal.
#if QT_CONFIG(dbus)
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

#include <unistd.h>
#endif

namespace Platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenshot = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
constexpr int kDefaultTimeoutMs = 120'000;

const QString kInstallHint =
    QStringLiteral("Install the desktop portal (the package xdg-desktop-portal) with the portal "
                   "of your desktop (xdg-desktop-portal-gnome, xdg-desktop-portal-kde or "
                   "xdg-desktop-portal-wlr), then sign out and in again.");

#if QT_CONFIG(dbus)
bool noPortalError(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown ||
           error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           error.type() == QDBusError::Disconnected;
}

// A file of the user's own: one the portal may have saved where the user keeps pictures.
bool inUserFolders(const QString& canonical) {
    QStringList roots{QDir::homePath()};
    for (const auto location :
         {QStandardPaths::PicturesLocation, QStandardPaths::DesktopLocation,
          QStandardPaths::DocumentsLocation, QStandardPaths::DownloadLocation})
        roots += QStandardPaths::standardLocations(location);
    for (const QString& root : roots) {
        const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
        if (canonicalRoot.isEmpty()) continue;
        if (canonical == canonicalRoot ||
            canonical.startsWith(canonicalRoot.endsWith(QLatin1Char('/'))
                                     ? canonicalRoot
                                     : canonicalRoot + QLatin1Char('/')))
            return true;
    }
    return false;
}

#endif

} // namespace

#if QT_CONFIG(dbus)
struct TDesktopPortal::TBus {
    QDBusConnection connection = QDBusConnection::sessionBus();
};
#else
struct TDesktopPortal::TBus {};
#endif

TDesktopPortal::TDesktopPortal(QObject* parent)
    : QObject(parent), m_bus(std::make_unique<TBus>()), m_timeout(new QTimer(this)) {
    m_timeout->setSingleShot(true);
    m_timeout->setInterval(kDefaultTimeoutMs);
    connect(m_timeout, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("The desktop did not answer the request for a picture of the screen. "
                            "Try again; if it keeps happening, restart the desktop portal "
                            "(xdg-desktop-portal) or sign in again."));
    });
}

TDesktopPortal::~TDesktopPortal() {
    stopListening();
}

void TDesktopPortal::setAnswerTimeout(int ms) {
    m_timeout->setInterval(ms);
}

QString TDesktopPortal::requestPath(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':'))) sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kObject + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

bool TDesktopPortal::colorFromUnit(double r, double g, double b, QRgb& out) {
    if (!std::isfinite(r) || !std::isfinite(g) || !std::isfinite(b)) return false;
    const auto channel = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    out = qRgb(channel(r), channel(g), channel(b));
    return true;
}

#if QT_CONFIG(dbus)

bool TDesktopPortal::requestPicture() {
    if (busy()) return false;
    if (!m_bus->connection.isConnected()) {
        fail(QStringLiteral("There is no desktop session bus, so the desktop portal cannot be "
                            "asked for a picture of the screen. ") +
             kInstallHint);
        return true;
    }
    m_started = QDateTime::currentDateTimeUtc();
    m_timeout->start();
    askVersion();
    return true;
}

void TDesktopPortal::askVersion() {
    m_stage = TStage::Version;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kObject, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << kScreenshot << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(m_bus->connection.asyncCall(call), this);
    const quint32 serial = m_serial;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, serial](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (serial != m_serial || m_stage != TStage::Version) return;
                const QDBusMessage reply = w->reply();
                if (reply.type() == QDBusMessage::ErrorMessage) {
                    if (noPortalError(QDBusError(reply))) {
                        fail(QStringLiteral("This desktop has no desktop portal, so no program "
                                            "may read the screen. ") +
                             kInstallHint);
                        return;
                    }
                    // A portal without the picture interface: try the colour call.
                    askColor();
                    return;
                }
                const QVariant answer = reply.arguments().value(0);
                const QVariant version = answer.canConvert<QDBusVariant>()
                                             ? answer.value<QDBusVariant>().variant()
                                             : answer;
                if (version.typeId() == QMetaType::UInt && version.toUInt() >= kNeededVersion)
                    askPicture();
                else
                    askColor();
            });
}

void TDesktopPortal::askPicture() {
    m_stage = TStage::Picture;
    callWithRequest(kScreenshot, QStringLiteral("Screenshot"),
                    {{QStringLiteral("interactive"), false}, {QStringLiteral("modal"), false}});
}

void TDesktopPortal::askColor() {
    m_stage = TStage::Color;
    callWithRequest(kScreenshot, QStringLiteral("PickColor"), {});
}

void TDesktopPortal::callWithRequest(const QString& interface, const QString& method,
                                     QVariantMap options) {
    const QString token = QStringLiteral("huesplinter%1_%2")
                              .arg(++m_serial)
                              .arg(QRandomGenerator::global()->generate());
    options.insert(QStringLiteral("handle_token"), token);
    // Listening starts before the call: the answer may come before the call's own reply.
    listenOn(requestPath(m_bus->connection.baseService(), token));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kObject, interface, method);
    call << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(m_bus->connection.asyncCall(call), this);
    const quint32 serial = m_serial;
    const TStage stage = m_stage;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, serial, stage](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (serial != m_serial || m_stage != stage) return;
                const QDBusMessage reply = w->reply();
                if (reply.type() == QDBusMessage::ErrorMessage) {
                    const QDBusError error(reply);
                    if (stage == TStage::Picture && !noPortalError(error)) {
                        askColor();
                        return;
                    }
                    stopListening();
                    fail(noPortalError(error)
                             ? QStringLiteral("The desktop portal went away. ") + kInstallHint
                             : QStringLiteral("This desktop neither gives a picture of the screen "
                                              "nor picks a colour for other programs (%1). ")
                                       .arg(error.message()) +
                                   kInstallHint);
                    return;
                }
                // Older portals answer on a path of their own choosing.
                const QVariant handle = reply.arguments().value(0);
                if (handle.canConvert<QDBusObjectPath>()) {
                    const QString path = handle.value<QDBusObjectPath>().path();
                    if (!path.isEmpty() && path != m_requestPath) listenOn(path);
                }
            });
}

void TDesktopPortal::listenOn(const QString& path) {
    stopListening();
    m_requestPath = path;
    m_bus->connection.connect(kService, path, kRequest, QStringLiteral("Response"), this,
                              SLOT(onResponse(uint, QVariantMap)));
}

void TDesktopPortal::stopListening() {
    if (m_requestPath.isEmpty()) return;
    m_bus->connection.disconnect(kService, m_requestPath, kRequest, QStringLiteral("Response"),
                                 this, SLOT(onResponse(uint, QVariantMap)));
    m_requestPath.clear();
}

void TDesktopPortal::onResponse(uint code, const QVariantMap& results) {
    // Only the request we listen on reaches here, and only from the portal itself.
    stopListening();
    if (m_stage == TStage::Picture)
        pictureAnswered(code, results);
    else if (m_stage == TStage::Color)
        colorAnswered(code, results);
}

void TDesktopPortal::pictureAnswered(uint code, const QVariantMap& results) {
    if (code != 0) {
        // Refused by the user or by the desktop: the colour call may still be allowed.
        askColor();
        return;
    }
    const QVariant uriValue = results.value(QStringLiteral("uri"));
    const QString uri = uriValue.typeId() == QMetaType::QString ? uriValue.toString() : QString();
    if (uri.isEmpty()) {
        fail(QStringLiteral("The desktop took the picture of the screen but did not say where it "
                            "put it. Try again."));
        return;
    }
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile()) {
        fail(QStringLiteral("The desktop put the picture of the screen at %1, which is no local "
                            "file this program can read. Try again.")
                 .arg(uri.left(200)));
        return;
    }
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    // Only a file written for this request is ours to remove, never one that was there before,
    // and never one where the user keeps files (a desktop may save its screenshots there).
    const bool fresh = info.isFile() && info.lastModified().toUTC() >= m_started.addSecs(-1);
    const bool mine = info.isFile() && info.ownerId() == ::getuid();
    const bool remove = fresh && mine && !canonical.isEmpty() && !inUserFolders(canonical);
    finish();
    emit pictureReady(path, remove);
}

void TDesktopPortal::colorAnswered(uint code, const QVariantMap& results) {
    if (code == 1) {
        finish();
        emit cancelled();
        return;
    }
    if (code != 0) {
        fail(QStringLiteral("This desktop refused both the picture of the screen and the pick of "
                            "one colour. Check the desktop's privacy settings for screenshots."));
        return;
    }
    const QVariant color = results.value(QStringLiteral("color"));
    QRgb rgb = 0;
    bool ok = false;
    if (color.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = color.value<QDBusArgument>();
        if (arg.currentSignature() == QLatin1String("(ddd)")) {
            double r = 0, g = 0, b = 0;
            arg.beginStructure();
            arg >> r >> g >> b;
            arg.endStructure();
            ok = colorFromUnit(r, g, b, rgb);
        }
    }
    if (!ok) {
        fail(QStringLiteral("The desktop picked a colour but sent it in a form this program does "
                            "not understand. Try again."));
        return;
    }
    finish();
    emit colorPicked(rgb);
}

#else

bool TDesktopPortal::requestPicture() {
    if (busy()) return false;
    fail(QStringLiteral("This system has no desktop portal to give a picture of the screen."));
    return true;
}

void TDesktopPortal::askVersion() {}
void TDesktopPortal::askPicture() {}
void TDesktopPortal::askColor() {}
void TDesktopPortal::callWithRequest(const QString&, const QString&, QVariantMap) {}
void TDesktopPortal::listenOn(const QString&) {}
void TDesktopPortal::stopListening() {}
void TDesktopPortal::onResponse(uint, const QVariantMap&) {}
void TDesktopPortal::pictureAnswered(uint, const QVariantMap&) {}
void TDesktopPortal::colorAnswered(uint, const QVariantMap&) {}

#endif

void TDesktopPortal::finish() {
    stopListening();
    m_timeout->stop();
    m_stage = TStage::Idle;
    ++m_serial;
}

void TDesktopPortal::fail(const QString& text) {
    finish();
    emit failed(text);
}

} // namespace Platform
