// MarkProgramFileW.
#include "platform/DevicePath.h"
#include "platform/Files.h"
#include "platform/PosixError.h"

#include <fcntl.h>
#include <sys/stat.h>

BOOL MarkProgramFileW(LPCWSTR fileName)
{
    if (!fileName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    if (!path.ok())
        return PosixError::failWith(path.error());
    if (!path.exists())
        return PosixError::failWith(ERROR_FILE_NOT_FOUND);
    const UniqueFd fd(path.openFile(O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
        return PosixError::fail();
    if (!S_ISREG(st.st_mode))
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    // Whoever may read it may run it.
    return ::fchmod(fd.get(), st.st_mode | ((st.st_mode & 0444) >> 2)) == 0 ? TRUE : PosixError::fail();
}
