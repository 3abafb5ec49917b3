#include "places/NetPathList.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

namespace {

bool readPath(DWORD index, QString &path)
{
    return CRegistryAccess().ReadString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::netPath(int(index)), path)
        == RegSuccess;
}

} // namespace

namespace NetPathList {

bool Remove(const QString &path)
{
    CRegistryAccess registry;
    const QString &key = RegistryLayout::NetPathsKey;
    DWORD count = 0;
    if (registry.ReadDword(HKEY_LOCAL_MACHINE, key, RegistryLayout::Count, count) != RegSuccess)
        return false;
    for (DWORD i = 0; i < count; ++i) {
        QString found;
        if (!readPath(i, found) || found != path)
            continue;
        for (DWORD j = i; j + 1 < count; ++j) {
            QString later;
            if (!readPath(j + 1, later))
                continue;
            registry.DeleteValue(HKEY_LOCAL_MACHINE, key, RegistryLayout::netPath(int(j + 1)));
            registry.WriteString(HKEY_LOCAL_MACHINE, key, RegistryLayout::netPath(int(j)), later);
        }
        registry.WriteDword(HKEY_LOCAL_MACHINE, key, RegistryLayout::Count, count - 1);
        return true;
    }
    return false;
}

} // namespace NetPathList
