#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// The kinds of value the per-user store keeps.
enum class TStoreKind { None, String, Integer, Binary };

// One value as the settings file holds it. A line that could not be read
// still names its value when the name could be made out: the value is then
// present but `damage` says why it cannot be read.
struct TStoredValue {
    QString name;
    TStoreKind kind = TStoreKind::None;
    QString text;
    qint32 number = 0;
    QByteArray bytes;
    QString damage;
};

// The contents of the settings file, parsed once: keys holding values, both
// found by name ignoring case in constant time, in file order for writing.
// Reading is line by line: a line that cannot be read spoils that value only,
// and is left out when the file is written again.
class TUserStoreFile {
public:
    static TUserStoreFile parse(QByteArrayView bytes);
    // The file's bytes (UTF-8 text); damaged values are not written.
    QByteArray toBytes() const;

    // True when some line could not be read.
    bool damaged() const { return damaged_; }

    // True when no key could be read at all.
    bool empty() const { return keys_.empty(); }
    bool hasKey(const QString& key) const;
    void addKey(const QString& key);
    // False when there was no such key.
    bool removeKey(const QString& key);

    // Null when the key or the value is missing.
    const TStoredValue* value(const QString& key, const QString& name) const;
    QStringList valueNames(const QString& key) const;
    // Adds the key when missing; a value already there keeps its spelling and
    // place.
    void setValue(const QString& key, TStoredValue value);
    // False when there was no such value.
    bool removeValue(const QString& key, const QString& name);

    bool operator==(const TUserStoreFile& other) const;

private:
    struct TKey {
        QString path;
        std::vector<TStoredValue> values;
        QHash<QString, std::size_t> index;
    };
    TKey* findKey(const QString& key);
    const TKey* findKey(const QString& key) const;
    TKey& keyFor(const QString& key);
    void reindex();

    std::vector<TKey> keys_;
    QHash<QString, std::size_t> index_;
    bool damaged_ = false;
};
