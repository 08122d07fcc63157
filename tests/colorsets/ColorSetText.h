#pragma once

// The text of a colour set file for tests: the header, then `lines` entries of `key` and a
// numbered `name`.

#include <QByteArray>

inline QByteArray ColorSetText(int lines, const QByteArray& key, const QByteArray& name) {
    QByteArray text = "Huesplinter ColorSet Data File=20\r\n";
    for (int i = 0; i < lines; ++i)
        text += key + "=" + name + QByteArray::number(i) + "\r\n";
    return text;
}
