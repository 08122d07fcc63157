#include "support/TextFile.h"

#include "platform/AnsiCodePage.h"
#include "support/FileOps.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace TextFile {

namespace {

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0x7F) return false;
    return true;
}

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF and no
// sequence cut off at the end. A plain scan, so that the choice of encoding
// does not depend on how Qt's decoder reports errors.
bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2;
            code = b & 0x1F;
            least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            code = b & 0x0F;
            least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            code = b & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (n - i < length) return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80) return false;
            code = (code << 6) | (c & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// The file's own mark has been cut off already; a second one is text.
QString decodeAs(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom |
                                         QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    // A UTF-16 file cut off after an odd byte: keep a trace of the lost half.
    if ((encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE) &&
        bytes.size() % 2 != 0 && (text.isEmpty() || text.back() != QChar::ReplacementCharacter))
        text += QChar(QChar::ReplacementCharacter);
    return text;
}

} // namespace

QString decode(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF")) return decodeAs(QStringConverter::Utf8, view.sliced(3));
    if (bytes.startsWith("\xFF\xFE")) return decodeAs(QStringConverter::Utf16LE, view.sliced(2));
    if (bytes.startsWith("\xFE\xFF")) return decodeAs(QStringConverter::Utf16BE, view.sliced(2));
    if (isValidUtf8(bytes)) return decodeAs(QStringConverter::Utf8, view);
    return AnsiCodePage::decode(bytes);
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
    const FileOps::TResult written = FileOps::writeFile(path, encode(text));
    return {written.ok, written.error};
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

} // namespace TextFile
