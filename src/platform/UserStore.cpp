#include "platform/UserStore.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>

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
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
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
    // The version of each file a copy was last kept of.
    QHash<QString, TStamp> copied;
};

TSharedState& shared() {
    static TSharedState state;
    return state;
}

} // namespace

TUserStore::TUserStore(const QString& configFolder) {
    QString folder = configFolder;
    if (folder.isEmpty()) folder = qEnvironmentVariable("HUESPLINTER_CONFIG_DIR");
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
        fresh->unreadable = QStringLiteral("it is not a regular file.");
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
    // The file is replaced by renaming a new one over it: a folder or device
    // in its place must stay what it is.
    if (current.exists && !current.regular) return failed(QStringLiteral("it is not a file."));

    TSharedState& state = shared();
    // What could not be read is not ours to throw away: keep it beside the new file.
    if (current.exists && (!base.unreadable.isEmpty() || base.file.damaged())) {
        bool copyKept = false;
        {
            std::lock_guard lock(state.mutex);
            copyKept = state.copied.value(fileName_) == current;
        }
        if (!copyKept) {
            QString copyName;
            for (int n = 0; n < 1000 && copyName.isEmpty(); ++n) {
                const QString name = fileName_ + QStringLiteral(".damaged") +
                                     (n == 0 ? QString() : QString::number(n));
                if (!QFileInfo::exists(name)) copyName = name;
            }
            if (copyName.isEmpty())
                return failed(QStringLiteral("no name is free for a copy of the damaged file."));
            QFile original(fileName_);
            if (!original.copy(copyName))
                return failed(QStringLiteral("a copy of the damaged file could not be kept "
                                             "as \"%1\": %2")
                                  .arg(copyName, original.errorString()));
            std::lock_guard lock(state.mutex);
            state.copied.insert(fileName_, current);
        }
    }

    const QByteArray bytes = file.toBytes();
    QSaveFile out(fileName_);
    // Unbuffered: a write the disk cuts short must show here, not pass
    // unnoticed in the flush at commit().
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(out.errorString());
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        const int code = errno;
        const QString why = out.error() != QFileDevice::NoError
                                ? out.errorString()
                                : QString::fromStdString(std::system_category().message(code));
        out.cancelWriting();
        return failed(why);
    }
    if (!out.commit()) return failed(out.errorString());

    // The new version is known without reading it back.
    auto written = std::make_shared<TLoaded>();
    written->stamp = stampOf(fileName_);
    written->file = TUserStoreFile::parse(bytes);
    std::lock_guard lock(state.mutex);
    state.loaded.insert(fileName_, written);
    return {};
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
        TUserStoreFile file = loaded->file;
        file.addKey(key);
        const TStoreStatus saved = save(file, *loaded);
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
    return {true, value.text, {}};
}

TStoreResult<qint32> TUserStore::readInteger(const QString& name) const {
    QString error;
    TStoredValue value;
    if (!lookUp(name, value, error)) return failure<qint32>(error);
    error = readProblem(value, name, TStoreKind::Integer);
    if (!error.isEmpty()) return failure<qint32>(error);
    return {true, value.number, {}};
}

TStoreResult<QByteArray> TUserStore::readBinary(const QString& name) const {
    QString error;
    TStoredValue value;
    if (!lookUp(name, value, error)) return failure<QByteArray>(error);
    error = readProblem(value, name, TStoreKind::Binary);
    if (!error.isEmpty()) return failure<QByteArray>(error);
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
    const auto loaded = load();
    // Another store may have removed the key meanwhile; an open key for
    // writing behaves as created.
    TUserStoreFile file = loaded->file;
    file.setValue(key_, std::move(value));
    return save(file, *loaded);
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
    TUserStoreFile file = loaded->file;
    if (!file.removeValue(key_, name))
        return {false, QStringLiteral("The value \"%1\" does not exist.").arg(name)};
    return save(file, *loaded);
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
