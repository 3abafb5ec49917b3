// The file list's filter: which enumerated files are shown.
//
// The settings are read from the FileFilter key through the settings store
// for every record (no copy is kept, so a change shows at the next load):
// HideROM 1 hides files with the in-ROM bit; MainFilter 0 shows all, 1 hides
// DLL, CPL, DRV and HTP files, 2 shows only the SubFilter group (0 documents,
// 1 executables, 2 images, 3 internet files). Absent values count as 0; any
// other number shows everything.
#pragma once

#include "platform/Types.h"

// Whether the file of one find-data record (not a folder) is listed.
bool PassesFileFilter(const WIN32_FIND_DATAW &findData);
