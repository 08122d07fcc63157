#include "support/TextFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

namespace {

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0x7F) return false;
    return true;
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() only describes the work; the conversion (and the error check) happens when the
    // result becomes a string.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeLegacy(const QByteArray& bytes) {
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid()) return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace

QString decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        return decoder.decode(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    if (isValidUtf8(bytes)) return QString::fromUtf8(bytes);
    return decodeLegacy(bytes);
}

QByteArray encode(const QString& text) {
    if (isAscii(text)) return text.toLatin1();
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

TReadResult read(const QString& path, qint64 cap) {
    TReadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QCoreApplication::translate("TextFile", "No such file or directory");
        return result;
    }
    if (!info.isFile()) {
        result.error = QCoreApplication::translate("TextFile", "Not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > cap) {
        result.error =
            QCoreApplication::translate("TextFile", "File too large (over %1 bytes)").arg(cap);
        return result;
    }
    // Read at most one byte past the cap: a file that grew since the size
    // check still cannot make us read without bound.
    const QByteArray bytes = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (bytes.size() > cap) {
        result.error =
            QCoreApplication::translate("TextFile", "File too large (over %1 bytes)").arg(cap);
        return result;
    }
    result.text = decode(bytes);
    result.ok = true;
    return result;
}

TWriteResult write(const QString& path, const QString& text) {
    TWriteResult result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    const QByteArray bytes = encode(text);
    // The write only fills the device's buffer; a full disk shows up at the
    // flush, which commit() would not report, so flush here and check it.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace TextFile
