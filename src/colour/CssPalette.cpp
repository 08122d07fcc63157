#include "colour/CssPalette.h"

#include <QSet>

namespace CssPalette {

namespace {

bool isIdentifierChar(QChar c) {
    const char16_t u = c.unicode();
    // Everything beyond ASCII may stand in an identifier, except what would
    // make the text unreadable (broken surrogates, controls, separators).
    if (u >= 0x80) return !c.isSurrogate() && !c.isSpace() && c.category() != QChar::Other_Control;
    return (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'-' || u == u'_';
}

QString identifierOf(const QString& name) {
    QString id;
    bool pendingDash = false;
    for (QChar c : name.toLower()) {
        if (!isIdentifierChar(c) || c == u'-') {
            pendingDash = true;
            continue;
        }
        if (pendingDash && !id.isEmpty()) id += u'-';
        pendingDash = false;
        id += c;
    }
    return id;
}

bool isUnused(const TSwatch& swatch) {
    return swatch.color == kBlack && swatch.name.trimmed().isEmpty();
}

QString commentText(const QString& name) {
    QString text = name;
    text.replace(QStringLiteral("*/"), QStringLiteral("* /"));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = u' ';
    return text;
}

} // namespace

QStringList PropertyNames(const std::vector<TSwatch>& swatches) {
    QStringList names;
    QSet<QString> given;
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        QString base = identifierOf(swatches[i].name);
        if (base.isEmpty()) base = QStringLiteral("color-%1").arg(i + 1);
        QString name = base;
        for (int n = 2; given.contains(name); ++n)
            name = base + QStringLiteral("-%1").arg(n);
        given.insert(name);
        names.append(name);
    }
    return names;
}

QByteArray Write(const TSwatchList& list) {
    std::vector<TSwatch> used;
    for (const TSwatch& swatch : list.swatches)
        if (!isUnused(swatch)) used.push_back(swatch);
    const QStringList names = PropertyNames(used);
    QString text;
    if (!list.name.isEmpty())
        text += QStringLiteral("/* ") + commentText(list.name) + QStringLiteral(" */\n");
    text += QStringLiteral(":root {\n");
    for (std::size_t i = 0; i < used.size(); ++i)
        text += QStringLiteral("  --%1: #%2%3%4;\n")
                    .arg(names[qsizetype(i)])
                    .arg(RedOf(used[i].color), 2, 16, QLatin1Char('0'))
                    .arg(GreenOf(used[i].color), 2, 16, QLatin1Char('0'))
                    .arg(BlueOf(used[i].color), 2, 16, QLatin1Char('0'));
    text += QStringLiteral("}\n");
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) ascii = false;
    if (!ascii) text.prepend(QStringLiteral("@charset \"UTF-8\";\n"));
    return text.toUtf8();
}

} // namespace CssPalette
