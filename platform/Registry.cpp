#include "platform/Registry.h"

#include "platform/Device.h"
#include "platform/HandleTable.h"
#include "platform/RegistryHive.h"

#include <cstring>

// An opened key: the hive it lives in and its id there, in the handle table
// like files. The four roots are not in the table; they stand for the
// current device's root keys.
struct RegistryKeyHandle final : PlatformHandle {
    RegistryKeyHandle(RegistryHive *h, RegistryHive::KeyId i) : hive(h), id(i) {}
    RegistryHive *hive;
    RegistryHive::KeyId id;
};

namespace {

struct Key {
    RegistryHive *hive = nullptr;
    RegistryHive::KeyId id = 0;
};

// 0 to 3 for the four root handles, -1 for any other.
int rootIndex(HKEY handle)
{
    const auto offset = reinterpret_cast<std::uintptr_t>(handle) - reinterpret_cast<std::uintptr_t>(HKEY_CLASSES_ROOT);
    return offset <= 3 ? int(offset) : -1;
}

DWORD resolve(HKEY handle, Key *key)
{
    if (!handle)
        return ERROR_INVALID_HANDLE;
    if (const int root = rootIndex(handle); root >= 0) {
        Device *device = Device::current();
        if (!device)
            return ERROR_INVALID_HANDLE;
        key->hive = &device->hive();
        key->id = RegistryHive::ClassesRoot + root;
        return ERROR_SUCCESS;
    }
    const RegistryKeyHandle *opened = HandleTable::get<RegistryKeyHandle>(reinterpret_cast<HANDLE>(handle));
    if (!opened)
        return ERROR_INVALID_HANDLE;
    key->hive = opened->hive;
    key->id = opened->id;
    return ERROR_SUCCESS;
}

// Copies name with a terminator when it fits in *length characters; else
// stores the size needed (with terminator) and reports ERROR_MORE_DATA.
DWORD copyName(const QString &name, LPWSTR buffer, DWORD *length)
{
    const DWORD needed = DWORD(name.size()) + 1;
    if (*length < needed) {
        *length = needed;
        return ERROR_MORE_DATA;
    }
    copyToWide(name, buffer, int(needed));
    *length = DWORD(name.size());
    return ERROR_SUCCESS;
}

// Hands out value data by the platform's rules: no buffer asks for the size
// only; a buffer too small gets ERROR_MORE_DATA and the size needed.
DWORD copyData(const QByteArray &data, BYTE *buffer, DWORD *length)
{
    if (!length)
        return ERROR_SUCCESS;
    const DWORD size = DWORD(data.size());
    const bool fits = *length >= size;
    if (buffer && fits && size)
        std::memcpy(buffer, data.constData(), size);
    *length = size;
    return !buffer || fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LONG openHandle(const Key &key, RegistryHive::KeyId id, PHKEY result)
{
    *result = reinterpret_cast<HKEY>(HandleTable::add(std::make_unique<RegistryKeyHandle>(key.hive, id)));
    return ERROR_SUCCESS;
}

} // namespace

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES *,
                     PHKEY result, DWORD *disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    Key parent;
    if (const DWORD error = resolve(key, &parent))
        return LONG(error);
    RegistryHive::KeyId id = 0;
    bool created = false;
    if (const DWORD error = parent.hive->createKey(parent.id, fromWide(subKey), &id, &created))
        return LONG(error);
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return openHandle(parent, id, result);
}

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    Key parent;
    if (const DWORD error = resolve(key, &parent))
        return LONG(error);
    RegistryHive::KeyId id = 0;
    if (const DWORD error = parent.hive->openKey(parent.id, fromWide(subKey), &id))
        return LONG(error);
    return openHandle(parent, id, result);
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR className, DWORD *classNameLength, DWORD *, DWORD *subKeys,
                      DWORD *maxSubKeyLength, DWORD *maxClassLength, DWORD *values,
                      DWORD *maxValueNameLength, DWORD *maxValueLength, DWORD *securityDescriptor,
                      FILETIME *lastWriteTime)
{
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    RegistryHive::KeyInfo info;
    if (const DWORD error = k.hive->keyInfo(k.id, &info))
        return LONG(error);
    // Keys here have no class and no security descriptor.
    if (className && classNameLength && *classNameLength > 0)
        className[0] = 0;
    const std::pair<DWORD *, DWORD> outputs[] = {
        {classNameLength, 0},
        {subKeys, info.subKeys},
        {maxSubKeyLength, info.maxSubKeyLength},
        {maxClassLength, 0},
        {values, info.values},
        {maxValueNameLength, info.maxValueNameLength},
        {maxValueLength, info.maxValueLength},
        {securityDescriptor, 0},
    };
    for (const auto &[output, value] : outputs) {
        if (output)
            *output = value;
    }
    if (lastWriteTime)
        *lastWriteTime = FILETIME();
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD *nameLength, DWORD *, LPWSTR className,
                   DWORD *classNameLength, FILETIME *lastWriteTime)
{
    if (!name || !nameLength)
        return ERROR_INVALID_PARAMETER;
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    QString subKey;
    if (const DWORD error = k.hive->subKeyAt(k.id, index, &subKey))
        return LONG(error);
    if (className && classNameLength && *classNameLength > 0)
        className[0] = 0;
    if (classNameLength)
        *classNameLength = 0;
    if (lastWriteTime)
        *lastWriteTime = FILETIME();
    return LONG(copyName(subKey, name, nameLength));
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD *valueNameLength, DWORD *,
                   DWORD *type, BYTE *data, DWORD *dataLength)
{
    if (!valueName || !valueNameLength || (data && !dataLength))
        return ERROR_INVALID_PARAMETER;
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    RegistryHive::Value value;
    if (const DWORD error = k.hive->valueAt(k.id, index, &value))
        return LONG(error);
    if (type)
        *type = value.type;
    const DWORD nameError = copyName(value.name, valueName, valueNameLength);
    const DWORD dataError = copyData(value.data, data, dataLength);
    return LONG(nameError ? nameError : dataError);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD *, DWORD *type, BYTE *data, DWORD *dataLength)
{
    if (data && !dataLength)
        return ERROR_INVALID_PARAMETER;
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    RegistryHive::Value value;
    if (const DWORD error = k.hive->queryValue(k.id, fromWide(valueName), &value))
        return LONG(error);
    if (type)
        *type = value.type;
    return LONG(copyData(value.data, data, dataLength));
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE *data, DWORD dataLength)
{
    if (!data && dataLength)
        return ERROR_INVALID_PARAMETER;
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    const QByteArray bytes(reinterpret_cast<const char *>(data), data ? qsizetype(dataLength) : 0);
    return LONG(k.hive->setValue(k.id, fromWide(valueName), type, bytes));
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName)
{
    Key k;
    if (const DWORD error = resolve(key, &k))
        return LONG(error);
    return LONG(k.hive->deleteValue(k.id, fromWide(valueName)));
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey)
{
    // Naming no subkey would delete the key itself; the platform refuses that.
    const QString path = fromWide(subKey);
    if (path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).isEmpty())
        return ERROR_INVALID_PARAMETER;
    Key parent;
    if (const DWORD error = resolve(key, &parent))
        return LONG(error);
    RegistryHive::KeyId id = 0;
    if (const DWORD error = parent.hive->openKey(parent.id, path, &id))
        return LONG(error);
    return LONG(parent.hive->deleteKey(id));
}

LONG RegCloseKey(HKEY key)
{
    if (rootIndex(key) >= 0)
        return ERROR_SUCCESS;
    const HANDLE handle = reinterpret_cast<HANDLE>(key);
    return HandleTable::get<RegistryKeyHandle>(handle) && HandleTable::close(handle) ? ERROR_SUCCESS
                                                                                      : ERROR_INVALID_HANDLE;
}
