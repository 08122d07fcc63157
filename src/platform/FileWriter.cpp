#include "platform/FileWriter.h"

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
#include <io.h>
#endif

namespace FileWriter {

namespace {

TResult failed(QString error) {
    return {false, std::move(error)};
}

QString systemText(int code) {
    return QString::fromStdString(std::system_category().message(code));
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

} // namespace

TResult replace(const QString& path, QByteArrayView bytes) {
    // The temporary file is renamed over the target: over a device that would
    // swap the device for a plain file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return failed(QStringLiteral("Not a regular file"));
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
}

namespace {

// Puts a new file in place under a name that must not exist yet; `fill`
// writes its bytes to the open, unbuffered handle and answers the error.
template <class Fill>
TResult placeNew(const QString& path, Fill fill) {
    // The bytes go to a temporary file beside the target first, which a rename
    // that refuses an existing target then puts in place.
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.new-XXXXXX"));
    if (!temp.open()) return failed(temp.errorString());
    // A second, unbuffered handle: the temporary file's own is buffered, and
    // Qt counts a partly flushed buffer as success.
    QFile out(temp.fileName());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(out.errorString());
    if (QString error = fill(out); !error.isEmpty()) return failed(std::move(error));
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0) return failed(systemText(errno));
#elif defined(Q_OS_WIN)
    // The C runtime's name for FlushFileBuffers. A folder is no file there and cannot be synced:
    // the rename is kept by the file system's own journal.
    if (::_commit(out.handle()) != 0)
        return failed(QString::fromStdString(std::generic_category().message(errno)));
#endif
    out.close();
    if (!temp.rename(path)) return failed(temp.errorString());
    temp.setAutoRemove(false);
    return syncFolderOf(path);
}

} // namespace

TResult createNew(const QString& path, QByteArrayView bytes) {
    return placeNew(path, [bytes](QFile& out) {
        errno = 0;
        if (out.write(bytes.data(), bytes.size()) != bytes.size()) return writeError(out, errno);
        return QString();
    });
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
