#include "platform/ClipboardKeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

namespace {

// Long enough for a loaded machine to start the keeper; a keeper that never comes leaves the
// text where it was, which is no worse than having none.
constexpr int kHandOverWaitMs = 5000;

bool ownerKeepsTheClipboard() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

namespace ClipboardKeeper {

void handOver(const QString& text) {
    if (!ownerKeepsTheClipboard()) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    QEventLoop loop;
    // The keeper taking the clipboard over is what tells this copy that it may go.
    QObject::connect(clipboard, &QClipboard::dataChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(kHandOverWaitMs, &loop, &QEventLoop::quit);

    QProcess keeper;
    keeper.setProgram(QCoreApplication::applicationFilePath());
    keeper.setArguments({QStringLiteral("--keep-clipboard"), text});
    keeper.setStandardInputFile(QProcess::nullDevice());
    keeper.setStandardOutputFile(QProcess::nullDevice());
    keeper.setStandardErrorFile(QProcess::nullDevice());
    if (!keeper.startDetached()) return;
    loop.exec();
}

int keep(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    QObject::connect(clipboard, &QClipboard::dataChanged, qApp, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

} // namespace ClipboardKeeper
