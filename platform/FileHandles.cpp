// CreateFileW, ReadFile, WriteFile, SetFilePointer, GetFileSize, CloseHandle.
//
// Share modes are accepted and not enforced: the host has no mandatory locks.
#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/Files.h"
#include "platform/HandleTable.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"
#include "platform/SmbFile.h"
#include "platform/SmbProvider.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr DWORD CreatableBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
    | FILE_ATTRIBUTE_TEMPORARY;

class FileHandle : public PlatformHandle
{
public:
    FileHandle(UniqueFd fd, bool canRead, bool canWrite, bool archived)
        : m_fd(std::move(fd)), m_canRead(canRead), m_canWrite(canWrite), m_archived(archived)
    {
    }

    int fd() const { return m_fd.get(); }
    bool canRead() const { return m_canRead; }
    bool canWrite() const { return m_canWrite; }

    // A written file gets the archive bit, once per handle.
    void markWritten()
    {
        if (m_archived)
            return;
        const QByteArray path = DevicePath::fdPath(m_fd.get());
        const DWORD stored = DosAttributes::read(path.constData(), DosAttributes::Link::Follow);
        if (!(stored & FILE_ATTRIBUTE_ARCHIVE))
            DosAttributes::write(path.constData(), stored | FILE_ATTRIBUTE_ARCHIVE, DosAttributes::Link::Follow);
        m_archived = true;
    }

private:
    UniqueFd m_fd;
    bool m_canRead;
    bool m_canWrite;
    bool m_archived;
};

HANDLE failHandle(DWORD error)
{
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

int accessFlags(bool read, bool write)
{
    return write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY;
}

} // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES *securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile)
{
    if (!fileName || creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING)
        return failHandle(ERROR_INVALID_PARAMETER);
    const bool read = desiredAccess & GENERIC_READ;
    const bool write = desiredAccess & GENERIC_WRITE;
    const bool truncate = creationDisposition == CREATE_ALWAYS || creationDisposition == TRUNCATE_EXISTING;
    if (creationDisposition == TRUNCATE_EXISTING && !write)
        return failHandle(ERROR_INVALID_PARAMETER);

    if (const auto smb = SmbPath::parse(fromWide(fileName)))
        return SmbProvider::createFile(*smb, desiredAccess, creationDisposition, flagsAndAttributes);
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    if (!path.ok())
        return failHandle(path.error());
    if (path.isRoot())
        return failHandle(ERROR_ACCESS_DENIED);

    UniqueFd fd;
    bool archived = false;
    if (path.exists()) {
        ObjectInfo info;
        const DWORD error = path.stat(info);
        if (error != ERROR_SUCCESS)
            return failHandle(error);
        if (creationDisposition == CREATE_NEW)
            return failHandle(ERROR_FILE_EXISTS);
        if (info.isDirectory() || ((write || truncate) && (info.isReadOnly() || info.isInRom())))
            return failHandle(ERROR_ACCESS_DENIED);
        fd.reset(path.openFile(accessFlags(read, write) | (truncate ? O_TRUNC : 0)));
        if (!fd.valid())
            return failHandle(PosixError::toPlatform(errno));
    } else {
        if (creationDisposition == OPEN_EXISTING || creationDisposition == TRUNCATE_EXISTING)
            return failHandle(ERROR_FILE_NOT_FOUND);
        fd.reset(path.openFile(accessFlags(read, write) | O_CREAT | O_EXCL, 0666));
        if (!fd.valid())
            return failHandle(errno == EEXIST ? ERROR_FILE_EXISTS : PosixError::toPlatform(errno));
        // Made read-only only once its other bits are stored: the owner
        // cannot change those on a file it may not write.
        const DWORD stored = (flagsAndAttributes & CreatableBits) | FILE_ATTRIBUTE_ARCHIVE;
        struct stat st;
        if (!DosAttributes::writeOpen(fd.get(), stored)
            || ::fstat(fd.get(), &st) != 0
            || ((stored & FILE_ATTRIBUTE_READONLY) && ::fchmod(fd.get(), st.st_mode & 0555) != 0)) {
            const DWORD error = PosixError::toPlatform(errno);
            ::unlinkat(path.dirFd(), path.name().constData(), 0);
            return failHandle(error);
        }
        archived = true;
    }

    auto handle = std::make_unique<FileHandle>(std::move(fd), read, write, archived);
    if (truncate)
        handle->markWritten();
    const bool existed = path.exists();
    const HANDLE result = HandleTable::add(std::move(handle));
    const bool reportExisting = existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return result;
}

BOOL ReadFile(HANDLE file, void *buffer, DWORD bytesToRead, DWORD *bytesRead, void *overlapped)
{
    if (SmbFile *smb = HandleTable::get<SmbFile>(file))
        return smb->read(buffer, bytesToRead, bytesRead);
    FileHandle *handle = HandleTable::get<FileHandle>(file);
    if (bytesRead)
        *bytesRead = 0;
    if (!handle)
        return PosixError::failWith(ERROR_INVALID_HANDLE);
    if (!handle->canRead())
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToRead)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    DWORD total = 0;
    while (total < bytesToRead) {
        const ssize_t n = ::read(handle->fd(), static_cast<char *>(buffer) + total, bytesToRead - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return PosixError::fail();
        if (n == 0)
            break;
        total += DWORD(n);
        if (bytesRead)
            *bytesRead = total;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void *buffer, DWORD bytesToWrite, DWORD *bytesWritten, void *overlapped)
{
    if (SmbFile *smb = HandleTable::get<SmbFile>(file))
        return smb->write(buffer, bytesToWrite, bytesWritten);
    FileHandle *handle = HandleTable::get<FileHandle>(file);
    if (bytesWritten)
        *bytesWritten = 0;
    if (!handle)
        return PosixError::failWith(ERROR_INVALID_HANDLE);
    if (!handle->canWrite())
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToWrite)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    DWORD total = 0;
    while (total < bytesToWrite) {
        const ssize_t n = ::write(handle->fd(), static_cast<const char *>(buffer) + total, bytesToWrite - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return PosixError::fail(n < 0 ? errno : ENOSPC);
        total += DWORD(n);
        if (bytesWritten)
            *bytesWritten = total;
    }
    handle->markWritten();
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG *distanceHigh, DWORD moveMethod)
{
    SmbFile *smb = HandleTable::get<SmbFile>(file);
    FileHandle *handle = HandleTable::get<FileHandle>(file);
    if (smb && moveMethod <= FILE_END)
        return smb->seek(distance, distanceHigh, moveMethod);
    if (!handle || moveMethod > FILE_END) {
        SetLastError(handle || smb ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    const std::int64_t offset = distanceHigh
        ? std::int64_t((std::uint64_t(std::uint32_t(*distanceHigh)) << 32) | std::uint32_t(distance))
        : std::int64_t(distance);
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    const off_t position = ::lseek(handle->fd(), off_t(offset), whence[moveMethod]);
    if (position < 0) {
        SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : PosixError::toPlatform(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh)
        *distanceHigh = LONG(std::uint64_t(position) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(std::uint64_t(position) & 0xFFFFFFFFu);
}

DWORD GetFileSize(HANDLE file, DWORD *fileSizeHigh)
{
    if (SmbFile *smb = HandleTable::get<SmbFile>(file))
        return smb->size(fileSizeHigh);
    FileHandle *handle = HandleTable::get<FileHandle>(file);
    struct stat st;
    if (!handle || ::fstat(handle->fd(), &st) != 0) {
        SetLastError(handle ? PosixError::toPlatform(errno) : ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    if (fileSizeHigh)
        *fileSizeHigh = DWORD(std::uint64_t(st.st_size) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(std::uint64_t(st.st_size) & 0xFFFFFFFFu);
}

BOOL CloseHandle(HANDLE object)
{
    return HandleTable::close(object) ? TRUE : PosixError::failWith(ERROR_INVALID_HANDLE);
}
