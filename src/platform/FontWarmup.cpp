#include "platform/FontWarmup.h"

#if HUESPLINTER_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <system_error>
#endif

TFontWarmup::TFontWarmup() {
#if HUESPLINTER_FONTCONFIG
    // The library makes one configuration for the whole process, and keeps the first one made
    // should two threads race for it, so the toolkit asking early is harmless.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without a thread to spare the toolkit starts the font system itself, as it always could.
    }
#endif
}

TFontWarmup::~TFontWarmup() {
    wait();
}

void TFontWarmup::wait() {
    if (m_thread.joinable()) m_thread.join();
}
