// GetFileAttributesW / SetFileAttributesW.
#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/Files.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"
#include "platform/SmbProvider.h"

DWORD GetFileAttributesW(LPCWSTR fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (const auto smb = SmbPath::parse(fromWide(fileName)))
        return SmbProvider::getAttributes(*smb);
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
    if (const auto smb = SmbPath::parse(fromWide(fileName)))
        return SmbProvider::setAttributes(*smb, attributes);
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    UniqueFd object;
    ObjectInfo info;
    const DWORD error = path.stat(info, &object);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    // The root and the cards are the host's folders, not the device's.
    if (info.isInRom() || path.isRoot() || info.card)
        return PosixError::failWith(ERROR_ACCESS_DENIED);

    return DosAttributes::change(DevicePath::fdPath(object.get()).constData(), info, attributes) ? TRUE
                                                                                                : PosixError::fail();
}
