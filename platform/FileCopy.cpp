#include "platform/FileCopy.h"

#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/FileTime.h"
#include "platform/PosixError.h"
#include "platform/UniqueFd.h"

#include <QRandomGenerator>
#include <atomic>
#include <cstdlib>
#include <cstring>
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

// The process's umask as the kernel reports it (umask(2) reads it only by
// setting it, for every thread at once): read once, as nothing in the
// program changes it; -1 when unknown.
int processUmask()
{
    static const int mask = [] {
        const UniqueFd status(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
        char text[4096];
        const ssize_t size = status.valid() ? ::read(status.get(), text, sizeof text - 1) : -1;
        if (size <= 0)
            return -1;
        text[size] = 0;
        const char *line = std::strstr(text, "\nUmask:");
        return line ? int(std::strtol(line + 7, nullptr, 8) & 0777) : -1;
    }();
    return mask;
}

// The permission bits to create a copy with, sparing its fchmod: the
// source's, where the umask and the folder leave them as they are, the
// owner may write (the attribute is written next) and no set-id or sticky
// bit is asked for; 0 otherwise.
mode_t creationModes(const ObjectInfo &info, const DevicePath *folder)
{
    const mode_t bits = info.mode & 07777;
    const int mask = processUmask();
    if (mask < 0 || (bits & mode_t(mask)) || (bits & (S_ISUID | S_ISGID | S_ISVTX)) || !(bits & S_IWUSR) || !folder
        || !folder->folderKeepsModes())
        return 0;
    return bits;
}

// Names the unnamed file by its descriptor where the kernel lets this
// process (Linux 6.10), else through its /proc path; a refusal is remembered.
int linkUnnamed(int file, int dir, const char *name)
{
    static std::atomic<bool> direct = true;
    const bool tried = direct.load(std::memory_order_relaxed);
    if (tried) {
        if (::linkat(file, "", dir, name, AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return -1;
    }
    const int result = ::linkat(AT_FDCWD, DevicePath::fdPath(file).constData(), dir, name, AT_SYMLINK_FOLLOW);
    if (tried && result == 0)
        direct.store(false, std::memory_order_relaxed);
    return result;
}

} // namespace

int (*FileCopy::flushCall)(int fd) = ::fsync;

DWORD FileCopy::copy(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                     const QByteArray &targetName, Existing existing, Flush flush)
{
    return copyInto(source, info, storedBits, targetDir, nullptr, targetName, existing, flush);
}

DWORD FileCopy::copy(int source, const ObjectInfo &info, DWORD storedBits, const DevicePath &folder,
                     const QByteArray &targetName, Existing existing, Flush flush)
{
    return copyInto(source, info, storedBits, folder.dirFd(), &folder, targetName, existing, flush);
}

DWORD FileCopy::copyInto(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                         const DevicePath *folder, const QByteArray &targetName, Existing existing, Flush flush)
{
    if (existing == Existing::Fail) {
        // An unnamed file, given its name once complete: one change to the
        // folder instead of two, and nothing left behind by a crash.
        const mode_t modes = creationModes(info, folder);
        UniqueFd target(::openat(targetDir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, modes ? modes : 0600));
        if (target.valid()) {
            if (copyContent(source, target.get(), info.size)
                && finish(target.get(), info, storedBits, modes ? Modes::Set : Modes::Change, flush)
                && linkUnnamed(target.get(), targetDir, targetName.constData()) == 0)
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

    if (copyContent(source, target.get(), info.size) && finish(target.get(), info, storedBits, Modes::Change, flush)) {
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
    UniqueFd in;
    const DWORD error = source.openForReading(info, in);
    return error == ERROR_SUCCESS ? copyOpened(in.get(), info, target, existing, flush) : error;
}

DWORD FileCopy::copyOpened(int source, const ObjectInfo &info, const DevicePath &target, Existing existing,
                           Flush flush)
{
    if (info.isDirectory())
        return ERROR_ACCESS_DENIED;
    if (!target.ok())
        return target.error();
    if (target.isRoot())
        return ERROR_ACCESS_DENIED;
    if (target.exists()) {
        ObjectInfo targetInfo;
        const DWORD error = target.stat(targetInfo);
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
    // The open has read the stored bits already, so they are not read twice.
    return copy(source, info, info.attributes & DosAttributes::StoredMask, target, target.name(), existing, flush);
}

bool FileCopy::copyContent(int source, int target, std::uint64_t size)
{
    loff_t in = 0;
    bool kernelCopy = true;
    while (kernelCopy) {
        const ssize_t n = ::copy_file_range(source, &in, target, nullptr, 1 << 30, 0);
        // Done at the end, or once the size the file had with its times is
        // copied: a call copies all there is (up to 1 GiB), so a file that
        // grew since is not cut short.
        if (n == 0 || (n > 0 && size > 0 && std::uint64_t(in) >= size))
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

bool FileCopy::finish(int target, const ObjectInfo &info, DWORD storedBits, Modes modes, Flush flush)
{
    const timespec times[2] = {FileTime::toTimespec(info.lastAccessTime), FileTime::toTimespec(info.lastWriteTime)};
    // The temporary file is new: with no bits to store there is nothing to remove.
    if (storedBits & DosAttributes::StoredMask && !DosAttributes::writeOpen(target, storedBits))
        return false;
    return (modes == Modes::Set || ::fchmod(target, info.mode & 07777) == 0) && ::futimens(target, times) == 0
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
