#include "platform/X11DesktopGrab.h"

#if HUESPLINTER_X11_SHM

#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

// Memory the server writes a picture into. Creating and attaching a segment and the first touch of
// its pages on both sides cost far more than a read, so a segment is kept for the next read once
// the picture in it is let go. Its pages are given back when no read has come for a while: a
// picture of a large desktop is tens of megabytes, which a program kept open all day should not
// hold while nothing shows it. A segment is marked for removal as soon as both sides are
// attached, so it goes away with the process whatever happens.
struct TSegment {
    xcb_connection_t* connection = nullptr;
    xcb_shm_seg_t id = 0;
    uchar* memory = nullptr;
    size_t size = 0;
};

// One free segment is kept; others that come free wait here until the next read detaches them,
// as a picture may be let go when the display connection is gone already, or on another thread
// (a copy of it saved in the background).
std::mutex segmentsLock;
TSegment* spare = nullptr;
std::vector<TSegment*> unwanted;
// Counts the segments let go, so a late release finds whether the spare was read again since.
std::uint64_t letGoCount = 0;

// Long enough for the openings of a session of picking to find the pages still there.
constexpr int kKeepPagesMs = 30'000;

// Gives back the spare's pages if nothing was read since the let-go numbered `count`. Both sides
// see them go; the next read writes into fresh ones. Where the system cannot give them back the
// segment is kept whole.
void releaseSparePages(std::uint64_t count) {
    const std::lock_guard lock(segmentsLock);
    if (spare && letGoCount == count) madvise(spare->memory, spare->size, MADV_REMOVE);
}

void dropUnwanted() {
    std::vector<TSegment*> dropped;
    {
        const std::lock_guard lock(segmentsLock);
        dropped.swap(unwanted);
    }
    for (TSegment* segment : dropped) {
        xcb_shm_detach(segment->connection, segment->id);
        shmdt(segment->memory);
        delete segment;
    }
}

void pictureLetGo(void* info) {
    auto* segment = static_cast<TSegment*>(info);
    std::uint64_t count = 0;
    {
        const std::lock_guard lock(segmentsLock);
        if (spare) {
            unwanted.push_back(segment);
            return;
        }
        spare = segment;
        count = ++letGoCount;
    }
    // The let-go may come from a thread without an event loop; the wait is the application's.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app,
            [count] {
                QTimer::singleShot(kKeepPagesMs, QCoreApplication::instance(),
                                   [count] { releaseSparePages(count); });
            },
            Qt::QueuedConnection);
}

TSegment* newSegment(xcb_connection_t* connection, size_t size) {
    const int shmId = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (shmId < 0) return nullptr;
    void* memory = shmat(shmId, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(shmId, IPC_RMID, nullptr);
        return nullptr;
    }
    const xcb_shm_seg_t id = xcb_generate_id(connection);
    xcb_generic_error_t* error =
        xcb_request_check(connection, xcb_shm_attach_checked(connection, id, uint32_t(shmId), 0));
    shmctl(shmId, IPC_RMID, nullptr);
    if (error) {
        free(error);
        shmdt(memory);
        return nullptr;
    }
    return new TSegment{connection, id, static_cast<uchar*>(memory), size};
}

TSegment* segmentFor(xcb_connection_t* connection, size_t size) {
    TSegment* segment = nullptr;
    {
        const std::lock_guard lock(segmentsLock);
        std::swap(segment, spare);
        if (segment && (segment->connection != connection || segment->size != size)) {
            unwanted.push_back(segment);
            segment = nullptr;
        }
    }
    dropUnwanted();
    return segment ? segment : newSegment(connection, size);
}

// True when the root window's pixels are 32-bit words of 8-bit red, green and blue in the order
// of Format_ARGB32 on this machine.
bool rootMatchesArgb32(xcb_connection_t* connection, const xcb_screen_t* screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
    if (screen->root_depth != 24 && screen->root_depth != 32) return false;
    bool wordPixels = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats))
        if (formats.data->depth == screen->root_depth)
            wordPixels = formats.data->bits_per_pixel == 32;
    if (!wordPixels) return false;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen->root_visual)
                return visuals.data->red_mask == 0xFF0000u && visuals.data->green_mask == 0xFF00u &&
                       visuals.data->blue_mask == 0xFFu;
    return false;
}

} // namespace

namespace Platform {

QImage grabX11Desktop(QRect area) {
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian || area.isEmpty() || area.width() > 0x7FFF ||
        area.height() > 0x7FFF)
        return {};
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return {};
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present) return {};
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen || !rootMatchesArgb32(connection, screen)) return {};

    const size_t bytes = size_t(area.width()) * size_t(area.height()) * 4;
    TSegment* segment = segmentFor(connection, bytes);
    if (!segment) return {};
    xcb_generic_error_t* error = nullptr;
    xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(
        connection,
        xcb_shm_get_image(connection, screen->root, int16_t(area.x()), int16_t(area.y()),
                          uint16_t(area.width()), uint16_t(area.height()), ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id, 0),
        &error);
    free(error);
    if (!reply) {
        pictureLetGo(segment);
        return {};
    }
    free(reply);

    // The server leaves the top byte of a 24-bit pixel as it likes.
    auto* pixel = reinterpret_cast<uint32_t*>(segment->memory);
    for (auto* end = pixel + bytes / 4; pixel != end; ++pixel)
        *pixel |= 0xFF000000u;
    return QImage(segment->memory, area.width(), area.height(), qsizetype(area.width()) * 4,
                  QImage::Format_ARGB32, pictureLetGo, segment);
}

void prepareX11Desktop(QRect area) {
    grabX11Desktop(area);
}

} // namespace Platform

#else

namespace Platform {

QImage grabX11Desktop(QRect) {
    return {};
}

void prepareX11Desktop(QRect) {}

} // namespace Platform

#endif
