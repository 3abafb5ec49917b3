#include "list/FileFilter.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "list/CFileTypeInfo.h"

#include <QStringList>
#include <array>

namespace {

enum MainFilter : DWORD { ShowAll = 0, HideSystemTypes = 1, ShowGroup = 2 };
constexpr DWORD HideRomOn = 1;

const QStringList &SystemTypes()
{
    static const QStringList types = {"DLL", "CPL", "DRV", "HTP"};
    return types;
}

// Indexed by SubFilter.
const std::array<QStringList, 4> &Groups()
{
    static const std::array<QStringList, 4> groups = {
        QStringList{"DOC", "TXT", "PSW", "PWD", "PXL", "XLS"},
        QStringList{"EXE"},
        QStringList{"2BP", "BMP", "JPG", "GIF", "PCX", "TIF"},
        QStringList{"HTML", "HTM", "URL", "XML", "XSL"},
    };
    return groups;
}

DWORD ReadSetting(const QString &name)
{
    DWORD value = 0;
    CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name, value);
    return value;
}

} // namespace

bool PassesFileFilter(const WIN32_FIND_DATAW &findData)
{
    const DWORD mainFilter = ReadSetting(RegistryLayout::MainFilter);
    const DWORD subFilter = ReadSetting(RegistryLayout::SubFilter);
    const DWORD hideRom = ReadSetting(RegistryLayout::HideROM);

    if (hideRom == HideRomOn && (findData.dwFileAttributes & FILE_ATTRIBUTE_INROM))
        return false;
    if (mainFilter == ShowAll)
        return true;

    const QString extension = CFileTypeInfo().GetExtension(fromWide(findData.cFileName));
    switch (mainFilter) {
    case HideSystemTypes:
        return !SystemTypes().contains(extension);
    case ShowGroup:
        return subFilter >= Groups().size() || Groups()[subFilter].contains(extension);
    default:
        return true;
    }
}
