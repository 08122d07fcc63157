#include "platform/Console.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#endif

namespace Console {

#ifdef _WIN32

void attachToParent() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
    // Started from the desktop, not a command prompt: there is nowhere to write.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (std::freopen("CONOUT$", "w", stdout) == nullptr) return;
    if (std::freopen("CONOUT$", "w", stderr) == nullptr) return;
}

#else

void attachToParent() {}

#endif

} // namespace Console
