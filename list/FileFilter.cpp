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

FileFilter::FileFilter()
    : m_mainFilter(ReadSetting(RegistryLayout::MainFilter))
    , m_subFilter(ReadSetting(RegistryLayout::SubFilter))
    , m_hideRom(ReadSetting(RegistryLayout::HideROM))
{
}

bool FileFilter::Passes(const WIN32_FIND_DATAW &findData)
{
    if (m_hideRom == HideRomOn && (findData.dwFileAttributes & FILE_ATTRIBUTE_INROM))
        return false;
    if (m_mainFilter != HideSystemTypes && m_mainFilter != ShowGroup)
        return true;

    const QString extension = CFileTypeInfo().GetExtension(fromWide(findData.cFileName));
    const auto known = m_byExtension.constFind(extension);
    if (known != m_byExtension.constEnd())
        return *known;
    const bool passes = PassesExtension(extension);
    m_byExtension.insert(extension, passes);
    return passes;
}

bool FileFilter::PassesExtension(const QString &extension) const
{
    if (m_mainFilter == HideSystemTypes)
        return !SystemTypes().contains(extension);
    return m_subFilter >= Groups().size() || Groups()[m_subFilter].contains(extension);
}
