#pragma once

// What the fuzz targets share: a failed check ends the run at once, so the fuzzer keeps the
// input; targets that need Qt's graphics make one application for the whole process.

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

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
