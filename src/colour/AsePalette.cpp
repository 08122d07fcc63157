#include "colour/AsePalette.h"

#include "colour/ColorModels.h"

#include <bit>
#include <cstdint>

namespace AsePalette {

namespace {

constexpr qsizetype kHeaderSize = 12;
constexpr qsizetype kBlockHeaderSize = 6;

// Reads big-endian fields within one range of the file; every read says
// whether the bytes were there, so a short range never reads past its end.
class TReader {
public:
    TReader(QByteArrayView bytes, qsizetype begin, qsizetype end)
        : m_bytes(bytes), m_pos(begin), m_end(end) {}

    qsizetype pos() const { return m_pos; }
    qsizetype left() const { return m_end - m_pos; }

    bool u16(quint16& value) {
        if (left() < 2) return false;
        value = static_cast<quint16>((byte(0) << 8) | byte(1));
        m_pos += 2;
        return true;
    }
    bool u32(quint32& value) {
        if (left() < 4) return false;
        value = (quint32(byte(0)) << 24) | (quint32(byte(1)) << 16) | (quint32(byte(2)) << 8) |
                quint32(byte(3));
        m_pos += 4;
        return true;
    }
    bool f32(float& value) {
        quint32 raw = 0;
        if (!u32(raw)) return false;
        value = std::bit_cast<float>(raw);
        return true;
    }
    bool take(qsizetype count, QByteArrayView& out) {
        if (count < 0 || left() < count) return false;
        out = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return true;
    }

private:
    quint32 byte(qsizetype offset) const {
        return static_cast<std::uint8_t>(m_bytes[m_pos + offset]);
    }

    QByteArrayView m_bytes;
    qsizetype m_pos;
    qsizetype m_end;
};

QString byteError(qsizetype offset, const QString& what) {
    return QStringLiteral("Byte %1: %2").arg(offset).arg(what);
}

// A name: its unit count (with the closing NUL) and the UTF-16BE units.
// Broken surrogate pairs become U+FFFD rather than refusing the file.
bool readName(TReader& reader, QString& name, QString& error) {
    const qsizetype at = reader.pos();
    quint16 units = 0;
    QByteArrayView raw;
    if (!reader.u16(units) || !reader.take(qsizetype(units) * 2, raw)) {
        error = byteError(at, QStringLiteral("the name's length (%1 characters) runs past the "
                                             "end of its block.")
                                  .arg(units));
        return false;
    }
    name.clear();
    name.reserve(units);
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
        const QChar c(char16_t((std::uint8_t(raw[i]) << 8) | std::uint8_t(raw[i + 1])));
        name += c;
        // Only a high surrogate directly followed by a low one is a character.
        const qsizetype n = name.size();
        if (c.isLowSurrogate() && (n < 2 || !name[n - 2].isHighSurrogate()))
            name[n - 1] = QChar::ReplacementCharacter;
        if (n >= 2 && name[n - 2].isHighSurrogate() && !c.isLowSurrogate())
            name[n - 2] = QChar::ReplacementCharacter;
    }
    if (!name.isEmpty() && name.back().isHighSurrogate()) name.back() = QChar::ReplacementCharacter;
    while (name.endsWith(QChar(u'\0')))
        name.chop(1);
    return true;
}

// A four-letter tag as text a message can show.
QString printable(QByteArrayView tag) {
    QString text;
    for (char c : tag)
        text += c >= 0x20 && c < 0x7F ? QChar(c) : QChar(u'?');
    return text;
}

struct TModel {
    char tag[5];
    int components;
};
constexpr TModel kModels[] = {{"RGB ", 3}, {"CMYK", 4}, {"Gray", 1}, {"LAB ", 3}};

bool readColor(TReader& reader, TSwatch& swatch, QString& error) {
    if (!readName(reader, swatch.name, error)) return false;
    const qsizetype modelAt = reader.pos();
    QByteArrayView tag;
    if (!reader.take(4, tag)) {
        error =
            byteError(modelAt, QStringLiteral("the colour block ends before its colour model."));
        return false;
    }
    const TModel* model = nullptr;
    for (const TModel& m : kModels)
        if (tag == QByteArrayView(m.tag, 4)) model = &m;
    if (!model) {
        error = byteError(modelAt, QStringLiteral("unknown colour model \"%1\"; known are RGB, "
                                                  "CMYK, Gray and LAB.")
                                       .arg(printable(tag)));
        return false;
    }
    float v[4] = {};
    for (int i = 0; i < model->components; ++i) {
        if (!reader.f32(v[i])) {
            error =
                byteError(reader.pos(), QStringLiteral("the colour block ends inside its values."));
            return false;
        }
    }
    switch (model - kModels) {
    case 0:
        swatch.color = ColorModels::FromRgb(v[0], v[1], v[2]);
        break;
    case 1:
        swatch.color = ColorModels::FromCmyk(v[0], v[1], v[2], v[3]);
        break;
    case 2:
        swatch.color = ColorModels::FromGray(v[0]);
        break;
    default:
        swatch.color = ColorModels::FromLab(double(v[0]) * 100.0, v[1], v[2]);
        break;
    }
    // The colour type (global, spot, normal) follows; it changes nothing here.
    return true;
}

void putU16(QByteArray& out, quint16 value) {
    out += char(value >> 8);
    out += char(value & 0xFF);
}

void putU32(QByteArray& out, quint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

// The name as its block carries it: unit count with the NUL, units, NUL.
QByteArray nameField(const QString& name) {
    // A name longer than the count field can say is cut, never wrapped.
    const QString kept = name.left(0xFFFE);
    QByteArray out;
    putU16(out, quint16(kept.size() + 1));
    for (QChar c : kept)
        putU16(out, c.unicode());
    putU16(out, 0);
    return out;
}

void putBlock(QByteArray& out, quint16 type, const QByteArray& body) {
    putU16(out, type);
    putU32(out, quint32(body.size()));
    out += body;
}

} // namespace

TSwatchRead Read(QByteArrayView bytes) {
    TSwatchRead result;
    TReader header(bytes, 0, bytes.size());
    QByteArrayView magic;
    quint16 major = 0;
    quint16 minor = 0;
    quint32 count = 0;
    if (!header.take(4, magic) || magic != QByteArrayView("ASEF")) {
        result.error = byteError(0, QStringLiteral("this is not a swatch exchange file; it must "
                                                   "begin with \"ASEF\"."));
        return result;
    }
    if (!header.u16(major) || !header.u16(minor) || !header.u32(count)) {
        result.error = byteError(4, QStringLiteral("the file ends inside its header."));
        return result;
    }
    if (major != 1) {
        result.error = byteError(
            4, QStringLiteral("version %1.%2 is not known; only 1.x is.").arg(major).arg(minor));
        return result;
    }
    bool named = false;
    qsizetype pos = kHeaderSize;
    // Every block takes at least its six header bytes, so a huge count ends
    // at the end of the file, not after billions of rounds.
    for (quint32 block = 0; block < count; ++block) {
        TReader blockHeader(bytes, pos, bytes.size());
        quint16 type = 0;
        quint32 length = 0;
        if (!blockHeader.u16(type) || !blockHeader.u32(length)) {
            result.error = byteError(pos, QStringLiteral("the file ends before block %1 of the "
                                                         "%2 its header counts.")
                                              .arg(block + 1)
                                              .arg(count));
            return result;
        }
        const qsizetype body = pos + kBlockHeaderSize;
        if (qsizetype(length) > bytes.size() - body) {
            result.error = byteError(pos + 2, QStringLiteral("block %1 claims %2 bytes, but only "
                                                             "%3 are left in the file.")
                                                  .arg(block + 1)
                                                  .arg(length)
                                                  .arg(bytes.size() - body));
            return result;
        }
        TReader reader(bytes, body, body + qsizetype(length));
        if (type == kColorBlock) {
            TSwatch swatch;
            if (!readColor(reader, swatch, result.error)) return result;
            result.list.swatches.push_back(std::move(swatch));
        } else if (type == kGroupStart && !named) {
            QString name;
            if (!readName(reader, name, result.error)) return result;
            result.list.name = name;
            named = true;
        }
        pos = body + qsizetype(length);
    }
    return result;
}

QByteArray Write(const TSwatchList& list) {
    QByteArray out("ASEF");
    putU16(out, 1);
    putU16(out, 0);
    putU32(out, quint32(list.swatches.size() + 2));
    putBlock(out, kGroupStart, nameField(list.name));
    for (const TSwatch& swatch : list.swatches) {
        QByteArray body = nameField(swatch.name);
        body += "RGB ";
        for (int channel : {RedOf(swatch.color), GreenOf(swatch.color), BlueOf(swatch.color)})
            putU32(body, std::bit_cast<quint32>(static_cast<float>(channel / 255.0)));
        putU16(body, 2);
        putBlock(out, kColorBlock, body);
    }
    putBlock(out, kGroupEnd, {});
    return out;
}

} // namespace AsePalette
