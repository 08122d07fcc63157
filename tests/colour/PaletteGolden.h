#pragma once

// The hand-written palette files of tests/data/palettes and the palette the
// export files were written for.

#include "colour/SwatchList.h"
#include "support/TestFiles.h"

#include <QByteArray>
#include <QString>

inline QByteArray GoldenFile(const QString& name) {
    const QByteArray bytes = FileBytes(QStringLiteral(HUESPLINTER_TEST_DATA "/palettes/") + name);
    EXPECT_FALSE(bytes.isEmpty()) << "missing test file " << name.toStdString();
    return bytes;
}

// A ".hex" file: hex pairs, "#" comments to the end of the line, blanks free.
inline QByteArray GoldenHexFile(const QString& name) {
    QByteArray hex;
    for (const QByteArray& line : GoldenFile(name).split('\n')) {
        const qsizetype comment = line.indexOf('#');
        hex += (comment < 0 ? line : line.left(comment)).simplified().replace(" ", "");
    }
    return QByteArray::fromHex(hex);
}

// Every case the writers must handle: a name beyond Latin-1, an empty name,
// an unnamed black, quotes, and a name used twice.
inline TSwatchList ExportPalette() {
    return {QStringLiteral("Shop Façade"),
            {{0x0000FF, QStringLiteral("Red")},
             {0x3C2B1A, QStringLiteral("Ночь")},
             {0x808080, QString()},
             {0x000000, QString()},
             {0xFFFFFF, QStringLiteral("White \"soft\"")},
             {0x0000FE, QStringLiteral("Red")}}};
}
