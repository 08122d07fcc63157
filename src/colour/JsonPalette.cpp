#include "colour/JsonPalette.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <optional>

namespace JsonPalette {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

std::optional<ColorValue> parseHex(const QString& text) {
    if (!text.startsWith(u'#') || (text.size() != 7 && text.size() != 4)) return std::nullopt;
    int digits[6] = {};
    const bool shortForm = text.size() == 4;
    for (int i = 0; i < 6; ++i) {
        digits[i] = hexDigit(text[1 + (shortForm ? i / 2 : i)]);
        if (digits[i] < 0) return std::nullopt;
    }
    return MakeColor(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3],
                     digits[4] * 16 + digits[5]);
}

// A JSON string literal.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

QString hexOf(ColorValue color) {
    return QStringLiteral("#%1%2%3")
        .arg(RedOf(color), 2, 16, QLatin1Char('0'))
        .arg(GreenOf(color), 2, 16, QLatin1Char('0'))
        .arg(BlueOf(color), 2, 16, QLatin1Char('0'));
}

} // namespace

TSwatchRead Read(QByteArrayView bytes) {
    TSwatchRead result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error =
            QStringLiteral("Byte %1: %2.").arg(parseError.offset).arg(parseError.errorString());
        return result;
    }
    if (!document.isObject()) {
        result.error = QStringLiteral("The file is not a JSON object with a \"colors\" list.");
        return result;
    }
    const QJsonObject root = document.object();
    const QJsonValue name = root.value(QLatin1StringView("name"));
    if (!name.isUndefined() && !name.isString()) {
        result.error = QStringLiteral("\"name\" must be a text.");
        return result;
    }
    result.list.name = name.toString();
    const QJsonValue colors = root.value(QLatin1StringView("colors"));
    if (!colors.isArray()) {
        result.error = QStringLiteral("\"colors\" must be a list of colours.");
        return result;
    }
    const QJsonArray array = colors.toArray();
    result.list.swatches.reserve(std::size_t(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject entry = array.at(i).toObject();
        const QString place = QStringLiteral("Colour %1 of \"colors\": ").arg(i + 1);
        const QJsonValue hex = entry.value(QLatin1StringView("hex"));
        const std::optional<ColorValue> color = parseHex(hex.toString());
        if (!array.at(i).isObject() || !color) {
            result.error = place + QStringLiteral("\"hex\" must be a colour like \"#1a2b3c\".");
            return result;
        }
        const QJsonValue entryName = entry.value(QLatin1StringView("name"));
        if (!entryName.isUndefined() && !entryName.isString()) {
            result.error = place + QStringLiteral("\"name\" must be a text.");
            return result;
        }
        result.list.swatches.push_back({*color, entryName.toString()});
    }
    return result;
}

QByteArray Write(const TSwatchList& list) {
    QString text = QStringLiteral("{\n  \"name\": ") + quoted(list.name) +
                   QStringLiteral(",\n  \"colors\": [");
    for (std::size_t i = 0; i < list.swatches.size(); ++i) {
        text += i == 0 ? QStringLiteral("\n") : QStringLiteral(",\n");
        text += QStringLiteral("    {\"name\": ") + quoted(list.swatches[i].name) +
                QStringLiteral(", \"hex\": \"") + hexOf(list.swatches[i].color) +
                QStringLiteral("\"}");
    }
    text += list.swatches.empty() ? QStringLiteral("]\n}\n") : QStringLiteral("\n  ]\n}\n");
    return text.toUtf8();
}

} // namespace JsonPalette
