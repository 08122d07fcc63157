#include "support/FileOps.h"

#include "platform/FileWriter.h"

#include <QFile>

namespace FileOps {

namespace {

TResult failed(QString error) {
    return {false, std::move(error)};
}

TResult from(FileWriter::TResult written) {
    return {written.ok, std::move(written.error)};
}

} // namespace

TResult writeFile(const QString& path, QByteArrayView bytes) {
    return from(FileWriter::replace(path, bytes));
}

TResult writeNewFile(const QString& path, QByteArrayView bytes) {
    return from(FileWriter::createNew(path, bytes));
}

TResult renameFile(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.rename(to)) return failed(file.errorString());
    return {true, {}};
}

TResult copyFile(const QString& from, const QString& to) {
    // Qt's own copy would refuse an existing target too, but the bytes of
    // every write go through the one writer.
    if (QFile::exists(to)) return failed(QStringLiteral("Destination file exists"));
    return FileOps::from(FileWriter::copyNew(from, to));
}

TResult removeFile(const QString& path) {
    QFile file(path);
    if (!file.remove()) return failed(file.errorString());
    return {true, {}};
}

} // namespace FileOps
