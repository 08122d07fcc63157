#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <type_traits>

// The kinds of value the per-user store keeps.
enum class TStoreKind { None, String, Integer, Binary };

// The outcome of a write: `error` is the text to show when it failed.
struct TStoreStatus {
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
};

// The outcome of a read: `value` is meaningful only when `ok`; otherwise
// `error` says why the read failed.
template <class T>
struct TStoreResult {
    bool ok = false;
    T value{};
    QString error;
    explicit operator bool() const { return ok; }
};

// The current user's settings: named keys ("Software\Vextora\Huesplinter")
// holding named string, 32-bit integer and binary values. Key and value names
// compare ignoring case.
//
// The values live in one file, "Vextora/Huesplinter.conf" under the user's
// configuration folder, which the environment variable HUESPLINTER_CONFIG_DIR
// or the constructor can redirect. Every write replaces the file atomically,
// and every read looks at the file as it is now, so two stores on the same file
// see each other's values. A file that cannot be read as a store (damaged,
// foreign, not text) counts as no store at all: every key is missing, and the
// next write starts a new file.
class TUserStore {
public:
    // `configFolder` empty: $HUESPLINTER_CONFIG_DIR when set, else the user's
    // configuration folder.
    explicit TUserStore(const QString& configFolder = {});

    QString fileName() const { return fileName_; }

    bool keyExists(const QString& key) const;

    // Opens an existing key for reading; false (with lastError()) when it does
    // not exist. Never creates anything.
    bool openKeyReadOnly(const QString& key);
    // Opens a key for reading and writing; creates it when missing and
    // `canCreate`. False (with lastError()) when it could not be opened.
    bool openKey(const QString& key, bool canCreate);
    void closeKey();
    bool isOpen() const { return !key_.isEmpty(); }
    QString currentKey() const { return key_; }
    // Why the last open failed.
    QString lastError() const { return lastError_; }

    // Of the open key; false/None/empty when no key is open.
    bool valueExists(const QString& name) const;
    TStoreKind valueKind(const QString& name) const;
    QStringList valueNames() const;

    // A read fails when no key is open, the value is missing or of another kind.
    TStoreResult<QString> readString(const QString& name) const;
    TStoreResult<qint32> readInteger(const QString& name) const;
    TStoreResult<QByteArray> readBinary(const QString& name) const;
    // Copies a binary value into a fixed-size record and answers the number of
    // bytes copied; bytes after them are left as they were. A value larger than
    // the record is a failed read and leaves the record untouched.
    TStoreResult<qsizetype> readBinaryInto(const QString& name, void* record,
                                           qsizetype recordSize) const;
    template <class T>
    TStoreResult<qsizetype> readRecord(const QString& name, T& record) const {
        static_assert(std::is_trivially_copyable_v<T>);
        return readBinaryInto(name, &record, static_cast<qsizetype>(sizeof(T)));
    }

    // A write fails when no key is open for writing or the file cannot be
    // saved; the file then stays as it was.
    TStoreStatus writeString(const QString& name, const QString& text);
    TStoreStatus writeInteger(const QString& name, qint32 value);
    TStoreStatus writeBinary(const QString& name, QByteArrayView data);
    TStoreStatus deleteValue(const QString& name);

    // Removes a key with its values; true when it is gone afterwards.
    bool deleteKey(const QString& key);

private:
    struct TValue;
    struct TKey;
    struct TFile;

    TFile load() const;
    TStoreStatus save(const TFile& file) const;
    const TValue* findValue(const TFile& file, const QString& name, QString& error) const;
    TStoreStatus write(const QString& name, TValue value);

    QString fileName_;
    QString key_;
    bool writable_ = false;
    QString lastError_;
};
