#pragma once

#include "platform/Platform.h"

#include <QRect>
#include <QString>

// A picture of the whole desktop that the desktop portal wrote to a file, read into the form the
// picker takes: opaque, placed on `desktop` (the virtual desktop in device-independent pixels),
// its device pixel ratio the picture's width over the desktop's. The file is read whole through
// the PNG reader's limits before anything is used; `failure` says why a file could not be used.
// With `remove`, the file is removed afterwards whether it could be read or not, so nothing is
// left behind.
Platform::TDesktopPicture ReadDesktopPictureFile(const QString& path, bool remove, QRect desktop);

// Files above this size are refused unread: no picture the PNG reader accepts needs more.
inline constexpr qint64 kMaxDesktopPictureFileBytes = qint64(512) * 1024 * 1024;
