#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// A form-owned list of text lines: shortcut tables, sample text, most-recently-used lists.
class TKxStringRC : public QObject {
    Q_OBJECT
public:
    explicit TKxStringRC(QObject* owner = nullptr);

    int MruMax() const { return FMruMax; }
    void setMruMax(int value);

    // A sorted list keeps its lines in case-insensitive order and holds no
    // line twice (compared ignoring case).
    bool Sorted() const { return FSorted; }
    void setSorted(bool value);

    const QStringList& Strings() const { return FStrings; }
    void setStrings(const QStringList& lines);

    // Every line followed by CR LF; assigning splits at CR LF, LF or CR.
    QString Text() const;
    void setText(const QString& text);

    // Puts the text on top as the most recent entry and trims the list to MruMax lines.
    void AddMru(const QString& text);
    int IndexOf(const QString& text) const;

    // Text files by the program's one rule (TextFile): lines end in CR LF, all
    // ASCII is written as 8-bit text, anything else as UTF-8 with a mark. Both
    // return false on failure, leave the list as it was and the reason in
    // errorString(); a failed save leaves the old file.
    bool SaveToFile(const QString& path);
    bool LoadFromFile(const QString& path);
    QString errorString() const { return FError; }

private:
    void sortLines();

    QStringList FStrings;
    int FMruMax = 0;
    bool FSorted = false;
    QString FError;
};
