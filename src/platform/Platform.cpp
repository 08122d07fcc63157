#include "platform/Platform.h"

#include "platform/X11DesktopGrab.h"

#include <QClipboard>
#include <QCollator>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <numeric>
#include <utility>

namespace Platform {

namespace {

TPlatform& defaultPlatform() {
    static TPlatform platform;
    return platform;
}

// Null means the default; a plain pointer swap keeps installation cheap and the
// mouse snap's worker thread may read it.
std::atomic<TPlatform*> installed{nullptr};

bool onUserInterfaceThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

// Telephone codes of the territories whose users are most likely; the message
// box only needs to recognise a few of them.
constexpr std::array<std::pair<QLocale::Territory, int>, 64> CountryCodes{{
    {QLocale::UnitedStates, 1}, {QLocale::Canada, 1},         {QLocale::Russia, 7},
    {QLocale::Kazakhstan, 7},   {QLocale::Egypt, 20},         {QLocale::SouthAfrica, 27},
    {QLocale::Greece, 30},      {QLocale::Netherlands, 31},   {QLocale::Belgium, 32},
    {QLocale::France, 33},      {QLocale::Spain, 34},         {QLocale::Hungary, 36},
    {QLocale::Italy, 39},       {QLocale::Romania, 40},       {QLocale::Switzerland, 41},
    {QLocale::Austria, 43},     {QLocale::UnitedKingdom, 44}, {QLocale::Denmark, 45},
    {QLocale::Sweden, 46},      {QLocale::Norway, 47},        {QLocale::Poland, 48},
    {QLocale::Germany, 49},     {QLocale::Peru, 51},          {QLocale::Mexico, 52},
    {QLocale::Argentina, 54},   {QLocale::Brazil, 55},        {QLocale::Chile, 56},
    {QLocale::Colombia, 57},    {QLocale::Malaysia, 60},      {QLocale::Australia, 61},
    {QLocale::Indonesia, 62},   {QLocale::Philippines, 63},   {QLocale::NewZealand, 64},
    {QLocale::Singapore, 65},   {QLocale::Thailand, 66},      {QLocale::Japan, 81},
    {QLocale::SouthKorea, 82},  {QLocale::Vietnam, 84},       {QLocale::China, 86},
    {QLocale::India, 91},       {QLocale::Pakistan, 92},      {QLocale::Iran, 98},
    {QLocale::Morocco, 212},    {QLocale::Algeria, 213},      {QLocale::Tunisia, 216},
    {QLocale::Nigeria, 234},    {QLocale::Kenya, 254},        {QLocale::Portugal, 351},
    {QLocale::Luxembourg, 352}, {QLocale::Ireland, 353},      {QLocale::Iceland, 354},
    {QLocale::Finland, 358},    {QLocale::Bulgaria, 359},     {QLocale::Lithuania, 370},
    {QLocale::Latvia, 371},     {QLocale::Estonia, 372},      {QLocale::Ukraine, 380},
    {QLocale::Serbia, 381},     {QLocale::Croatia, 385},      {QLocale::Slovenia, 386},
    {QLocale::Slovakia, 421},   {QLocale::HongKong, 852},     {QLocale::Taiwan, 886},
    {QLocale::Israel, 972},
}};

// System colour index to the palette colour that plays its part. The groups
// matter only where the design tells active from inactive or disabled.
struct TSystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr QPalette::ColorGroup Active = QPalette::Active;
constexpr std::array<TSystemColorRole, 31> SystemColorRoles{{
    {Active, QPalette::Button},                      // 0 scroll bar
    {Active, QPalette::Dark},                        // 1 desktop
    {Active, QPalette::Highlight},                   // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive caption
    {Active, QPalette::Window},                      // 4 menu
    {Active, QPalette::Base},                        // 5 window
    {Active, QPalette::Shadow},                      // 6 window frame
    {Active, QPalette::WindowText},                  // 7 menu text
    {Active, QPalette::Text},                        // 8 window text
    {Active, QPalette::HighlightedText},             // 9 caption text
    {Active, QPalette::Button},                      // 10 active border
    {Active, QPalette::Button},                      // 11 inactive border
    {Active, QPalette::Dark},                        // 12 application workspace
    {Active, QPalette::Highlight},                   // 13 highlight
    {Active, QPalette::HighlightedText},             // 14 highlighted text
    {Active, QPalette::Button},                      // 15 button face
    {Active, QPalette::Dark},                        // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {Active, QPalette::ButtonText},                  // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {Active, QPalette::Light},                       // 20 button highlight
    {Active, QPalette::Shadow},                      // 21 3-D dark shadow
    {Active, QPalette::Midlight},                    // 22 3-D light
    {Active, QPalette::ToolTipText},                 // 23 info text
    {Active, QPalette::ToolTipBase},                 // 24 info background
    {Active, QPalette::NoRole},                      // 25 (none)
    {Active, QPalette::Link},                        // 26 hot-tracked item
    {Active, QPalette::Highlight},                   // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},       // 28 inactive caption gradient
    {Active, QPalette::Highlight},                   // 29 menu highlight
    {Active, QPalette::Window},                      // 30 menu bar
}};

} // namespace

TPlatform::~TPlatform() = default;

TKeyState TPlatform::keyState() const {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    return {mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
            mods.testFlag(Qt::AltModifier)};
}

QPoint TPlatform::cursorPos() const {
    return QCursor::pos();
}

void TPlatform::setCursorPos(QPoint pos) {
    // Wayland gives the pointer to the user alone; asking would only log a refusal.
    if (screenThroughPortal()) return;
    if (onUserInterfaceThread()) {
        QCursor::setPos(pos);
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [pos] { QCursor::setPos(pos); }, Qt::QueuedConnection);
}

namespace {

// The virtual desktop when the screens tile it at one device pixel per pixel: then it is one
// rectangle of the X11 root window, read in one request. Empty otherwise.
QRect plainDesktop(const QList<QScreen*>& screens) {
    QRegion covered;
    QRect all;
    for (const QScreen* screen : screens) {
        if (screen->devicePixelRatio() != 1.0) return {};
        covered += screen->geometry();
        all |= screen->geometry();
    }
    return covered == QRegion(all) ? all : QRect();
}

} // namespace

QList<TScreenShot> TPlatform::grabScreens() const {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (const QRect all = plainDesktop(screens); !all.isEmpty()) {
        QImage whole = grabX11Desktop(all);
        if (!whole.isNull())
            return {{screens.size() == 1 ? screens[0]->name() : QString(), all, 1.0, whole}};
    }
    QList<TScreenShot> shots;
    for (QScreen* screen : screens)
        shots.append({screen->name(), screen->geometry(), screen->devicePixelRatio(),
                      screen->grabWindow(0).toImage()});
    return shots;
}

TDesktopPicture TPlatform::grabDesktop() const {
    TDesktopPicture picture = composeDesktop(grabScreens());
    if (!picture.failure.isEmpty() &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        picture.failure.prepend(QStringLiteral("Wayland does not let programs read the screen. "));
    return picture;
}

void TPlatform::prepareDesktopGrab() {
    if (const QRect all = plainDesktop(QGuiApplication::screens()); !all.isEmpty())
        prepareX11Desktop(all);
}

bool TPlatform::screenThroughPortal() const {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QPoint TDesktopPicture::pixelOf(QPoint global) const {
    const qreal ratio = image.isNull() ? 1.0 : image.devicePixelRatio();
    const QPoint offset = global - origin;
    return {static_cast<int>(std::floor(offset.x() * ratio)),
            static_cast<int>(std::floor(offset.y() * ratio))};
}

namespace {

// A picture that already is the whole desktop is only made opaque, in place: no second picture
// of the desktop, no conversion. A picture that is opaque already stays shared with the caller.
bool takeWhole(TScreenShot& screen, TDesktopPicture& picture) {
    QImage& image = screen.image;
    if (image.isNull() || screen.devicePixelRatio != 1.0 ||
        image.size() != screen.geometry.size() ||
        (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32))
        return false;
    const qsizetype width = image.width();
    bool opaque = true;
    for (int y = 0; y < image.height() && opaque; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb all = 0xFF000000u;
        for (qsizetype x = 0; x < width; ++x)
            all &= row[x];
        opaque = all == 0xFF000000u;
    }
    if (!opaque) {
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (qsizetype x = 0; x < width; ++x)
                row[x] |= 0xFF000000u;
        }
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32);
    if (image.devicePixelRatio() != 1.0) image.setDevicePixelRatio(1.0);
    picture.origin = screen.geometry.topLeft();
    picture.image = std::move(image);
    return true;
}

} // namespace

TDesktopPicture composeDesktop(QList<TScreenShot> screens) {
    TDesktopPicture picture;
    if (screens.isEmpty()) {
        picture.failure = QStringLiteral("No screen is attached.");
        return picture;
    }
    if (screens.size() == 1 && takeWhole(screens[0], picture)) return picture;
    QRect all;
    qreal ratio = 1;
    for (const TScreenShot& screen : std::as_const(screens)) {
        all |= screen.geometry;
        ratio = std::max(ratio, screen.devicePixelRatio);
    }
    picture.origin = all.topLeft();
    const auto scaled = [ratio](int length) { return static_cast<int>(std::ceil(length * ratio)); };
    picture.image = QImage(scaled(all.width()), scaled(all.height()), QImage::Format_ARGB32);
    if (picture.image.isNull()) {
        picture.failure = QStringLiteral("The desktop is too large for one picture.");
        return picture;
    }
    picture.image.fill(DesktopOutside);
    picture.image.setDevicePixelRatio(ratio);
    QStringList unread;
    for (const TScreenShot& screen : std::as_const(screens)) {
        if (screen.image.isNull()) {
            unread.append(screen.name.isEmpty() ? QStringLiteral("?") : screen.name);
            continue;
        }
        const QPoint at = picture.pixelOf(screen.geometry.topLeft());
        const QSize size(scaled(screen.geometry.width()), scaled(screen.geometry.height()));
        QImage shot = screen.image.convertToFormat(QImage::Format_ARGB32);
        // Only a screen of a lower ratio than the picture's is resized, by
        // repeating pixels: a smooth scale would show colours the screen never had.
        if (shot.size() != size && !qFuzzyCompare(screen.devicePixelRatio, ratio))
            shot = shot.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QRect target = QRect(at, shot.size()) & picture.image.rect();
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(shot.constScanLine(y - at.y()));
            auto* out = reinterpret_cast<QRgb*>(picture.image.scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x)
                out[x] = in[x - at.x()] | 0xFF000000u;
        }
    }
    if (!unread.isEmpty())
        picture.failure = QStringLiteral("The screen could not be read (%1).")
                              .arg(unread.join(QStringLiteral(", ")));
    return picture;
}

QString TPlatform::clipboardText() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

void TPlatform::setClipboardText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

int TPlatform::countryCode() const {
    const QLocale::Territory territory = QLocale::system().territory();
    for (const auto& [t, code] : CountryCodes)
        if (t == territory) return code;
    return 0;
}

QString TPlatform::formatThousands(qint64 value) const {
    return QLocale::system().toString(value);
}

QString TPlatform::toUpper(const QString& text) const {
    return QLocale::system().toUpper(text);
}

QString TPlatform::toLower(const QString& text) const {
    return QLocale::system().toLower(text);
}

int TPlatform::compareText(const QString& a, const QString& b, Qt::CaseSensitivity cs) const {
    if (cs == Qt::CaseSensitive) return QString::localeAwareCompare(a, b);
    const QLocale locale = QLocale::system();
    return QString::localeAwareCompare(locale.toLower(a), locale.toLower(b));
}

std::vector<qsizetype> TPlatform::sortedOrder(const QStringList& texts) const {
    std::vector<qsizetype> order(std::size_t(texts.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
#ifdef Q_OS_WIN
    // There Qt's collator keys do not order names as compareText does (its own locale and the
    // system's sort keys against the system's comparison), so the comparison itself sorts.
    std::stable_sort(order.begin(), order.end(), [this, &texts](qsizetype a, qsizetype b) {
        return compareText(texts[a], texts[b], Qt::CaseSensitive) < 0;
    });
#else
    // The collator compareText's case-sensitive comparison uses, its keys made once.
    const QCollator collator;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(texts.size()));
    for (const QString& text : texts)
        keys.push_back(collator.sortKey(text));
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });
#endif
    return order;
}

quint32 TPlatform::milliseconds() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

QRgb TPlatform::systemColor(int index) const {
    if (index < 0 || index >= static_cast<int>(SystemColorRoles.size())) return 0xFF000000u;
    const TSystemColorRole& entry = SystemColorRoles[static_cast<std::size_t>(index)];
    if (entry.role == QPalette::NoRole) return 0xFF000000u;
    return QGuiApplication::palette().color(entry.group, entry.role).rgb();
}

bool TPlatform::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

bool TPlatform::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

TPlatform& current() {
    TPlatform* p = installed.load(std::memory_order_acquire);
    return p ? *p : defaultPlatform();
}

TPlatformOverride::TPlatformOverride(TPlatform& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

TPlatformOverride::~TPlatformOverride() {
    installed.store(previous_, std::memory_order_release);
}

} // namespace Platform
