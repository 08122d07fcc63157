#include "platform/UserStoreFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

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
// stand alone); names also escape "=", "[", "]" and ";". Raw control characters
// never appear, so a line holding any is damaged.

namespace {

constexpr QStringView NameSpecials = u"=[];";

QString folded(const QString& name) {
    return name.toCaseFolded();
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
    // Only plain digits: a sign or spaces mean the line is not ours.
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

// Reads the data after "name=" into the value; answers why it could not, or
// null when it could.
const char* parseData(QStringView data, TStoredValue& value) {
    if (data.startsWith(QLatin1String("sz:"))) {
        const std::optional<QString> t = unescape(data.mid(3));
        if (!t) return "its text has a broken escape";
        value.kind = TStoreKind::String;
        value.text = *t;
    } else if (data.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const QStringView digits = data.mid(6);
        const int number = digits.toInt(&ok);
        if (!ok || digits.trimmed() != digits) return "it is no 32-bit integer";
        value.kind = TStoreKind::Integer;
        value.number = number;
    } else if (data.startsWith(QLatin1String("hex:"))) {
        const std::optional<QByteArray> b = parseHexBytes(data.mid(4));
        if (!b) return "its bytes are not pairs of hexadecimal digits";
        value.kind = TStoreKind::Binary;
        value.bytes = *b;
    } else {
        return "its kind is unknown";
    }
    return nullptr;
}

// Null when the line is not UTF-8. A leading U+FEFF is part of the line, not a
// byte-order mark: a name may begin with one, and dropping it would rename the
// value each time the file is read.
std::optional<QString> fromUtf8(QByteArrayView line) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(line);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

} // namespace

TUserStoreFile TUserStoreFile::parse(QByteArrayView bytes) {
    TUserStoreFile file;
    // Editors may put a byte-order mark in front.
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);

    // Null before the first key and after a key line that could not be read:
    // such values have no key to go to.
    TKey* key = nullptr;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        // A line ends at CR LF, LF or a lone CR, whichever editor wrote it.
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++start;
        ++lineNumber;
        if (raw.isEmpty() || raw.startsWith(';')) continue;

        std::optional<QString> decoded = fromUtf8(raw);
        const bool utf8 = decoded.has_value();
        const QString line = utf8 ? std::move(*decoded) : QString::fromLatin1(raw);
        if (line.startsWith(QLatin1Char('['))) {
            std::optional<QString> path;
            if (utf8 && !hasRawControl(line) && line.endsWith(QLatin1Char(']')) && line.size() >= 3)
                path = unescape(QStringView(line).mid(1, line.size() - 2));
            if (!path || path->isEmpty()) {
                file.damaged_ = true;
                key = nullptr;
                continue;
            }
            key = &file.keyFor(*path);
            continue;
        }
        if (!key) {
            file.damaged_ = true;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        std::optional<QString> name;
        if (eq >= 0) {
            const QStringView rawName = QStringView(line).left(eq);
            // In a line that is not UTF-8 only a plain ASCII name is trusted.
            const bool ascii = std::all_of(rawName.begin(), rawName.end(),
                                           [](QChar c) { return c.unicode() < 0x80; });
            if (!hasRawControl(rawName) && (utf8 || ascii)) name = unescape(rawName);
        }
        // An empty name is the key's default value, as in the registry.
        if (!name) {
            file.damaged_ = true;
            continue;
        }
        TStoredValue value;
        value.name = *name;
        const char* why = !utf8                 ? "it is not UTF-8 text"
                          : hasRawControl(line) ? "it holds control characters"
                                                : parseData(QStringView(line).mid(eq + 1), value);
        if (why) {
            value = TStoredValue{};
            value.name = *name;
            value.damage = QStringLiteral("line %1 of the settings file is damaged: %2")
                               .arg(lineNumber)
                               .arg(QString::fromLatin1(why));
            file.damaged_ = true;
        }
        // A value named twice takes the later line, as every write would.
        const QString id = folded(value.name);
        const auto at = key->index.constFind(id);
        if (at != key->index.constEnd()) {
            value.name = key->values[*at].name;
            key->values[*at] = std::move(value);
        } else {
            key->index.insert(id, key->values.size());
            key->values.push_back(std::move(value));
        }
    }
    return file;
}

QByteArray TUserStoreFile::toBytes() const {
    QString text = QStringLiteral("; Huesplinter per-user settings\n");
    for (const TKey& key : keys_) {
        text += QLatin1Char('\n');
        text += QLatin1Char('[') + escape(key.path, NameSpecials) + QLatin1String("]\n");
        for (const TStoredValue& value : key.values) {
            if (value.kind == TStoreKind::None) continue;
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
    return text.toUtf8();
}

TUserStoreFile::TKey* TUserStoreFile::findKey(const QString& key) {
    const auto at = index_.constFind(folded(key));
    return at == index_.constEnd() ? nullptr : &keys_[*at];
}

const TUserStoreFile::TKey* TUserStoreFile::findKey(const QString& key) const {
    const auto at = index_.constFind(folded(key));
    return at == index_.constEnd() ? nullptr : &keys_[*at];
}

TUserStoreFile::TKey& TUserStoreFile::keyFor(const QString& key) {
    if (TKey* found = findKey(key)) return *found;
    index_.insert(folded(key), keys_.size());
    keys_.push_back({key, {}, {}});
    return keys_.back();
}

void TUserStoreFile::reindex() {
    index_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i)
        index_.insert(folded(keys_[i].path), i);
}

bool TUserStoreFile::hasKey(const QString& key) const {
    return findKey(key) != nullptr;
}

void TUserStoreFile::addKey(const QString& key) {
    (void)keyFor(key);
}

bool TUserStoreFile::removeKey(const QString& key) {
    const auto at = index_.constFind(folded(key));
    if (at == index_.constEnd()) return false;
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(*at));
    reindex();
    return true;
}

const TStoredValue* TUserStoreFile::value(const QString& key, const QString& name) const {
    const TKey* k = findKey(key);
    if (!k) return nullptr;
    const auto at = k->index.constFind(folded(name));
    return at == k->index.constEnd() ? nullptr : &k->values[*at];
}

QStringList TUserStoreFile::valueNames(const QString& key) const {
    QStringList names;
    if (const TKey* k = findKey(key))
        for (const TStoredValue& value : k->values)
            names.append(value.name);
    return names;
}

void TUserStoreFile::setValue(const QString& key, TStoredValue value) {
    TKey& k = keyFor(key);
    const QString id = folded(value.name);
    const auto at = k.index.constFind(id);
    if (at != k.index.constEnd()) {
        value.name = k.values[*at].name;
        k.values[*at] = std::move(value);
        return;
    }
    k.index.insert(id, k.values.size());
    k.values.push_back(std::move(value));
}

bool TUserStoreFile::removeValue(const QString& key, const QString& name) {
    TKey* k = findKey(key);
    if (!k) return false;
    const auto at = k->index.constFind(folded(name));
    if (at == k->index.constEnd()) return false;
    k->values.erase(k->values.begin() + static_cast<std::ptrdiff_t>(*at));
    k->index.clear();
    for (std::size_t i = 0; i < k->values.size(); ++i)
        k->index.insert(folded(k->values[i].name), i);
    return true;
}

bool TUserStoreFile::operator==(const TUserStoreFile& other) const {
    if (keys_.size() != other.keys_.size()) return false;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const TKey& a = keys_[i];
        const TKey& b = other.keys_[i];
        if (a.path != b.path || a.values.size() != b.values.size()) return false;
        for (std::size_t j = 0; j < a.values.size(); ++j) {
            const TStoredValue& x = a.values[j];
            const TStoredValue& y = b.values[j];
            if (x.name != y.name || x.kind != y.kind || x.text != y.text || x.number != y.number ||
                x.bytes != y.bytes || x.damage != y.damage)
                return false;
        }
    }
    return true;
}
