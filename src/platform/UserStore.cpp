#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

// The file is UTF-8 text:
//
//   ; comment
//   [key path]
//   name=sz:text
//   name=dword:-12
//   name=hex:0a0b0c
//
// Names and texts are escaped so that any string survives: a backslash starts
// \\ \n \r \t \xHH or \uHHHH (the last only for halves of a surrogate pair that
// stand alone); names also escape "=", "[", "]" and ";". Raw control characters never
// appear, so a file holding any is not one of ours.

struct TUserStore::TValue {
    QString name;
    TStoreKind kind = TStoreKind::None;
    QString text;
    qint32 number = 0;
    QByteArray bytes;
};

struct TUserStore::TKey {
    QString path;
    std::vector<TValue> values;
};

struct TUserStore::TFile {
    std::vector<TKey> keys;
};

namespace {

const QString StoreFileName = QStringLiteral("Vextora/Huesplinter.conf");
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

constexpr QStringView NameSpecials = u"=[];";

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

void appendHex(QString& out, char16_t unit, int digits) {
    out += QString::number(unit, 16).rightJustified(digits, QLatin1Char('0')).toUpper();
}

QString escape(QStringView text, QStringView specials = {}) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QLatin1String("\\u");
            appendHex(out, u, 4);
        } else if (u == u'\\') {
            out += QLatin1String("\\\\");
        } else if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (u == u'\t') {
            out += QLatin1String("\\t");
        } else if (u < 0x20 || u == 0x7F || specials.contains(c)) {
            out += QLatin1String("\\x");
            appendHex(out, u, 2);
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<char16_t> hexUnit(QStringView digits) {
    // Only plain digits: a sign or spaces mean the file is not ours.
    char16_t value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0) return std::nullopt;
        value = static_cast<char16_t>(value * 16 + digit);
    }
    return value;
}

std::optional<QString> unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i].unicode()) {
        case u'\\':
            out += QLatin1Char('\\');
            break;
        case u'n':
            out += QLatin1Char('\n');
            break;
        case u'r':
            out += QLatin1Char('\r');
            break;
        case u't':
            out += QLatin1Char('\t');
            break;
        case u'x':
        case u'u': {
            const qsizetype width = text[i] == QLatin1Char('x') ? 2 : 4;
            if (i + 1 + width > text.size()) return std::nullopt;
            const std::optional<char16_t> unit = hexUnit(text.mid(i + 1, width));
            if (!unit) return std::nullopt;
            out += QChar(*unit);
            i += width;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

bool hasRawControl(QStringView line) {
    for (const QChar c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    return false;
}

std::optional<QByteArray> parseHexBytes(QStringView text) {
    if (text.size() % 2 != 0) return std::nullopt;
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const std::optional<char16_t> unit = hexUnit(text.mid(i, 2));
        if (!unit) return std::nullopt;
        bytes.append(static_cast<char>(*unit));
    }
    return bytes;
}

QString kindName(TStoreKind kind) {
    switch (kind) {
    case TStoreKind::String:
        return QStringLiteral("a string");
    case TStoreKind::Integer:
        return QStringLiteral("a 32-bit integer");
    case TStoreKind::Binary:
        return QStringLiteral("binary data");
    case TStoreKind::None:
        break;
    }
    return QStringLiteral("nothing");
}

QString keyMissingText(const QString& key) {
    return QStringLiteral("The settings key \"%1\" does not exist.").arg(key);
}

} // namespace

TUserStore::TUserStore(const QString& configFolder) {
    QString folder = configFolder;
    if (folder.isEmpty()) folder = qEnvironmentVariable("HUESPLINTER_CONFIG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!folder.isEmpty()) fileName_ = QDir(folder).filePath(StoreFileName);
}

TUserStore::TFile TUserStore::load() const {
    TFile file;
    QFile in(fileName_);
    if (fileName_.isEmpty() || !in.open(QIODevice::ReadOnly) || in.size() > MaxFileSize)
        return file;
    const QByteArray bytes = in.readAll();
    QStringDecoder decoder(QStringConverter::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError()) return file;
    // Editors may put a byte-order mark in front.
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    TKey* key = nullptr;
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (hasRawControl(line)) return {};
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3) return {};
            const std::optional<QString> path = unescape(line.mid(1, line.size() - 2));
            if (!path || path->isEmpty()) return {};
            key = nullptr;
            for (TKey& k : file.keys)
                if (sameName(k.path, *path)) key = &k;
            if (!key) {
                file.keys.push_back({*path, {}});
                key = &file.keys.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!key || eq < 0) return {};
        const std::optional<QString> name = unescape(line.left(eq));
        if (!name) return {};
        const QStringView data = line.mid(eq + 1);
        TValue value;
        value.name = *name;
        if (data.startsWith(QLatin1String("sz:"))) {
            const std::optional<QString> t = unescape(data.mid(3));
            if (!t) return {};
            value.kind = TStoreKind::String;
            value.text = *t;
        } else if (data.startsWith(QLatin1String("dword:"))) {
            bool ok = false;
            const QStringView digits = data.mid(6);
            value.number = digits.toInt(&ok);
            if (!ok || digits.trimmed() != digits) return {};
            value.kind = TStoreKind::Integer;
        } else if (data.startsWith(QLatin1String("hex:"))) {
            const std::optional<QByteArray> b = parseHexBytes(data.mid(4));
            if (!b) return {};
            value.kind = TStoreKind::Binary;
            value.bytes = *b;
        } else {
            return {};
        }
        auto same = std::find_if(key->values.begin(), key->values.end(),
                                 [&](const TValue& v) { return sameName(v.name, value.name); });
        if (same != key->values.end())
            *same = std::move(value);
        else
            key->values.push_back(std::move(value));
    }
    return file;
}

TStoreStatus TUserStore::save(const TFile& file) const {
    QString text = QStringLiteral("; Huesplinter per-user settings\n");
    for (const TKey& key : file.keys) {
        text += QLatin1Char('\n');
        text += QLatin1Char('[') + escape(key.path, NameSpecials) + QLatin1String("]\n");
        for (const TValue& value : key.values) {
            text += escape(value.name, NameSpecials) + QLatin1Char('=');
            switch (value.kind) {
            case TStoreKind::String:
                text += QLatin1String("sz:") + escape(value.text);
                break;
            case TStoreKind::Integer:
                text += QLatin1String("dword:") + QString::number(value.number);
                break;
            case TStoreKind::Binary:
                text += QLatin1String("hex:") + QString::fromLatin1(value.bytes.toHex());
                break;
            case TStoreKind::None:
                break;
            }
            text += QLatin1Char('\n');
        }
    }

    const auto failed = [this](const QString& why) {
        return TStoreStatus{false,
                            QStringLiteral("The settings file \"%1\" could not be written: %2")
                                .arg(fileName_, why)};
    };
    if (fileName_.isEmpty()) return failed(QStringLiteral("there is no configuration folder."));
    if (!QDir().mkpath(QFileInfo(fileName_).absolutePath()))
        return failed(QStringLiteral("its folder cannot be created."));
    QSaveFile out(fileName_);
    if (!out.open(QIODevice::WriteOnly)) return failed(out.errorString());
    const QByteArray bytes = text.toUtf8();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return failed(out.errorString());
    }
    if (!out.commit()) return failed(out.errorString());
    return {};
}

bool TUserStore::keyExists(const QString& key) const {
    const TFile file = load();
    return std::any_of(file.keys.begin(), file.keys.end(),
                       [&](const TKey& k) { return sameName(k.path, key); });
}

bool TUserStore::openKeyReadOnly(const QString& key) {
    closeKey();
    if (!keyExists(key)) {
        lastError_ = keyMissingText(key);
        return false;
    }
    key_ = key;
    lastError_.clear();
    return true;
}

bool TUserStore::openKey(const QString& key, bool canCreate) {
    closeKey();
    if (key.isEmpty()) {
        lastError_ = QStringLiteral("A settings key needs a name.");
        return false;
    }
    TFile file = load();
    const bool exists = std::any_of(file.keys.begin(), file.keys.end(),
                                    [&](const TKey& k) { return sameName(k.path, key); });
    if (!exists) {
        if (!canCreate) {
            lastError_ = keyMissingText(key);
            return false;
        }
        file.keys.push_back({key, {}});
        const TStoreStatus saved = save(file);
        if (!saved) {
            lastError_ = saved.error;
            return false;
        }
    }
    key_ = key;
    writable_ = true;
    lastError_.clear();
    return true;
}

void TUserStore::closeKey() {
    key_.clear();
    writable_ = false;
}

const TUserStore::TValue* TUserStore::findValue(const TFile& file, const QString& name,
                                                QString& error) const {
    if (!isOpen()) {
        error = QStringLiteral("No settings key is open.");
        return nullptr;
    }
    for (const TKey& key : file.keys) {
        if (!sameName(key.path, key_)) continue;
        for (const TValue& value : key.values)
            if (sameName(value.name, name)) return &value;
        error = QStringLiteral("The value \"%1\" does not exist.").arg(name);
        return nullptr;
    }
    error = keyMissingText(key_);
    return nullptr;
}

bool TUserStore::valueExists(const QString& name) const {
    return valueKind(name) != TStoreKind::None;
}

TStoreKind TUserStore::valueKind(const QString& name) const {
    QString error;
    const TFile file = load();
    const TValue* value = findValue(file, name, error);
    return value ? value->kind : TStoreKind::None;
}

QStringList TUserStore::valueNames() const {
    QStringList names;
    if (!isOpen()) return names;
    const TFile file = load();
    for (const TKey& key : file.keys)
        if (sameName(key.path, key_))
            for (const TValue& value : key.values)
                names.append(value.name);
    return names;
}

namespace {

template <class T>
TStoreResult<T> failure(QString error) {
    TStoreResult<T> result;
    result.error = std::move(error);
    return result;
}

QString wrongKindText(const QString& name, TStoreKind wanted) {
    return QStringLiteral("The value \"%1\" does not hold %2.").arg(name, kindName(wanted));
}

} // namespace

TStoreResult<QString> TUserStore::readString(const QString& name) const {
    QString error;
    const TFile file = load();
    const TValue* value = findValue(file, name, error);
    if (!value) return failure<QString>(error);
    if (value->kind != TStoreKind::String)
        return failure<QString>(wrongKindText(name, TStoreKind::String));
    return {true, value->text, {}};
}

TStoreResult<qint32> TUserStore::readInteger(const QString& name) const {
    QString error;
    const TFile file = load();
    const TValue* value = findValue(file, name, error);
    if (!value) return failure<qint32>(error);
    if (value->kind != TStoreKind::Integer)
        return failure<qint32>(wrongKindText(name, TStoreKind::Integer));
    return {true, value->number, {}};
}

TStoreResult<QByteArray> TUserStore::readBinary(const QString& name) const {
    QString error;
    const TFile file = load();
    const TValue* value = findValue(file, name, error);
    if (!value) return failure<QByteArray>(error);
    if (value->kind != TStoreKind::Binary)
        return failure<QByteArray>(wrongKindText(name, TStoreKind::Binary));
    return {true, value->bytes, {}};
}

TStoreResult<qsizetype> TUserStore::readBinaryInto(const QString& name, void* record,
                                                   qsizetype recordSize) const {
    const TStoreResult<QByteArray> data = readBinary(name);
    if (!data) return failure<qsizetype>(data.error);
    if (data.value.size() > recordSize)
        return failure<qsizetype>(
            QStringLiteral("The value \"%1\" holds %2 bytes, more than the %3 it is read into.")
                .arg(name)
                .arg(data.value.size())
                .arg(recordSize));
    if (!data.value.isEmpty())
        std::memcpy(record, data.value.constData(), static_cast<size_t>(data.value.size()));
    return {true, data.value.size(), {}};
}

TStoreStatus TUserStore::write(const QString& name, TValue value) {
    if (!isOpen()) return {false, QStringLiteral("No settings key is open.")};
    if (!writable_)
        return {false,
                QStringLiteral("The settings key \"%1\" is open for reading only.").arg(key_)};
    TFile file = load();
    auto key = std::find_if(file.keys.begin(), file.keys.end(),
                            [&](const TKey& k) { return sameName(k.path, key_); });
    // Another store may have removed the key meanwhile; an open key for
    // writing behaves as created.
    if (key == file.keys.end()) {
        file.keys.push_back({key_, {}});
        key = file.keys.end() - 1;
    }
    value.name = name;
    auto same = std::find_if(key->values.begin(), key->values.end(),
                             [&](const TValue& v) { return sameName(v.name, name); });
    if (same != key->values.end()) {
        value.name = same->name;
        *same = std::move(value);
    } else {
        key->values.push_back(std::move(value));
    }
    return save(file);
}

TStoreStatus TUserStore::writeString(const QString& name, const QString& text) {
    TValue value;
    value.kind = TStoreKind::String;
    value.text = text;
    return write(name, std::move(value));
}

TStoreStatus TUserStore::writeInteger(const QString& name, qint32 number) {
    TValue value;
    value.kind = TStoreKind::Integer;
    value.number = number;
    return write(name, std::move(value));
}

TStoreStatus TUserStore::writeBinary(const QString& name, QByteArrayView data) {
    TValue value;
    value.kind = TStoreKind::Binary;
    value.bytes = data.toByteArray();
    return write(name, std::move(value));
}

TStoreStatus TUserStore::deleteValue(const QString& name) {
    if (!isOpen()) return {false, QStringLiteral("No settings key is open.")};
    if (!writable_)
        return {false,
                QStringLiteral("The settings key \"%1\" is open for reading only.").arg(key_)};
    TFile file = load();
    for (TKey& key : file.keys) {
        if (!sameName(key.path, key_)) continue;
        const auto removed =
            std::erase_if(key.values, [&](const TValue& v) { return sameName(v.name, name); });
        if (removed == 0)
            return {false, QStringLiteral("The value \"%1\" does not exist.").arg(name)};
        return save(file);
    }
    return {false, keyMissingText(key_)};
}

bool TUserStore::deleteKey(const QString& key) {
    TFile file = load();
    const auto removed =
        std::erase_if(file.keys, [&](const TKey& k) { return sameName(k.path, key); });
    if (removed == 0) return true;
    if (sameName(key, key_)) closeKey();
    return save(file).ok;
}
