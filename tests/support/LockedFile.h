#pragma once

// Holds a file open for reading the way another Windows program can: by
// default sharing it with nobody, so that until the scope ends nobody else
// opens it to read, copy, replace or delete it; with `share`, as most readers
// hold a file (FILE_SHARE_READ | FILE_SHARE_WRITE: it can be read and written,
// but not renamed over or deleted). Windows only; other systems have no such
// lock.
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
    explicit TLockedFile(const QString& path, DWORD share = 0)
        : handle_(::CreateFileW(
              reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
              GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~TLockedFile() { release(); }
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (held()) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

#endif
