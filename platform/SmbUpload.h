// CopyFileW onto a share: the source (device or share) is read through the
// platform calls and written to a temporary name beside the target, which
// gets the source's write time and attributes (and the archive bit, as every
// new file on a share) and only then takes the target's name. A small file costs one call on the server's worker: check,
// create, write, close, times, rename; a large one a call per block more.
#pragma once

#include "platform/SmbPath.h"
#include "platform/Types.h"

class SmbUpload
{
public:
    // source: a file, described by its find record. Returns ERROR_SUCCESS,
    // ERROR_FILE_EXISTS when the target exists and replace is false, or
    // another platform error; a failure leaves no temporary file and the old
    // target as it was.
    static DWORD copy(const QString &source, const WIN32_FIND_DATAW &record, const SmbPath &target, bool replace);
};
