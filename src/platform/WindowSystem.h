#pragma once

#include <QString>

// What the program can learn about the window system before it connects to one.
namespace WindowSystem {

// Why no window can be shown in this session (on Linux, neither an X display nor a Wayland
// display is named, as over ssh or in a package script); empty when a connection can be tried.
// Connecting without a display would end the program with an abort of its own.
QString unavailableReason();

} // namespace WindowSystem
