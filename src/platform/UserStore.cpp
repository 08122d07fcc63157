#include "platform/UserStore.h"

#include "platform/FileWriter.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <cstring>
#include <mutex>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString StoreFileName = QStringLiteral("Vextora/Huesplinter.conf");

// What tells one version of the file from another without reading it. A save
// puts a new file in place, so on Unix the inode alone changes with every save
// by any program; times and size catch edits in place.
struct TStamp {
    bool exists = false;
    bool regular = false;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;
    quint64 inode = 0;
    bool operator==(const TStamp&) const = default;
};

TStamp stampOf(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0) {
        // A link to nothing is still something in the file's place.
        if (::lstat(name.constData(), &st) != 0) return {};
        return {true, false, 0, 0, 0, static_cast<quint64>(st.st_ino)};
    }
    return {true,
            S_ISREG(st.st_mode),
            static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
            static_cast<quint64>(st.st_ino)};
#else
    const QFileInfo info(path);
    if (!info.exists()) return {};
    return {true,
            info.isFile(),
            info.size(),
            info.lastModified().toMSecsSinceEpoch(),
            info.metadataChangeTime().toMSecsSinceEpoch(),
            static_cast<quint64>(info.birthTime().toMSecsSinceEpoch())};
#endif
}

QString keyMissingText(const QString& key) {
    return QStringLiteral("The settings key \"%1\" does not exist.").arg(key);
}

QString kindName(TStoreKind kind) {
    switch (kind) {
    case TStoreKind::String:
        return QStringLiteral("a string");
    case TStoreKind::Integer:
        return QStringLiteral("a 32-bit integer");
    case TStoreKind::Binary:
        return QStringLiteral("binary data");
    case TStoreKind::None:
        break;
    }
    return QStringLiteral("nothing");
}

} // namespace

// One version of the file as read. Stores share it: the program makes a store
// for every single read in places, and each must not parse the file again.
struct TUserStore::TLoaded {
    TStamp stamp;
    TUserStoreFile file;
    // Not empty when the file exists but could not be read at all.
    QString unreadable;
};

namespace {

struct TSharedState {
    std::mutex mutex;
    QHash<QString, std::shared_ptr<const void>> loaded;
    // The version of each file a copy was last kept of, and the copy's name.
    QHash<QString, std::pair<TStamp, QString>> copied;
    // Per file, what this program last read or wrote of each value (by
    // folded key and name): a batch leaves values equal to it alone.
    QHash<QString, QHash<QString, TStoredValue>> seen;
};

QString valueId(const QString& key, const QString& name) {
    return key.toCaseFolded() + QLatin1Char('\n') + name.toCaseFolded();
}

bool sameData(const TStoredValue& a, const TStoredValue& b) {
    return a.kind == b.kind && a.text == b.text && a.number == b.number && a.bytes == b.bytes &&
           a.damage.isEmpty() && b.damage.isEmpty();
}

TSharedState& shared() {
    static TSharedState state;
    return state;
}

} // namespace

TUserStore::TUserStore(const QString& configFolder) {
    QString folder = configFolder;
    if (folder.isEmpty()) folder = qEnvironmentVariable("HUESPLINTER_CONFIG_DIR");
    // Windows programs keep their settings in the registry; a folder asked for (by the caller or
    // the variable) keeps them in a file there instead, as everywhere else.
    if (folder.isEmpty() && Registry::available()) {
        registry_ = true;
        return;
    }
#ifdef Q_OS_UNIX
    // Without a home folder Qt would answer one under the root folder, which
    // no user can write: there is then no place for the settings.
    if (folder.isEmpty() && qEnvironmentVariableIsEmpty("HOME") &&
        qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        return;
#endif
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!folder.isEmpty()) fileName_ = QDir(folder).filePath(StoreFileName);
}

TUserStore TUserStore::inRegistry(const QString& root) {
    TUserStore store(QStringLiteral("."));
    store.fileName_.clear();
    store.registry_ = true;
    store.registryRoot_ = root;
    return store;
}

QString TUserStore::registryPath(const QString& key) const {
    if (registryRoot_.isEmpty()) return key;
    return key.isEmpty() ? registryRoot_ : registryRoot_ + QLatin1Char('\\') + key;
}

TStoreStatus TUserStore::registryFailure(const QString& why) const {
    return {false,
            QStringLiteral("The settings in the registry key \"HKEY_CURRENT_USER\\%1\" could "
                           "not be written: %2")
                .arg(registryPath(key_), why)};
}

std::shared_ptr<const TUserStore::TLoaded> TUserStore::load() const {
    const TStamp stamp = stampOf(fileName_);
    TSharedState& state = shared();
    {
        std::lock_guard lock(state.mutex);
        const auto at = state.loaded.constFind(fileName_);
        if (at != state.loaded.constEnd()) {
            auto cached = std::static_pointer_cast<const TLoaded>(*at);
            if (cached->stamp == stamp) return cached;
        }
    }
    auto fresh = std::make_shared<TLoaded>();
    fresh->stamp = stamp;
    if (fileName_.isEmpty() || !stamp.exists) {
        // No file: no store.
    } else if (!stamp.regular) {
        const QFileInfo info(fileName_);
        fresh->unreadable = info.isSymLink() && !info.exists()
                                ? QStringLiteral("it is a link to \"%1\", which does not exist.")
                                      .arg(info.symLinkTarget())
                            : info.isDir() ? QStringLiteral("it is a folder, not a file.")
                                           : QStringLiteral("it is not a regular file.");
    } else if (stamp.size > MaxFileSize) {
        fresh->unreadable = QStringLiteral("it is larger than %1 bytes.").arg(MaxFileSize);
    } else {
        QFile in(fileName_);
        if (!in.open(QIODevice::ReadOnly)) {
            fresh->unreadable = in.errorString();
        } else {
            const QByteArray bytes = in.read(MaxFileSize + 1);
            if (in.error() != QFileDevice::NoError)
                fresh->unreadable = in.errorString();
            else if (bytes.size() > MaxFileSize)
                fresh->unreadable = QStringLiteral("it is larger than %1 bytes.").arg(MaxFileSize);
            else
                fresh->file = TUserStoreFile::parse(bytes);
        }
    }
    std::lock_guard lock(state.mutex);
    state.loaded.insert(fileName_, fresh);
    return fresh;
}

TStoreStatus TUserStore::keepCopy(const TLoaded& base, QString* copyName) const {
    const TStamp current = stampOf(fileName_);
    if (!current.exists || (base.unreadable.isEmpty() && !base.file.damaged())) return {};
    TSharedState& state = shared();
    {
        std::lock_guard lock(state.mutex);
        const auto at = state.copied.constFind(fileName_);
        if (at != state.copied.constEnd() && at->first == current) {
            if (copyName) *copyName = at->second;
            return {};
        }
    }
    if (!current.regular) return {false, QStringLiteral("only a file can be copied")};
    QString name;
    for (int n = 0; n < 1000 && name.isEmpty(); ++n) {
        const QString candidate =
            fileName_ + QStringLiteral(".damaged") + (n == 0 ? QString() : QString::number(n));
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink()) name = candidate;
    }
    if (name.isEmpty()) return {false, QStringLiteral("no name is free for a copy of it.")};
    const FileWriter::TResult copied = FileWriter::copyNew(fileName_, name);
    if (!copied)
        return {
            false,
            QStringLiteral("a copy of it could not be kept as \"%1\": %2").arg(name, copied.error)};
    if (copyName) *copyName = name;
    std::lock_guard lock(state.mutex);
    state.copied.insert(fileName_, {current, name});
    return {};
}

TStoreStatus TUserStore::save(const TUserStoreFile& file, const TLoaded& base) const {
    const auto failed = [this](const QString& why) {
        return TStoreStatus{false,
                            QStringLiteral("The settings file \"%1\" could not be written: %2")
                                .arg(fileName_, why)};
    };
    if (fileName_.isEmpty()) return failed(QStringLiteral("there is no configuration folder."));
    if (!QDir().mkpath(QFileInfo(fileName_).absolutePath()))
        return failed(QStringLiteral("its folder cannot be created."));
    const TStamp current = stampOf(fileName_);
    // The file is replaced by renaming a new one over it: a folder, device or
    // link in its place must stay what it is.
    if (current.exists && !current.regular) return failed(QStringLiteral("it is not a file."));
    // What could not be read is not ours to throw away: keep it beside the new file.
    if (const TStoreStatus kept = keepCopy(base, nullptr); !kept) return failed(kept.error);

    const QByteArray bytes = file.toBytes();
    if (const FileWriter::TResult written = FileWriter::replace(fileName_, bytes); !written)
        return failed(written.error);

    // The new version is known without reading it back.
    auto fresh = std::make_shared<TLoaded>();
    fresh->stamp = stampOf(fileName_);
    fresh->file = TUserStoreFile::parse(bytes);
    TSharedState& state = shared();
    std::lock_guard lock(state.mutex);
    state.loaded.insert(fileName_, fresh);
    return {};
}

TStoreDamage TUserStore::keepDamagedCopy() {
    const auto loaded = load();
    TStoreDamage damage;
    if (!loaded->unreadable.isEmpty()) {
        damage.why = loaded->unreadable;
        damage.unreadable = true;
    } else if (loaded->file.damaged()) {
        damage.unreadable = loaded->file.empty();
        damage.why = damage.unreadable ? QStringLiteral("none of its lines could be read.")
                                       : QStringLiteral("some of its lines are damaged.");
    } else {
        return damage;
    }
    const TStoreStatus kept = keepCopy(*loaded, &damage.copy);
    if (!kept) damage.copyError = kept.error;
    return damage;
}

void TUserStore::remember(const QString& key, const TStoredValue& value) const {
    TSharedState& state = shared();
    std::lock_guard lock(state.mutex);
    state.seen[fileName_].insert(valueId(key, value.name), value);
}

TStoreStatus TUserStore::apply(const std::vector<TChange>& changes, bool onlyChanged) {
    const auto loaded = load();
    TUserStoreFile file = loaded->file;
    QHash<QString, TStoredValue> seen;
    if (onlyChanged) {
        TSharedState& state = shared();
        std::lock_guard lock(state.mutex);
        seen = state.seen.value(fileName_);
    }
    std::vector<const TChange*> written;
    for (const TChange& c : changes) {
        switch (c.op) {
        case TChange::TOp::AddKey:
            file.addKey(c.key);
            break;
        case TChange::TOp::Set: {
            const auto at = seen.constFind(valueId(c.key, c.value.name));
            // Left alone by this program: what is in the file now stays.
            if (at != seen.constEnd() && sameData(*at, c.value)) {
                file.addKey(c.key);
                break;
            }
            file.setValue(c.key, c.value);
            written.push_back(&c);
            break;
        }
        case TChange::TOp::Remove:
            file.removeValue(c.key, c.value.name);
            break;
        }
    }
    // Nothing to change: the file stays untouched.
    const TStoreStatus saved = file == loaded->file ? TStoreStatus{} : save(file, *loaded);
    if (saved)
        for (const TChange* c : written)
            remember(c->key, c->value);
    return saved;
}

TStoreStatus TUserStore::change(TChange c) {
    if (batch_) {
        batch_->push_back(std::move(c));
        return {};
    }
    return apply({std::move(c)}, false);
}

void TUserStore::beginBatch() {
    if (!batch_) batch_.emplace();
}

TStoreStatus TUserStore::commitBatch() {
    if (!batch_) return {};
    const std::vector<TChange> changes = std::move(*batch_);
    batch_.reset();
    if (changes.empty()) return {};
    return apply(changes, true);
}

bool TUserStore::keyExists(const QString& key) const {
    if (registry_) return !key.isEmpty() && Registry::keyExists(registryPath(key));
    return load()->file.hasKey(key);
}

bool TUserStore::openKeyReadOnly(const QString& key) {
    closeKey();
    if (registry_) {
        if (!keyExists(key)) {
            lastError_ = keyMissingText(key);
            return false;
        }
        key_ = key;
        lastError_.clear();
        return true;
    }
    const auto loaded = load();
    if (!loaded->unreadable.isEmpty()) {
        lastError_ = QStringLiteral("The settings file \"%1\" could not be read: %2")
                         .arg(fileName_, loaded->unreadable);
        return false;
    }
    if (!loaded->file.hasKey(key)) {
        lastError_ = keyMissingText(key);
        return false;
    }
    key_ = key;
    lastError_.clear();
    return true;
}

bool TUserStore::openKey(const QString& key, bool canCreate) {
    closeKey();
    if (key.isEmpty()) {
        lastError_ = QStringLiteral("A settings key needs a name.");
        return false;
    }
    if (registry_) {
        if (!keyExists(key)) {
            if (!canCreate) {
                lastError_ = keyMissingText(key);
                return false;
            }
            const QString why = Registry::createKey(registryPath(key));
            if (!why.isEmpty()) {
                lastError_ =
                    QStringLiteral("The settings key \"HKEY_CURRENT_USER\\%1\" could not be "
                                   "created: %2")
                        .arg(registryPath(key), why);
                return false;
            }
        }
        key_ = key;
        writable_ = true;
        lastError_.clear();
        return true;
    }
    const auto loaded = load();
    if (!loaded->file.hasKey(key)) {
        if (!canCreate) {
            lastError_ = keyMissingText(key);
            return false;
        }
        const TStoreStatus saved = change({TChange::TOp::AddKey, key, {}});
        if (!saved) {
            lastError_ = saved.error;
            return false;
        }
    }
    key_ = key;
    writable_ = true;
    lastError_.clear();
    return true;
}

void TUserStore::closeKey() {
    key_.clear();
    writable_ = false;
}

const TStoredValue* TUserStore::findValue(const TLoaded& loaded, const QString& name,
                                          QString& error) const {
    if (!isOpen()) {
        error = QStringLiteral("No settings key is open.");
        return nullptr;
    }
    if (!loaded.file.hasKey(key_)) {
        error = keyMissingText(key_);
        return nullptr;
    }
    const TStoredValue* value = loaded.file.value(key_, name);
    if (!value) error = QStringLiteral("The value \"%1\" does not exist.").arg(name);
    return value;
}

bool TUserStore::lookUp(const QString& name, TStoredValue& value, QString& error) const {
    if (registry_) {
        if (!isOpen()) {
            error = QStringLiteral("No settings key is open.");
            return false;
        }
        switch (Registry::readValue(registryPath(key_), name, value)) {
        case Registry::TFound::NoKey:
            error = keyMissingText(key_);
            return false;
        case Registry::TFound::NoValue:
            error = QStringLiteral("The value \"%1\" does not exist.").arg(name);
            return false;
        case Registry::TFound::Value:
            break;
        }
        return true;
    }
    const auto loaded = load();
    const TStoredValue* found = findValue(*loaded, name, error);
    if (!found) return false;
    value = *found;
    return true;
}

bool TUserStore::valueExists(const QString& name) const {
    if (registry_) {
        TStoredValue value;
        QString error;
        return lookUp(name, value, error);
    }
    return isOpen() && load()->file.value(key_, name) != nullptr;
}

TStoreKind TUserStore::valueKind(const QString& name) const {
    if (!isOpen()) return TStoreKind::None;
    if (registry_) {
        TStoredValue value;
        QString error;
        return lookUp(name, value, error) ? value.kind : TStoreKind::None;
    }
    const TStoredValue* value = load()->file.value(key_, name);
    return value ? value->kind : TStoreKind::None;
}

QStringList TUserStore::valueNames() const {
    if (!isOpen()) return {};
    if (registry_) return Registry::valueNames(registryPath(key_));
    return load()->file.valueNames(key_);
}

namespace {

template <class T>
TStoreResult<T> failure(QString error) {
    TStoreResult<T> result;
    result.error = std::move(error);
    return result;
}

// Why a value that exists cannot be read as `wanted`; empty when it can.
QString readProblem(const TStoredValue& value, const QString& name, TStoreKind wanted) {
    if (!value.damage.isEmpty())
        return QStringLiteral("The value \"%1\" cannot be read: %2").arg(name, value.damage);
    if (value.kind != wanted)
        return QStringLiteral("The value \"%1\" does not hold %2.").arg(name, kindName(wanted));
    return {};
}

} // namespace

TStoreResult<QString> TUserStore::readString(const QString& name) const {
    QString error;
    TStoredValue value;
    if (!lookUp(name, value, error)) return failure<QString>(error);
    error = readProblem(value, name, TStoreKind::String);
    if (!error.isEmpty()) return failure<QString>(error);
    remember(key_, value);
    return {true, value.text, {}};
}

TStoreResult<qint32> TUserStore::readInteger(const QString& name) const {
    QString error;
    TStoredValue value;
    if (!lookUp(name, value, error)) return failure<qint32>(error);
    error = readProblem(value, name, TStoreKind::Integer);
    if (!error.isEmpty()) return failure<qint32>(error);
    remember(key_, value);
    return {true, value.number, {}};
}

TStoreResult<QByteArray> TUserStore::readBinary(const QString& name) const {
    QString error;
    TStoredValue value;
    if (!lookUp(name, value, error)) return failure<QByteArray>(error);
    error = readProblem(value, name, TStoreKind::Binary);
    if (!error.isEmpty()) return failure<QByteArray>(error);
    remember(key_, value);
    return {true, value.bytes, {}};
}

TStoreResult<qsizetype> TUserStore::readBinaryInto(const QString& name, void* record,
                                                   qsizetype recordSize) const {
    const TStoreResult<QByteArray> data = readBinary(name);
    if (!data) return failure<qsizetype>(data.error);
    if (data.value.size() > recordSize)
        return failure<qsizetype>(
            QStringLiteral("The value \"%1\" holds %2 bytes, more than the %3 it is read into.")
                .arg(name)
                .arg(data.value.size())
                .arg(recordSize));
    if (!data.value.isEmpty())
        std::memcpy(record, data.value.constData(), static_cast<size_t>(data.value.size()));
    return {true, data.value.size(), {}};
}

TStoreStatus TUserStore::write(TStoredValue value) {
    if (!isOpen()) return {false, QStringLiteral("No settings key is open.")};
    if (!writable_)
        return {false,
                QStringLiteral("The settings key \"%1\" is open for reading only.").arg(key_)};
    if (registry_) {
        const QString why = Registry::writeValue(registryPath(key_), value);
        return why.isEmpty() ? TStoreStatus{} : registryFailure(why);
    }
    // Another store may have removed the key meanwhile; an open key for
    // writing behaves as created.
    return change({TChange::TOp::Set, key_, std::move(value)});
}

TStoreStatus TUserStore::writeString(const QString& name, const QString& text) {
    TStoredValue value;
    value.name = name;
    value.kind = TStoreKind::String;
    value.text = text;
    return write(std::move(value));
}

TStoreStatus TUserStore::writeInteger(const QString& name, qint32 number) {
    TStoredValue value;
    value.name = name;
    value.kind = TStoreKind::Integer;
    value.number = number;
    return write(std::move(value));
}

TStoreStatus TUserStore::writeBinary(const QString& name, QByteArrayView data) {
    TStoredValue value;
    value.name = name;
    value.kind = TStoreKind::Binary;
    value.bytes = data.toByteArray();
    return write(std::move(value));
}

TStoreStatus TUserStore::deleteValue(const QString& name) {
    if (!isOpen()) return {false, QStringLiteral("No settings key is open.")};
    if (!writable_)
        return {false,
                QStringLiteral("The settings key \"%1\" is open for reading only.").arg(key_)};
    if (registry_) {
        TStoredValue value;
        QString error;
        if (!lookUp(name, value, error)) return {false, error};
        const QString why = Registry::deleteValue(registryPath(key_), name);
        return why.isEmpty() ? TStoreStatus{} : registryFailure(why);
    }
    const auto loaded = load();
    if (!loaded->file.hasKey(key_)) return {false, keyMissingText(key_)};
    if (!loaded->file.value(key_, name))
        return {false, QStringLiteral("The value \"%1\" does not exist.").arg(name)};
    TStoredValue value;
    value.name = name;
    return change({TChange::TOp::Remove, key_, std::move(value)});
}

QString TUserStore::place(const QString& key) const {
    if (registry_)
        return QStringLiteral("the registry key \"HKEY_CURRENT_USER\\%1\"").arg(registryPath(key));
    return fileName_;
}

TStoreStatus TUserStore::moveKey(const QString& key, const QString& newKey) {
    if (!registry_) return {false, QStringLiteral("Only the registry's keys can be moved.")};
    if (key.isEmpty() || newKey.isEmpty()) return {false, QStringLiteral("A key needs a name.")};
    if (QString::compare(key, key_, Qt::CaseInsensitive) == 0) closeKey();
    const QString why = Registry::moveKey(registryPath(key), registryPath(newKey));
    return {why.isEmpty(), why};
}

bool TUserStore::deleteKey(const QString& key) {
    if (registry_) {
        if (key.isEmpty()) return false;
        if (QString::compare(key, key_, Qt::CaseInsensitive) == 0) closeKey();
        return Registry::deleteKey(registryPath(key));
    }
    const auto loaded = load();
    TUserStoreFile file = loaded->file;
    if (!file.removeKey(key)) return true;
    if (QString::compare(key, key_, Qt::CaseInsensitive) == 0) closeKey();
    return save(file, *loaded).ok;
}
