#pragma once

#include <thread>

// Reads the font system's configuration on a thread of its own while the program connects to the
// display, so the first text the window measures finds it ready instead of waiting for it. Where
// the fonts need no such start (Windows) it does nothing.
class TFontWarmup {
public:
    TFontWarmup();
    ~TFontWarmup();
    TFontWarmup(const TFontWarmup&) = delete;
    TFontWarmup& operator=(const TFontWarmup&) = delete;

    // Returns once the configuration is read; then the toolkit's first font finds it complete.
    void wait();

private:
    std::thread m_thread;
};
