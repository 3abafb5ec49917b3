#include "platform/FileCopy.h"

#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/FileTime.h"
#include "platform/PosixError.h"
#include "platform/UniqueFd.h"

#include <QRandomGenerator>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool failWith(int err)
{
    errno = err;
    return false;
}

} // namespace

int (*FileCopy::flushCall)(int fd) = ::fsync;

DWORD FileCopy::copy(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                     const QByteArray &targetName, Existing existing, Flush flush)
{
    if (existing == Existing::Fail) {
        // An unnamed file, given its name once complete: one change to the
        // folder instead of two, and nothing left behind by a crash.
        UniqueFd target(::openat(targetDir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (target.valid()) {
            if (copyContent(source, target.get()) && finish(target.get(), info, storedBits, flush)
                && ::linkat(AT_FDCWD, DevicePath::fdPath(target.get()).constData(), targetDir, targetName.constData(),
                            AT_SYMLINK_FOLLOW)
                    == 0)
                return ERROR_SUCCESS;
            return errno == EEXIST ? ERROR_FILE_EXISTS : PosixError::toPlatform(errno);
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return PosixError::toPlatform(errno);
        // File systems without unnamed files use a temporary name.
    }
    QByteArray temporary;
    UniqueFd target;
    for (int attempt = 0; attempt < 8 && !target.valid(); ++attempt) {
        temporary = ".~qm" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        target.reset(::openat(targetDir, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!target.valid() && errno != EEXIST)
            break;
    }
    if (!target.valid())
        return PosixError::toPlatform(errno);

    if (copyContent(source, target.get()) && finish(target.get(), info, storedBits, flush)) {
        target.reset();
        if (place(targetDir, temporary, targetName, existing))
            return ERROR_SUCCESS;
    }
    const int err = errno;
    target.reset();
    ::unlinkat(targetDir, temporary.constData(), 0);
    return err == EEXIST ? ERROR_FILE_EXISTS : PosixError::toPlatform(err);
}

DWORD FileCopy::copyPath(const DevicePath &source, const DevicePath &target, Existing existing, Flush flush)
{
    ObjectInfo info;
    UniqueFd sourceObject;
    DWORD error = source.stat(info, &sourceObject);
    if (error != ERROR_SUCCESS)
        return error;
    if (info.isDirectory())
        return ERROR_ACCESS_DENIED;
    if (!target.ok())
        return target.error();
    if (target.isRoot())
        return ERROR_ACCESS_DENIED;
    if (target.exists()) {
        ObjectInfo targetInfo;
        error = target.stat(targetInfo);
        if (error != ERROR_SUCCESS)
            return error;
        if (existing == Existing::Fail)
            return ERROR_FILE_EXISTS;
        // Onto itself: the source is in use as the source.
        if (targetInfo.sameObject(info))
            return ERROR_SHARING_VIOLATION;
        if (targetInfo.isDirectory() || targetInfo.isReadOnly() || targetInfo.isInRom())
            return ERROR_ACCESS_DENIED;
        flush = Flush::BeforeRename;
    } else {
        // Never over a file that appears meanwhile: nobody agreed to replace it.
        existing = Existing::Fail;
    }

    UniqueFd in(::open(DevicePath::fdPath(sourceObject.get()).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return PosixError::toPlatform(errno);
    // The stat has read the stored bits already, so they are not read twice.
    return copy(in.get(), info, info.attributes & DosAttributes::StoredMask, target.dirFd(), target.name(), existing,
                flush);
}

bool FileCopy::copyContent(int source, int target)
{
    loff_t in = 0;
    bool kernelCopy = true;
    while (kernelCopy) {
        const ssize_t n = ::copy_file_range(source, &in, target, nullptr, 1 << 30, 0);
        if (n == 0)
            return true;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return false;
        kernelCopy = false; // file systems that cannot: copy through a buffer
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::pread(source, buffer, sizeof buffer, in);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(target, buffer + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return failWith(w < 0 ? errno : ENOSPC);
            done += w;
        }
        in += n;
    }
}

bool FileCopy::finish(int target, const ObjectInfo &info, DWORD storedBits, Flush flush)
{
    const timespec times[2] = {FileTime::toTimespec(info.lastAccessTime), FileTime::toTimespec(info.lastWriteTime)};
    // The temporary file is new: with no bits to store there is nothing to remove.
    if (storedBits & DosAttributes::StoredMask && !DosAttributes::writeOpen(target, storedBits))
        return false;
    return ::fchmod(target, info.mode & 07777) == 0 && ::futimens(target, times) == 0
        && (flush == Flush::No || flushCall(target) == 0);
}

bool FileCopy::place(int dir, const QByteArray &temporary, const QByteArray &name, Existing existing)
{
    if (existing == Existing::Replace)
        return ::renameat(dir, temporary.constData(), dir, name.constData()) == 0;
    if (::renameat2(dir, temporary.constData(), dir, name.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    // No RENAME_NOREPLACE here: a hard link fails on an existing name just the same.
    if (::linkat(dir, temporary.constData(), dir, name.constData(), 0) != 0)
        return false;
    ::unlinkat(dir, temporary.constData(), 0);
    return true;
}
