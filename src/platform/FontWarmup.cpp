#include "platform/FontWarmup.h"

#if HUESPLINTER_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

TFontWarmup::TFontWarmup() {
#if HUESPLINTER_FONTCONFIG
    // The library makes one configuration for the whole process, and keeps the first one made
    // should two threads race for it, so the toolkit asking early is harmless.
    m_thread = std::thread([] { FcInit(); });
#endif
}

TFontWarmup::~TFontWarmup() {
    wait();
}

void TFontWarmup::wait() {
    if (m_thread.joinable()) m_thread.join();
}
