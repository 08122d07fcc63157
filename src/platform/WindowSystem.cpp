#include "platform/WindowSystem.h"

#include <QtGlobal>

namespace WindowSystem {

QString unavailableReason() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // A platform chosen by hand (offscreen, vnc, eglfs) needs no display variable.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return {};
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    // A Wayland session finds its display under its default name.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")) return {};
    return QStringLiteral("there is no display to open a window on (neither DISPLAY nor "
                          "WAYLAND_DISPLAY is set); run it in a desktop session.");
#else
    return {};
#endif
}

} // namespace WindowSystem
