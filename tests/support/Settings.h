// The program's settings as the program stores them, for tests that set them
// up or read them back, and raw registry values below the settings store.
#pragma once

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <QStringList>
#include <gtest/gtest.h>

// A REG_DWORD value of HKEY_LOCAL_MACHINE\key; absent value: RegReadFailed.
inline RegStatus readSetting(const QString &key, const QString &name, DWORD &value)
{
    return CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, key, name, value);
}
inline void writeSetting(const QString &key, const QString &name, DWORD value)
{
    CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, key, name, value);
}

// Maps the network paths, in order, as the Connect command stores them.
inline void mapNetPaths(const QStringList &paths)
{
    for (int i = 0; i < paths.size(); ++i)
        CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::netPath(i), paths[i]);
    writeSetting(RegistryLayout::NetPathsKey, RegistryLayout::Count, DWORD(paths.size()));
}

// Stores bytes of any type under root\key, bypassing the settings store.
inline void setRaw(HKEY root, const QString &key, const QString &name, DWORD type, const QByteArray &data)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, wide(key), 0, nullptr, 0, 0, nullptr, &handle, nullptr), 0);
    const auto *bytes = reinterpret_cast<const BYTE *>(data.constData());
    EXPECT_EQ(RegSetValueExW(handle, wide(name), 0, type, bytes, DWORD(data.size())), 0);
    RegCloseKey(handle);
}

// Type and bytes (up to 128) as stored; REG_NONE and "<missing key>" or "<missing>".
inline std::pair<DWORD, QByteArray> raw(HKEY root, const QString &key, const QString &name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, wide(key), 0, KEY_ALL_ACCESS, &handle) != 0)
        return {REG_NONE, "<missing key>"};
    QByteArray data(128, '\0');
    DWORD size = DWORD(data.size()), type = REG_NONE;
    const LONG result =
        RegQueryValueExW(handle, wide(name), nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
    RegCloseKey(handle);
    if (result != 0)
        return {REG_NONE, "<missing>"};
    data.truncate(size);
    return {type, data};
}
