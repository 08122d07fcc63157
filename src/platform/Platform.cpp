#include "platform/Platform.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QUrl>

#include <array>
#include <atomic>
#include <chrono>
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
    if (onUserInterfaceThread()) {
        QCursor::setPos(pos);
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [pos] { QCursor::setPos(pos); }, Qt::QueuedConnection);
}

TDesktopPicture TPlatform::grabDesktop() const {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) return {};
    QRect virtualRect;
    for (const QScreen* screen : screens)
        virtualRect |= screen->geometry();
    TDesktopPicture picture;
    picture.origin = virtualRect.topLeft();
    picture.image = QImage(virtualRect.size(), QImage::Format_ARGB32);
    picture.image.fill(Qt::black);
    QPainter painter(&picture.image);
    for (QScreen* screen : screens) {
        const QRect area = screen->geometry();
        QImage shot = screen->grabWindow(0).toImage();
        if (shot.isNull()) continue;
        // High-density screens deliver device pixels; the desktop picture is
        // in the same units as the pointer position.
        if (shot.size() != area.size())
            shot = shot.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(area.topLeft() - picture.origin, shot);
    }
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

quint32 TPlatform::milliseconds() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
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
