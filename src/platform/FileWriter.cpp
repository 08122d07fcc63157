#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include "platform/WindowsErrors.h"

#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace FileWriter {

namespace {

TResult failed(QString error) {
    return {false, std::move(error)};
}

// The words for an errno code. Not the system category: on Windows that one reads the number as a
// Windows error code, and a full disk would come out as a printer out of paper.
QString systemText(int code) {
    return QString::fromStdString(std::generic_category().message(code));
}

// Qt leaves a write the disk cut short without an error of its own; errno
// still says why.
QString writeError(const QFileDevice& file, int code) {
    if (file.error() != QFileDevice::NoError) return file.errorString();
    if (code != 0) return systemText(code);
    return QStringLiteral("The disk is full");
}

// A rename is only an entry in the folder: until the folder reaches the disk,
// a power cut may bring the old file back, or none at all.
TResult syncFolderOf(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return failed(systemText(errno));
    const int result = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; the file itself is on disk.
    if (result != 0 && code != EINVAL && code != ENOTSUP) return failed(systemText(code));
#else
    Q_UNUSED(path);
#endif
    return {true, {}};
}

#ifdef Q_OS_WIN
const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

#endif
// Writes the bytes to the open, unbuffered handle; answers the error.
auto bytesFill(QByteArrayView bytes) {
    return [bytes](QFile& out) {
        errno = 0;
        if (out.write(bytes.data(), bytes.size()) != bytes.size()) return writeError(out, errno);
        return QString();
    };
}

// Writes a new file beside `path` and has `put` move it to its place; `fill`
// writes its bytes to the open, unbuffered handle and answers the error, and
// `put` gets the new file's name and answers the result.
// A new file's name, removed again when it goes out of scope unless kept.
class TNewFile {
public:
    explicit TNewFile(QString name) : m_name(std::move(name)) {}
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;
    ~TNewFile() {
        if (!m_kept) QFile::remove(m_name);
    }
    const QString& name() const { return m_name; }
    void keep() { m_kept = true; }

private:
    QString m_name;
    bool m_kept = false;
};

template <class Fill, class Put>
TResult placeBeside(const QString& path, Fill fill, Put put) {
    // Beside the target, so that putting it in place is a rename within one
    // folder, never a copy. The temporary file object only finds a free name:
    // it holds its file open until it is destroyed, and on Windows an open
    // file cannot be renamed.
    QString name;
    {
        QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.new-XXXXXX"));
        if (!temp.open()) return failed(temp.errorString());
        temp.setAutoRemove(false);
        name = temp.fileName();
    }
    TNewFile written(name);
    // Unbuffered: Qt counts a partly flushed buffer as success.
    QFile out(name);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(out.errorString());
    if (QString error = fill(out); !error.isEmpty()) return failed(std::move(error));
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0) return failed(systemText(errno));
#elif defined(Q_OS_WIN)
    // The C runtime's name for FlushFileBuffers. A folder is no file there and cannot be synced:
    // the rename is kept by the file system's own journal.
    if (::_commit(out.handle()) != 0) return failed(systemText(errno));
#endif
    out.close();
    if (TResult placed = put(name); !placed) return placed;
    written.keep();
    return syncFolderOf(path);
}

// Puts a new file in place under a name that must not exist yet.
template <class Fill>
TResult placeNew(const QString& path, Fill fill) {
    return placeBeside(path, fill, [&path](const QString& written) {
        QFile file(written);
        if (!file.rename(path)) return failed(file.errorString());
        return TResult{true, {}};
    });
}

#ifdef Q_OS_WIN

// A rename over a file another program holds open without letting it be
// replaced; readers, indexers and virus scanners often hold one for a moment.
bool heldByAnother(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
           code == ERROR_ACCESS_DENIED;
}

// Answers the error code. Not ReplaceFileW: where it cannot remove the old file
// some of its implementations leave a temporary file of their own behind.
DWORD putInPlace(const QString& written, const QString& path) {
    return MoveFileExW(wide(QDir::toNativeSeparators(written)),
                       wide(QDir::toNativeSeparators(path)),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

// Waits about two seconds for a holder to let go before the save is given
// up; the old file stays whole meanwhile, and the new one beside it.
TResult replaceOnWindows(const QString& path, QByteArrayView bytes) {
    // Not every file system refuses to rename over a file marked read-only,
    // and waiting would not change the mark.
    const DWORD attributes = GetFileAttributesW(wide(QDir::toNativeSeparators(path)));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return failed(WindowsErrors::text(ERROR_ACCESS_DENIED) +
                      QStringLiteral(" The file is marked read-only."));
    return placeBeside(path, bytesFill(bytes), [&path](const QString& written) {
        constexpr int kTries = 20;
        constexpr DWORD kPauseMs = 100;
        for (int attempt = 1;; ++attempt) {
            const DWORD code = putInPlace(written, path);
            if (code == ERROR_SUCCESS) return TResult{true, {}};
            const bool waitable = heldByAnother(code);
            if (!waitable || attempt == kTries) {
                QString text = WindowsErrors::text(code);
                if (waitable)
                    text += QStringLiteral(
                        " Another program has the file open: close it there, then try again.");
                return failed(text);
            }
            Sleep(kPauseMs);
        }
    });
}

#endif

} // namespace

TResult replace(const QString& path, QByteArrayView bytes) {
    // The temporary file is renamed over the target: over a device that would
    // swap the device for a plain file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return failed(QStringLiteral("Not a regular file"));
#ifdef Q_OS_WIN
    return replaceOnWindows(path, bytes);
#else
    QSaveFile file(path);
    // Unbuffered, so a write the disk cuts short is seen here: Qt's buffered
    // flush at commit() counts a partly written buffer as success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(file.errorString());
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        QString error = writeError(file, errno);
        file.cancelWriting();
        return failed(std::move(error));
    }
    // commit() syncs the new file before the rename; errors the system reports
    // only when the data reaches the disk show here.
    if (!file.commit()) return failed(file.errorString());
    return syncFolderOf(path);
#endif
}

TResult createNew(const QString& path, QByteArrayView bytes) {
    return placeNew(path, bytesFill(bytes));
}

TResult copyNew(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return failed(in.errorString());
    // In pieces: the file may be one too large to read at all.
    return placeNew(to, [&in](QFile& out) {
        QByteArray chunk;
        while (!in.atEnd()) {
            chunk = in.read(1 << 20);
            if (in.error() != QFileDevice::NoError) return in.errorString();
            errno = 0;
            if (out.write(chunk) != chunk.size()) return writeError(out, errno);
            if (chunk.isEmpty()) break;
        }
        return QString();
    });
}

} // namespace FileWriter
