#pragma once

#include <QIcon>

class QWidget;

// The program's icon in every size it is drawn in (16 to 256 pixels), from
// the program's own resources, so every window shows it whether or not the
// program is installed.
QIcon AppIcon();

// Makes AppIcon() every window's icon once `window`, just shown, has drawn
// its first frame on the screen.
void SetAppIconAfterFirstFrame(QWidget& window);
