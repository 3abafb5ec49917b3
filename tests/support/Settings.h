// The program's settings as the program stores them, for tests that set them
// up or read them back.
#pragma once

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <QStringList>

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
    CRegistryAccess registry;
    for (int i = 0; i < paths.size(); ++i)
        registry.WriteString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::netPath(i), paths[i]);
    writeSetting(RegistryLayout::NetPathsKey, RegistryLayout::Count, DWORD(paths.size()));
}
