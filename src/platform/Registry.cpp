#include "platform/Registry.h"

#include "platform/WindowsErrors.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>
#include <vector>
#endif

namespace Registry {

#ifdef _WIN32

namespace {

QString systemText(LSTATUS code) {
    return WindowsErrors::text(static_cast<std::uint32_t>(code));
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// An open registry key, closed when it goes out of scope.
class TKey {
public:
    TKey() = default;
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
    ~TKey() {
        if (handle_) RegCloseKey(handle_);
    }
    LSTATUS open(const QString& path, REGSAM access) {
        return RegOpenKeyExW(HKEY_CURRENT_USER, wide(path), 0, access, &handle_);
    }
    LSTATUS create(const QString& path, DWORD* disposition = nullptr) {
        return RegCreateKeyExW(HKEY_CURRENT_USER, wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, &handle_, disposition);
    }
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

// A value's type and bytes; the size can change between asking and reading.
LSTATUS queryValue(HKEY key, const QString& name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, wide(name), nullptr, &type, nullptr, &size);
    for (int attempt = 0; attempt < 4 && status == ERROR_SUCCESS; ++attempt) {
        data.resize(size);
        status = RegQueryValueExW(key, wide(name), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(size);
            return status;
        }
        if (status == ERROR_MORE_DATA) status = ERROR_SUCCESS;
    }
    return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

void decode(DWORD type, const std::vector<BYTE>& data, TStoredValue& value) {
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        value.kind = TStoreKind::String;
        if (data.size() % 2 != 0) {
            value.damage = QStringLiteral("the text has an odd number of bytes.");
            return;
        }
        qsizetype units = static_cast<qsizetype>(data.size() / 2);
        std::vector<char16_t> text(static_cast<std::size_t>(units));
        if (units) std::memcpy(text.data(), data.data(), data.size());
        // The terminating zero is not part of the text; a value written
        // without one is read as it is.
        while (units > 0 && text[static_cast<std::size_t>(units - 1)] == 0)
            --units;
        value.text = QString(reinterpret_cast<const QChar*>(text.data()), units);
        return;
    }
    case REG_DWORD:
        value.kind = TStoreKind::Integer;
        if (data.size() != sizeof(DWORD)) {
            value.damage =
                QStringLiteral("a 32-bit integer needs 4 bytes, not %1.").arg(data.size());
            return;
        }
        DWORD number;
        std::memcpy(&number, data.data(), sizeof number);
        value.number = static_cast<qint32>(number);
        return;
    case REG_BINARY:
        value.kind = TStoreKind::Binary;
        value.bytes = QByteArray(reinterpret_cast<const char*>(data.data()),
                                 static_cast<qsizetype>(data.size()));
        return;
    default:
        value.kind = TStoreKind::None;
        value.damage =
            QStringLiteral("it is of registry type %1, which this program does not use.").arg(type);
        return;
    }
}

} // namespace

bool available() {
    return true;
}

bool keyExists(const QString& path) {
    TKey key;
    return key.open(path, KEY_READ) == ERROR_SUCCESS;
}

QString createKey(const QString& path) {
    TKey key;
    const LSTATUS status = key.create(path);
    return status == ERROR_SUCCESS ? QString() : systemText(status);
}

TFound readValue(const QString& path, const QString& name, TStoredValue& value) {
    TKey key;
    if (key.open(path, KEY_READ) != ERROR_SUCCESS) return TFound::NoKey;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    const LSTATUS status = queryValue(key.get(), name, type, data);
    if (status == ERROR_FILE_NOT_FOUND) return TFound::NoValue;
    value = TStoredValue{};
    value.name = name;
    if (status != ERROR_SUCCESS) {
        value.damage = systemText(status);
        return TFound::Value;
    }
    decode(type, data, value);
    return TFound::Value;
}

QStringList valueNames(const QString& path) {
    TKey key;
    if (key.open(path, KEY_READ) != ERROR_SUCCESS) return {};
    QStringList names;
    // Value names are at most 16,383 characters.
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status = RegEnumValueW(key.get(), index, name.data(), &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.append(QString::fromWCharArray(name.data(), static_cast<qsizetype>(length)));
    }
    return names;
}

QString writeRaw(const QString& path, const QString& name, unsigned long type,
                 const QByteArray& data) {
    TKey key;
    LSTATUS status = key.create(path);
    if (status != ERROR_SUCCESS) return systemText(status);
    status = RegSetValueExW(key.get(), wide(name), 0, type,
                            reinterpret_cast<const BYTE*>(data.constData()),
                            static_cast<DWORD>(data.size()));
    return status == ERROR_SUCCESS ? QString() : systemText(status);
}

QString writeValue(const QString& path, const TStoredValue& value) {
    switch (value.kind) {
    case TStoreKind::String: {
        // With its terminating zero, as programs reading REG_SZ expect.
        QByteArray data(reinterpret_cast<const char*>(value.text.utf16()),
                        (value.text.size() + 1) * 2);
        return writeRaw(path, value.name, REG_SZ, data);
    }
    case TStoreKind::Integer: {
        const DWORD number = static_cast<DWORD>(value.number);
        return writeRaw(path, value.name, REG_DWORD,
                        QByteArray(reinterpret_cast<const char*>(&number), sizeof number));
    }
    case TStoreKind::Binary:
        return writeRaw(path, value.name, REG_BINARY, value.bytes);
    case TStoreKind::None:
        break;
    }
    return QStringLiteral("A value needs a kind.");
}

QString deleteValue(const QString& path, const QString& name) {
    TKey key;
    LSTATUS status = key.open(path, KEY_SET_VALUE);
    if (status != ERROR_SUCCESS) return systemText(status);
    status = RegDeleteValueW(key.get(), wide(name));
    return status == ERROR_SUCCESS ? QString() : systemText(status);
}

bool deleteKey(const QString& path) {
    if (path.isEmpty()) return false;
    RegDeleteTreeW(HKEY_CURRENT_USER, wide(path));
    RegDeleteKeyW(HKEY_CURRENT_USER, wide(path));
    return !keyExists(path);
}

QString moveKey(const QString& from, const QString& to) {
    TKey source;
    LSTATUS status = source.open(from, KEY_READ);
    if (status != ERROR_SUCCESS) return systemText(status);
    {
        TKey target;
        DWORD disposition = 0;
        status = target.create(to, &disposition);
        if (status != ERROR_SUCCESS) return systemText(status);
        // Never into a key that was there: its values would mix with the moved ones.
        if (disposition != REG_CREATED_NEW_KEY) return systemText(ERROR_ALREADY_EXISTS);
        status = RegCopyTreeW(source.get(), nullptr, target.get());
    }
    if (status != ERROR_SUCCESS) {
        deleteKey(to);
        return systemText(status);
    }
    if (!deleteKey(from))
        return QStringLiteral("The key was copied to \"%1\" but could not be removed.").arg(to);
    return {};
}

#else

namespace {

QString noRegistry() {
    return QStringLiteral("This system has no registry.");
}

} // namespace

bool available() {
    return false;
}

bool keyExists(const QString&) {
    return false;
}

QString createKey(const QString&) {
    return noRegistry();
}

TFound readValue(const QString&, const QString&, TStoredValue&) {
    return TFound::NoKey;
}

QStringList valueNames(const QString&) {
    return {};
}

QString writeValue(const QString&, const TStoredValue&) {
    return noRegistry();
}

QString deleteValue(const QString&, const QString&) {
    return noRegistry();
}

bool deleteKey(const QString&) {
    return true;
}

QString moveKey(const QString&, const QString&) {
    return noRegistry();
}

QString writeRaw(const QString&, const QString&, unsigned long, const QByteArray&) {
    return noRegistry();
}

#endif

} // namespace Registry
