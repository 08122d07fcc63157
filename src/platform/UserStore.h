#pragma once

#include "platform/UserStoreFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

// The outcome of a write: `error` is the text to show when it failed.
// What is wrong with a settings file that could not be read whole.
struct TStoreDamage {
    // Empty when the file read whole, or there is none.
    QString why;
    // True when nothing at all could be read from it.
    bool unreadable = false;
    // Where the copy of it is kept; empty when none could be made, and then
    // `copyError` says why and the file is never replaced.
    QString copy;
    QString copyError;
};

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
// see each other's values. The file is parsed once and parsed again only when
// it changed, so a read costs the same whatever the file holds.
//
// On Windows the store lives in the registry under HKEY_CURRENT_USER instead
// (unless a folder is asked for: then the file there), as REG_SZ, REG_DWORD
// and REG_BINARY values; there a value of another type, or whose data does not
// fit its type, is a failed read of that value alone.
//
// Value by value, like the registry: a line that cannot be read is a failed
// read of that value (it exists, and reading it says why it failed); the
// others read as usual. A file that cannot be read at all (too large, not
// readable, not a file) counts as no store. Before such a file, or one with
// damaged lines, is first rewritten, a copy of it is kept beside it
// ("Huesplinter.conf.damaged", then ".damaged1", ...); when no copy can be
// made, the write fails and the file stays as it was.
//
// A batch gathers the writes and deletions of one save (the settings at a
// close) and puts them in the file in one replacement, over the file as it is
// when the batch is committed. It writes only the values this program changed:
// a value whose data equals what this program last read or wrote of it is left
// as the file has it now, so a second running copy's changes survive.
class TUserStore {
public:
    // `configFolder` empty: $HUESPLINTER_CONFIG_DIR when set, else the
    // registry where there is one, else the user's configuration folder.
    explicit TUserStore(const QString& configFolder = {});
    // The registry store with every key below HKEY_CURRENT_USER\`root`
    // (empty: the program's own place); Windows only.
    static TUserStore inRegistry(const QString& root = {});

    // Empty for the registry store.
    QString fileName() const { return fileName_; }
    bool usesRegistry() const { return registry_; }
    // Where the settings of `key` are, for messages: the file's name, or
    // the registry key (the registry key "HKEY_CURRENT_USER\...").
    QString place(const QString& key) const;

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

    // A read fails when no key is open, the value is missing, damaged or of
    // another kind.
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

    // The registry store only: gives a key, with its values and subkeys, the name `newKey`,
    // which must not exist yet. A failure (with its reason) leaves the key as it was.
    TStoreStatus moveKey(const QString& key, const QString& newKey);

    // From here until commitBatch(), writes, deletions and the creation of a
    // key by openKey() are gathered instead of saved; each answers success
    // unless it is refused at once (no key open, read-only). Reads see the
    // file, not the gathered changes.
    void beginBatch();
    // Saves what was gathered in one replacement of the file and ends the
    // batch; a failure leaves the file as it was.
    TStoreStatus commitBatch();

    // Says what is wrong with a file that could not be read whole, keeping
    // a copy of it now when none was kept yet.
    TStoreDamage keepDamagedCopy();

    // Files larger than this are not read.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

private:
    struct TLoaded;
    struct TChange {
        enum class TOp { AddKey, Set, Remove };
        TOp op = TOp::Set;
        QString key;
        TStoredValue value;
    };
    std::shared_ptr<const TLoaded> load() const;
    TStoreStatus save(const TUserStoreFile& file, const TLoaded& base) const;
    TStoreStatus keepCopy(const TLoaded& base, QString* copyName) const;
    TStoreStatus apply(const std::vector<TChange>& changes, bool onlyChanged);
    TStoreStatus change(TChange change);
    const TStoredValue* findValue(const TLoaded& loaded, const QString& name, QString& error) const;
    // A copy of the open key's value; false with `error` when there is none.
    bool lookUp(const QString& name, TStoredValue& value, QString& error) const;
    void remember(const QString& key, const TStoredValue& value) const;
    TStoreStatus write(TStoredValue value);

    // The registry path of a key of the caller's.
    QString registryPath(const QString& key) const;
    TStoreStatus registryFailure(const QString& why) const;

    QString fileName_;
    bool registry_ = false;
    QString registryRoot_;
    QString key_;
    bool writable_ = false;
    QString lastError_;
    std::optional<std::vector<TChange>> batch_;
};
