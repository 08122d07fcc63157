#pragma once

// What the fuzz targets share: a failed check ends the run at once, so the fuzzer keeps the
// input; targets that need Qt's graphics make one application for the whole process.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline void FuzzCheck(bool ok) {
    if (!ok) std::abort();
}

// App is QGuiApplication or QApplication. Runs on the offscreen platform unless told otherwise.
template <class App>
void StartFuzzApplication(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps the argument count by reference, and the application must outlive every exit
    // handler that may still touch Qt, so both live for the whole process.
    static int count = *argc;
    static App* app = new App(count, *argv);
    (void)app;
}

// A press, move or release at `at`; the button counts as held except on the release.
inline void SendFuzzMouse(QWidget& target, QEvent::Type type, QPoint at,
                          Qt::MouseButton button = Qt::LeftButton,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), button, held, modifiers);
    QCoreApplication::sendEvent(&target, &event);
}

// Writes the input as the settings store file under one folder kept for the whole run and
// returns that folder, for a store opened on it.
inline QString PutFuzzStoreFile(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Vextora");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Huesplinter.conf"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return dir.path();
}
