#include "controls/KxStringRC.h"

#include "support/TextFile.h"

#include <algorithm>

namespace {

bool lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

TKxStringRC::TKxStringRC(QObject* owner) : QObject(owner) {}

void TKxStringRC::setMruMax(int value) {
    FMruMax = std::max(0, value);
}

void TKxStringRC::setSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    if (FSorted) sortLines();
}

void TKxStringRC::sortLines() {
    std::stable_sort(FStrings.begin(), FStrings.end(), lessIgnoringCase);
    auto same = [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) == 0;
    };
    FStrings.erase(std::unique(FStrings.begin(), FStrings.end(), same), FStrings.end());
}

void TKxStringRC::setStrings(const QStringList& lines) {
    FStrings = lines;
    if (FSorted) sortLines();
}

QString TKxStringRC::Text() const {
    QString text;
    for (const QString& line : FStrings) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

void TKxStringRC::setText(const QString& text) {
    setStrings(TextFile::splitLines(text));
}

int TKxStringRC::IndexOf(const QString& text) const {
    for (qsizetype i = 0; i < FStrings.size(); ++i)
        if (QString::compare(FStrings.at(i), text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void TKxStringRC::AddMru(const QString& text) {
    const int i = IndexOf(text);
    if (i == 0) return;
    if (i > 0) FStrings.removeAt(i);
    if (FSorted) {
        // A sorted list has no "top": the entry goes where the order puts it.
        auto at = std::lower_bound(FStrings.begin(), FStrings.end(), text, lessIgnoringCase);
        FStrings.insert(at, text);
    } else {
        FStrings.prepend(text);
    }
    while (FStrings.size() > FMruMax)
        FStrings.removeLast();
}

bool TKxStringRC::SaveToFile(const QString& path) {
    const TextFile::TWriteResult written = TextFile::write(path, Text());
    FError = written.error;
    return written.ok;
}

bool TKxStringRC::LoadFromFile(const QString& path) {
    const TextFile::TReadResult read = TextFile::read(path);
    FError = read.error;
    if (!read.ok) return false;
    setText(read.text);
    return true;
}
