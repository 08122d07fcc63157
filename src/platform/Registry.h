#pragma once

#include "platform/UserStoreFile.h"

#include <QString>
#include <QStringList>

// The current user's part of the Windows registry (HKEY_CURRENT_USER), with
// the value kinds the settings store keeps: REG_SZ strings, REG_DWORD 32-bit
// integers and REG_BINARY data. Key paths are relative to that root
// ("Software\Vextora\Huesplinter"). On other systems there is no registry:
// available() is false, nothing exists and every change fails saying so.
namespace Registry {

bool available();

bool keyExists(const QString& path);

// Empty when the key exists afterwards; otherwise the system's reason.
QString createKey(const QString& path);

enum class TFound { NoKey, NoValue, Value };

// Fills `value` when found. A value of a kind the store never writes, or whose
// data does not fit its kind (a REG_DWORD of 3 bytes), is found but damaged:
// `damage` says why, and the other values of the key read as usual.
TFound readValue(const QString& path, const QString& name, TStoredValue& value);

// In the order the system lists them; empty for a missing key.
QStringList valueNames(const QString& path);

// Creates the key when missing. Empty when done; otherwise the system's reason.
QString writeValue(const QString& path, const TStoredValue& value);

// Empty when the value is gone afterwards.
QString deleteValue(const QString& path, const QString& name);

// Removes the key with its values and subkeys; true when it is gone afterwards.
bool deleteKey(const QString& path);

// Moves the key with its values and subkeys to `to`, which must not exist yet: copied first, and
// only then removed, so a failure halfway leaves the key as it was. Empty when done; otherwise
// the system's reason.
QString moveKey(const QString& from, const QString& to);

// Writes a value of any registry type with the bytes as given, for checks of
// how damaged values read. Empty when done.
QString writeRaw(const QString& path, const QString& name, unsigned long type,
                 const QByteArray& data);

} // namespace Registry
