#include "settings/CRegistryAccess.h"

#include <new>

template<typename Operation>
RegStatus CRegistryAccess::withKey(HKEY root, const QString &subKey, Operation operation)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, wide(subKey), 0, nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return RegOpenFailed;
    const RegStatus status = key ? operation(key) : RegNoKey;
    RegCloseKey(key);
    return status;
}

RegStatus CRegistryAccess::WriteDword(HKEY root, const QString &subKey, const QString &valueName, DWORD value)
{
    return withKey(root, subKey, [&](HKEY key) {
        const BYTE bytes[4] = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
        const LONG result = RegSetValueExW(key, wide(valueName), 0, REG_DWORD, bytes, sizeof bytes);
        return result == ERROR_SUCCESS ? RegSuccess : RegWriteDwordFailed;
    });
}

RegStatus CRegistryAccess::WriteString(HKEY root, const QString &subKey, const QString &valueName,
                                       const QString &value)
{
    return withKey(root, subKey, [&](HKEY key) {
        const auto size = DWORD((value.size() + 1) * sizeof(WCHAR));
        const LONG result = RegSetValueExW(key, wide(valueName), 0, REG_SZ,
                                           reinterpret_cast<const BYTE *>(value.utf16()), size);
        return result == ERROR_SUCCESS ? RegSuccess : RegWriteStringFailed;
    });
}

RegStatus CRegistryAccess::ReadDword(HKEY root, const QString &subKey, const QString &valueName, DWORD &value)
{
    return withKey(root, subKey, [&](HKEY key) {
        BYTE bytes[4] = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
        DWORD type = REG_NONE;
        DWORD size = sizeof bytes;
        if (RegQueryValueExW(key, wide(valueName), nullptr, &type, bytes, &size) != ERROR_SUCCESS)
            return RegReadFailed;
        value = DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
        return type == REG_DWORD ? RegSuccess : RegWrongType;
    });
}

RegStatus CRegistryAccess::ReadString(HKEY root, const QString &subKey, const QString &valueName,
                                      std::unique_ptr<WCHAR[]> &out)
{
    if (out)
        return RegOutputNotEmpty;
    return withKey(root, subKey, [&](HKEY key) {
        const LPCWSTR name = wide(valueName);
        DWORD type = REG_NONE;
        DWORD size = 0;
        const LONG sizeResult = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
        if (size == 0) {
            // A missing value leaves the size at 0 and fails the query.
            if (sizeResult != ERROR_SUCCESS && sizeResult != ERROR_MORE_DATA)
                return RegReadFailed;
            out.reset(new (std::nothrow) WCHAR[1]());
            return out ? RegSuccess : RegOutOfMemory;
        }
        // Room for an odd byte count and a terminator the data may lack.
        std::unique_ptr<WCHAR[]> buffer(new (std::nothrow) WCHAR[(size + 1) / sizeof(WCHAR) + 1]());
        if (!buffer)
            return RegOutOfMemory;
        const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer.get()), &size);
        if (result != ERROR_SUCCESS)
            return result == LONG(ERROR_MORE_DATA) ? RegMoreData : RegReadFailed;
        if (type != REG_SZ)
            return RegWrongType;
        out = std::move(buffer);
        return RegSuccess;
    });
}

RegStatus CRegistryAccess::ReadString(HKEY root, const QString &subKey, const QString &valueName, QString &out)
{
    std::unique_ptr<WCHAR[]> text;
    const RegStatus status = ReadString(root, subKey, valueName, text);
    if (status == RegSuccess)
        out = fromWide(text.get());
    return status;
}

RegStatus CRegistryAccess::DeleteValue(HKEY root, const QString &subKey, const QString &valueName)
{
    return withKey(root, subKey, [&](HKEY key) {
        return RegDeleteValueW(key, wide(valueName)) == ERROR_SUCCESS ? RegSuccess : RegDeleteFailed;
    });
}

RegStatus CRegistryAccess::DeleteKey(HKEY key, const QString &subKey)
{
    if (!key)
        return RegNoKey;
    return RegDeleteKeyW(key, wide(subKey)) == ERROR_SUCCESS ? RegSuccess : RegDeleteFailed;
}
