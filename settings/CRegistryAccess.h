// The settings store: every application setting is read and written here.
//
// CRegistryAccess has no state. Each operation but DeleteKey opens the key
// path below root with RegCreateKeyExW (creating it when missing, on reads and
// deletes too), performs one call and closes the key again, so it always sees
// the registry as it is at that moment. Callers only tell success (0) from
// failure; a read that fails leaves the caller's pre-set default alone.
#pragma once

#include "platform/Registry.h"

#include <QString>
#include <memory>

enum RegStatus : int {
    RegSuccess = 0,
    RegWriteDwordFailed = 1,
    RegWriteStringFailed = 2,
    RegReadFailed = 3,          // includes: the value does not exist
    RegMoreData = 4,            // string read: more data than the buffer holds
    RegOpenFailed = 5,          // the key path could not be opened or created
    RegWrongType = 6,           // the value exists with another type
    RegNoKey = 7,
    RegOutOfMemory = 9,
    RegDeleteFailed = 10,
    RegOutputNotEmpty = 11,     // string read: the output was not empty on entry
};

class CRegistryAccess
{
public:
    // A null or empty valueName addresses the key's default value.
    RegStatus WriteDword(HKEY root, const QString &subKey, const QString &valueName, DWORD value);
    // Stores value as REG_SZ of (length + 1) * 2 bytes, terminator included.
    RegStatus WriteString(HKEY root, const QString &subKey, const QString &valueName, const QString &value);
    // Succeeds only for a REG_DWORD value. On failure value keeps what the
    // caller put there, except for RegWrongType, where it may hold the first
    // four bytes of the stored data.
    RegStatus ReadDword(HKEY root, const QString &subKey, const QString &valueName, DWORD &value);
    // out must be empty on entry (else RegOutputNotEmpty and out is untouched).
    // On success out owns a zero-terminated copy of the REG_SZ value (an empty
    // string for a value without data); on every failure out stays empty.
    RegStatus ReadString(HKEY root, const QString &subKey, const QString &valueName,
                         std::unique_ptr<WCHAR[]> &out);
    // The same read into a QString; out is left alone on failure.
    RegStatus ReadString(HKEY root, const QString &subKey, const QString &valueName, QString &out);
    RegStatus DeleteValue(HKEY root, const QString &subKey, const QString &valueName);
    // Deletes subKey (with everything below it) under an open key or a root,
    // without opening anything first.
    RegStatus DeleteKey(HKEY key, const QString &subKey);

private:
    template<typename Operation>
    RegStatus withKey(HKEY root, const QString &subKey, Operation operation);
};
