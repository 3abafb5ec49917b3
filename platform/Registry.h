// Registry services of the handheld platform over the current device's hive.
// Results are the platform's error codes (ERROR_SUCCESS = 0).
#pragma once

#include "platform/Types.h"

struct RegistryKeyHandle;
using HKEY = RegistryKeyHandle *;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t(0x80000000));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t(0x80000001));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t(0x80000002));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t(0x80000003));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_RESOURCE_LIST = 8;

// The hive file could not be read or written (locked too long, disk full, damaged).
constexpr DWORD ERROR_REGISTRY_IO_FAILED = 1016;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

using REGSAM = DWORD;
using PHKEY = HKEY *;
struct SECURITY_ATTRIBUTES;

// Behaviour common to all calls:
// - Key paths may carry leading, trailing or doubled backslashes; they are
//   ignored. Key and value names compare without regard to case and keep the
//   spelling they were first created with. A null or empty value name is the
//   key's default value. Names are at most 255 characters.
// - Subkeys and values enumerate in creation order; the end is
//   ERROR_NO_MORE_ITEMS. A name buffer too small (sizes in characters with the
//   terminator) gives ERROR_MORE_DATA and the size needed, terminator included;
//   on success the size excludes the terminator.
// - Value data: a null data pointer asks for the size only; a buffer too
//   small gives ERROR_MORE_DATA and the size needed in bytes.
// - A missing key or value is ERROR_FILE_NOT_FOUND; a handle whose key has
//   been deleted meanwhile gives ERROR_KEY_DELETED. RegDeleteKeyW deletes the
//   whole subtree; it needs a non-empty subkey.
// - The root handles stand for the current device's roots; an opened key is a
//   handle bound to that device's hive until RegCloseKey; a closed or unknown
//   key gives ERROR_INVALID_HANDLE.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options,
                     REGSAM samDesired, SECURITY_ATTRIBUTES *securityAttributes, PHKEY result,
                     DWORD *disposition);
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM samDesired, PHKEY result);
LONG RegQueryInfoKeyW(HKEY key, LPWSTR className, DWORD *classNameLength, DWORD *reserved,
                      DWORD *subKeys, DWORD *maxSubKeyLength, DWORD *maxClassLength,
                      DWORD *values, DWORD *maxValueNameLength, DWORD *maxValueLength,
                      DWORD *securityDescriptor, FILETIME *lastWriteTime);
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD *nameLength, DWORD *reserved,
                   LPWSTR className, DWORD *classNameLength, FILETIME *lastWriteTime);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD *valueNameLength,
                   DWORD *reserved, DWORD *type, BYTE *data, DWORD *dataLength);
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD *reserved, DWORD *type, BYTE *data,
                      DWORD *dataLength);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE *data,
                    DWORD dataLength);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
LONG RegCloseKey(HKEY key);
