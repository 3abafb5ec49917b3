// GetFileAttributesW / SetFileAttributesW.
#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/Files.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"

#include <sys/stat.h>

DWORD GetFileAttributesW(LPCWSTR fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    ObjectInfo info;
    const DWORD error = path.stat(info);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return info.attributes;
}

BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes)
{
    if (!fileName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    UniqueFd object;
    ObjectInfo info;
    const DWORD error = path.stat(info, &object);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (info.isInRom())
        return PosixError::failWith(ERROR_ACCESS_DENIED);

    const QByteArray objectPath = DevicePath::fdPath(object.get());
    const DWORD requested = attributes & DosAttributes::SettableMask;
    const DWORD kept = DosAttributes::read(objectPath.constData(), DosAttributes::Link::Follow)
        & ~DosAttributes::SettableMask;
    // A card's TEMPORARY bit comes from what it is, not from the stored bits.
    const DWORD stored = (kept | requested) & (info.card ? ~FILE_ATTRIBUTE_TEMPORARY : ~DWORD(0));
    if (!DosAttributes::write(objectPath.constData(), stored, DosAttributes::Link::Follow))
        return PosixError::fail();

    const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t permissions = info.mode & 07777;
    const mode_t mode = (requested & FILE_ATTRIBUTE_READONLY) ? permissions & ~writeBits
                                                              : permissions | (info.isReadOnly() ? S_IWUSR : 0);
    if (mode != permissions && ::chmod(objectPath.constData(), mode) != 0)
        return PosixError::fail();
    return TRUE;
}
