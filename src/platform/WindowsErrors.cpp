#include "platform/WindowsErrors.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace WindowsErrors {

QString text(std::uint32_t code) {
    QString words;
#ifdef _WIN32
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length) words = QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
    if (buffer) LocalFree(buffer);
#endif
    return words.isEmpty() ? QStringLiteral("Windows error %1.").arg(code) : words;
}

} // namespace WindowsErrors
