#pragma once

// Holds a file open the way another Windows program can, sharing it with
// nobody: until the scope ends, nobody else opens it to read, copy, replace
// or delete it. Windows only; other systems have no such lock.
#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <QDir>
#include <QString>

class TLockedFile {
public:
    explicit TLockedFile(const QString& path)
        : handle_(::CreateFileW(
              reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
              GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~TLockedFile() {
        if (held()) ::CloseHandle(handle_);
    }
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

#endif
