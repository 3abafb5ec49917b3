// The file list's filter: which enumerated files are shown.
//
// The settings are read from the FileFilter key through the settings store
// when a filter is made, once per folder load, so a change shows at the next
// load: HideROM 1 hides files with the in-ROM bit; MainFilter 0 shows all, 1
// hides DLL, CPL, DRV and HTP files, 2 shows only the SubFilter group (0
// documents, 1 executables, 2 images, 3 internet files). Absent values count
// as 0; any other number shows everything.
#pragma once

#include "platform/Types.h"

#include <QHash>
#include <QString>

class FileFilter
{
public:
    FileFilter();

    // Whether the file of one find-data record (not a folder) is listed.
    bool Passes(const WIN32_FIND_DATAW &findData);
    // Whether both filters were made from the same settings.
    bool SameSettings(const FileFilter &other) const
    {
        return m_mainFilter == other.m_mainFilter && m_subFilter == other.m_subFilter && m_hideRom == other.m_hideRom;
    }

private:
    bool PassesExtension(const QString &extension) const;

    DWORD m_mainFilter = 0;
    DWORD m_subFilter = 0;
    DWORD m_hideRom = 0;
    // The decision for each upper-case extension seen during this load.
    QHash<QString, bool> m_byExtension;
};
