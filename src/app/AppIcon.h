#pragma once

#include <QIcon>

// The program's icon in every size it is drawn in (16 to 256 pixels), from
// the program's own resources, so every window shows it whether or not the
// program is installed.
QIcon AppIcon();
