#include "platform/LinkInfo.h"

#include "platform/DevicePath.h"
#include "platform/PosixError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ERROR_SUCCESS with isLink set, or why path could not be examined.
DWORD examine(const DevicePath &path, bool &isLink)
{
    isLink = false;
    if (!path.ok())
        return path.error();
    if (path.isRoot())
        return ERROR_SUCCESS;
    if (!path.exists())
        return ERROR_FILE_NOT_FOUND;
    struct stat st;
    if (::fstatat(path.dirFd(), path.name().constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return ERROR_FILE_NOT_FOUND;
    if (!S_ISLNK(st.st_mode))
        return ERROR_SUCCESS;
    UniqueFd object;
    bool card = false;
    // A link that cannot be opened (dangling, or leaving the device) is still a link.
    isLink = path.openObject(object, &card) != ERROR_SUCCESS || !card;
    return ERROR_SUCCESS;
}

} // namespace

BOOL IsSymbolicLink(LPCWSTR path)
{
    if (!path)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    bool isLink = false;
    const DWORD error = examine(DevicePath::resolve(fromWide(path)), isLink);
    SetLastError(error);
    return isLink ? TRUE : FALSE;
}

BOOL DeleteSymbolicLink(LPCWSTR path)
{
    if (!path)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    const DevicePath resolved = DevicePath::resolve(fromWide(path));
    bool isLink = false;
    const DWORD error = examine(resolved, isLink);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (!isLink)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    return ::unlinkat(resolved.dirFd(), resolved.name().constData(), 0) == 0 ? TRUE : PosixError::fail();
}
