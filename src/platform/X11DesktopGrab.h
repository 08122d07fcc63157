#pragma once

// Reads a rectangle of the X11 desktop in one shared-memory request, for the screen picker and
// the see-through sample window: far cheaper than a picture per screen sent through the display
// connection and converted on the way.

#include <QImage>
#include <QRect>

namespace Platform {

// The desktop's pixels in `area` (root window coordinates) as an opaque Format_ARGB32 image, or
// a null image where the display is not X11, the server shares no memory with us or its pixels
// are not 8 bits a channel. The image lies in memory shared with the display server, which the
// next read uses again once no copy of the image is held any more. Pictures are taken and let go
// on the user-interface thread.
QImage grabX11Desktop(QRect area);

// Makes the memory of a read of `area` ready on both sides of the display connection, so that the
// first read afterwards pays for no fresh memory. Memory kept for the next read gives its pages
// back when no read has come for half a minute.
void prepareX11Desktop(QRect area);

} // namespace Platform
