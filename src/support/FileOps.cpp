#include "support/FileOps.h"

#include "support/Kxfunctions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>

namespace FileOps {

namespace {

TResult failed(QString error) {
    return {false, std::move(error)};
}

// Qt leaves a write the disk cut short without an error of its own; errno
// still says why.
QString writeError(const QFileDevice& file) {
    const int code = errno;
    if (file.error() != QFileDevice::NoError) return file.errorString();
    if (code != 0) return SystemErrorText(code);
    return QCoreApplication::translate("FileOps", "The disk is full");
}

} // namespace

TResult writeFile(const QString& path, QByteArrayView bytes) {
    // The temporary file is renamed over the target: over a device that would
    // swap the device for a plain file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return failed(QCoreApplication::translate("FileOps", "Not a regular file"));
    QSaveFile file(path);
    // Unbuffered, so a write the disk cuts short is seen here: Qt's buffered
    // flush at commit() counts a partly written buffer as success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(file.errorString());
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const int code = errno;
        QString error = file.error() != QFileDevice::NoError ? file.errorString()
                        : code != 0                          ? SystemErrorText(code)
                                    : QCoreApplication::translate("FileOps", "The disk is full");
        file.cancelWriting();
        return failed(std::move(error));
    }
    // Errors the system reports only when the data reaches the disk show here.
    if (!file.commit()) return failed(file.errorString());
    return {true, {}};
}

TResult writeNewFile(const QString& path, QByteArrayView bytes) {
    // The bytes go to a temporary file beside the target first, which a rename
    // that refuses an existing target then puts in place.
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.new-XXXXXX"));
    if (!temp.open()) return failed(temp.errorString());
    // A second, unbuffered handle: the temporary file's own is buffered, and
    // Qt counts a partly flushed buffer as success.
    QFile out(temp.fileName());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(out.errorString());
    errno = 0;
    if (out.write(bytes.data(), bytes.size()) != bytes.size()) return failed(writeError(out));
    out.close();
    if (!temp.rename(path)) return failed(temp.errorString());
    temp.setAutoRemove(false);
    return {true, {}};
}

TResult renameFile(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.rename(to)) return failed(file.errorString());
    return {true, {}};
}

TResult copyFile(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.copy(to)) return failed(file.errorString());
    return {true, {}};
}

TResult removeFile(const QString& path) {
    QFile file(path);
    if (!file.remove()) return failed(file.errorString());
    return {true, {}};
}

} // namespace FileOps
