#include "platform/FakePortal.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>

namespace {

struct TFakePortalRgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

QDBusArgument& operator<<(QDBusArgument& arg, const TFakePortalRgb& c) {
    arg.beginStructure();
    arg << c.r << c.g << c.b;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, TFakePortalRgb& c) {
    arg.beginStructure();
    arg >> c.r >> c.g >> c.b;
    arg.endStructure();
    return arg;
}

const QString kPortalName = QStringLiteral("fake-portal");
const QString kIntruderName = QStringLiteral("fake-intruder");
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");

QDBusMessage response(const QString& path, uint code, const QVariantMap& results) {
    QDBusMessage signal = QDBusMessage::createSignal(
        path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    signal << code << results;
    return signal;
}

} // namespace

Q_DECLARE_METATYPE(TFakePortalRgb)

class TFakePortal::TService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version READ version)
public:
    explicit TService(TFakePortal& state)
        : m_state(state),
          m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kPortalName)) {
        m_bus.registerObject(
            kObject, this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
        m_state.served = m_bus.registerService(kService);
    }
    ~TService() override {
        m_bus.unregisterService(kService);
        m_bus.unregisterObject(kObject);
        QDBusConnection::disconnectFromBus(kPortalName);
        QDBusConnection::disconnectFromBus(kIntruderName);
    }

    uint version() const { return m_state.interfaceVersion; }

public slots:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options,
                               const QDBusMessage& message) {
        ++m_state.screenshotCalls;
        m_state.lastScreenshotOptions = options;
        if (m_state.onScreenshot) m_state.onScreenshot();
        return answerLater(message, options, m_state.pictureCode, m_state.pictureResults);
    }
    QDBusObjectPath PickColor(const QString&, const QVariantMap& options,
                              const QDBusMessage& message) {
        ++m_state.pickColorCalls;
        return answerLater(message, options, m_state.colorCode, m_state.colorResults);
    }

private:
    QDBusObjectPath answerLater(const QDBusMessage& message, const QVariantMap& options, uint code,
                                const QVariantMap& results) {
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = kObject + QStringLiteral("/request/") + sender + QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        if (m_state.silent) return QDBusObjectPath(path);
        QTimer::singleShot(0, this, [this, path, code, results] {
            if (m_state.strayAnswers) {
                const QVariantMap bogus{
                    {QStringLiteral("uri"), QStringLiteral("file:///nonexistent/stray.png")},
                    {QStringLiteral("color"), QVariant::fromValue(TFakePortalRgb{1, 1, 1})}};
                m_bus.send(response(path + QStringLiteral("x"), 0, bogus));
                QDBusConnection intruder =
                    QDBusConnection::connectToBus(QDBusConnection::SessionBus, kIntruderName);
                intruder.send(response(path, 0, bogus));
                // A round trip, so the bus has passed the stray answer on before the real one.
                intruder.interface()->isServiceRegistered(kService);
            }
            m_bus.send(response(path, code, results));
        });
        return QDBusObjectPath(path);
    }

    TFakePortal& m_state;
    QDBusConnection m_bus;
};

bool TFakePortal::privateBus() {
    return qEnvironmentVariableIsSet("HUESPLINTER_PRIVATE_BUS");
}

TFakePortal::TFakePortal() {
    qDBusRegisterMetaType<TFakePortalRgb>();
    if (!privateBus()) return;
    m_service = std::make_unique<TService>(*this);
}

TFakePortal::~TFakePortal() = default;

QVariantMap TFakePortal::colorResult(double r, double g, double b) {
    qDBusRegisterMetaType<TFakePortalRgb>();
    return {{QStringLiteral("color"), QVariant::fromValue(TFakePortalRgb{r, g, b})}};
}

#include "FakePortal.moc"
