// CopyFileW, MoveFileW, DeleteFileW, CreateDirectoryW, RemoveDirectoryW,
// GetDiskFreeSpaceExW.
#include "platform/DeviceFolder.h"
#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/FileCopy.h"
#include "platform/Files.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"
#include "platform/SmbProvider.h"

#include <QFile>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

// Resolves an existing object and reads its facts; ERROR_SUCCESS or why not.
DWORD existing(const DevicePath &path, ObjectInfo &info, UniqueFd *object = nullptr)
{
    if (!path.ok())
        return path.error();
    if (!path.isRoot() && !path.exists())
        return ERROR_FILE_NOT_FOUND;
    return path.stat(info, object);
}

bool sameFolder(const DevicePath &a, const DevicePath &b)
{
    struct stat x, y;
    return ::fstat(a.dirFd(), &x) == 0 && ::fstat(b.dirFd(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

bool isLink(const DevicePath &path)
{
    struct stat st;
    return !path.isRoot() && ::fstatat(path.dirFd(), path.name().constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(st.st_mode);
}

// \Windows, and any folder holding files in ROM, stays where it is.
bool holdsRomFiles(const QString &devicePath, const DevicePath &path, const ObjectInfo &info)
{
    if (!info.isDirectory())
        return false;
    if (path.underStoreRoot() && path.lastComponent().compare(QLatin1String("Windows"), Qt::CaseInsensitive) == 0)
        return true;
    DeviceFolder folder = DeviceFolder::open(devicePath);
    DeviceFolder::Entry entry;
    if (!folder.list())
        return false;
    while (folder.next(entry)) {
        if (entry.info.isInRom())
            return true;
    }
    return false;
}

// Copies a file and deletes the source: a move between file systems.
DWORD moveByCopy(const DevicePath &source, const ObjectInfo &info, const DevicePath &target, const QByteArray &name)
{
    UniqueFd in(source.openRegularFile(source.dirFd(), source.name(), info));
    if (!in.valid())
        return PosixError::toPlatform(errno);
    const DWORD stored = info.attributes & DosAttributes::StoredMask;
    const DWORD error = FileCopy::copy(in.get(), info, stored, target, name, FileCopy::Existing::Fail);
    if (error != ERROR_SUCCESS)
        return error == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : error;
    if (::unlinkat(source.dirFd(), source.name().constData(), 0) != 0) {
        const int err = errno;
        ::unlinkat(target.dirFd(), name.constData(), 0);
        return PosixError::toPlatform(err);
    }
    return ERROR_SUCCESS;
}

} // namespace

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists)
{
    if (!existingFileName || !newFileName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    if (SmbProvider::involves(fromWide(existingFileName), fromWide(newFileName)))
        return SmbProvider::copyFile(fromWide(existingFileName), fromWide(newFileName), failIfExists);
    const DevicePath source = DevicePath::resolve(fromWide(existingFileName));
    const DevicePath target = DevicePath::resolve(fromWide(newFileName));
    const DWORD error = FileCopy::copyPath(source, target,
                                           failIfExists ? FileCopy::Existing::Fail : FileCopy::Existing::Replace,
                                           FileCopy::Flush::BeforeRename);
    return error == ERROR_SUCCESS ? TRUE : PosixError::failWith(error);
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName)
{
    if (!existingFileName || !newFileName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    const QString sourcePath = fromWide(existingFileName);
    if (SmbProvider::involves(sourcePath, fromWide(newFileName)))
        return SmbProvider::moveFile(sourcePath, fromWide(newFileName));
    const DevicePath source = DevicePath::resolve(sourcePath);
    ObjectInfo info;
    DWORD error = existing(source, info);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (source.isRoot() || info.isInRom() || info.card || holdsRomFiles(sourcePath, source, info))
        return PosixError::failWith(ERROR_ACCESS_DENIED);

    const DevicePath target = DevicePath::resolve(fromWide(newFileName));
    if (!target.ok())
        return PosixError::failWith(target.error());
    if (target.isRoot())
        return PosixError::failWith(ERROR_ALREADY_EXISTS);
    // A link resolves from where it lies: it is renamed only in its own
    // folder, so a move never makes a card or a way out of the device.
    const bool sameFolders = sameFolder(source, target);
    if (!sameFolders && isLink(source))
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    QByteArray name = target.name();
    if (target.exists()) {
        // Only a change of letter case may land on an existing name: the
        // source's own entry, not another link to the same file.
        if (!sameFolders || target.name() != source.name())
            return PosixError::failWith(ERROR_ALREADY_EXISTS);
        name = QFile::encodeName(target.lastComponent());
        if (name == source.name())
            return TRUE;
    }

    if (::renameat2(source.dirFd(), source.name().constData(), target.dirFd(), name.constData(), RENAME_NOREPLACE) == 0)
        return TRUE;
    if (errno == EXDEV) {
        if (info.isDirectory())
            return PosixError::failWith(ERROR_NOT_SAME_DEVICE);
        error = moveByCopy(source, info, target, name);
        return error == ERROR_SUCCESS ? TRUE : PosixError::failWith(error);
    }
    return PosixError::fail();
}

BOOL DeleteFileW(LPCWSTR fileName)
{
    if (!fileName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    if (const auto smb = SmbPath::parse(fromWide(fileName)))
        return SmbProvider::deleteFile(*smb);
    const DevicePath path = DevicePath::resolve(fromWide(fileName));
    ObjectInfo info;
    const DWORD error = existing(path, info);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (path.isRoot() || info.isDirectory() || info.isReadOnly() || info.isInRom())
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    return ::unlinkat(path.dirFd(), path.name().constData(), 0) == 0 ? TRUE : PosixError::fail();
}

BOOL CreateDirectoryW(LPCWSTR pathName, SECURITY_ATTRIBUTES *securityAttributes)
{
    if (!pathName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    if (const auto smb = SmbPath::parse(fromWide(pathName)))
        return SmbProvider::createDirectory(*smb);
    const DevicePath path = DevicePath::resolve(fromWide(pathName));
    if (!path.ok())
        return PosixError::failWith(path.error());
    if (path.isRoot() || path.exists())
        return PosixError::failWith(ERROR_ALREADY_EXISTS);
    return ::mkdirat(path.dirFd(), path.name().constData(), 0777) == 0 ? TRUE : PosixError::fail();
}

BOOL RemoveDirectoryW(LPCWSTR pathName)
{
    if (!pathName)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    if (const auto smb = SmbPath::parse(fromWide(pathName)))
        return SmbProvider::removeDirectory(*smb);
    const DevicePath path = DevicePath::resolve(fromWide(pathName));
    ObjectInfo info;
    const DWORD error = existing(path, info);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (!info.isDirectory())
        return PosixError::failWith(ERROR_DIRECTORY);
    if (path.isRoot() || info.card || info.isReadOnly() || info.isInRom()
        || holdsRomFiles(fromWide(pathName), path, info))
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    // unlinkat never follows a link: a linked folder is refused, not emptied.
    if (::unlinkat(path.dirFd(), path.name().constData(), AT_REMOVEDIR) == 0)
        return TRUE;
    switch (errno) {
    case EEXIST:
    case ENOTEMPTY:
        return PosixError::failWith(ERROR_DIR_NOT_EMPTY);
    case ENOTDIR:
    case EBUSY:
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    default:
        return PosixError::fail();
    }
}

BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, ULARGE_INTEGER *freeBytesAvailable,
                         ULARGE_INTEGER *totalNumberOfBytes, ULARGE_INTEGER *totalNumberOfFreeBytes)
{
    const QString name = directoryName && *directoryName ? fromWide(directoryName) : QStringLiteral("\\");
    if (const auto smb = SmbPath::parse(name))
        return SmbProvider::diskFreeSpace(*smb, freeBytesAvailable, totalNumberOfBytes, totalNumberOfFreeBytes);
    const DevicePath path = DevicePath::resolve(name);
    ObjectInfo info;
    UniqueFd object;
    const DWORD error = existing(path, info, &object);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    if (!info.isDirectory())
        return PosixError::failWith(ERROR_DIRECTORY);
    struct statvfs fs;
    if (::fstatvfs(object.get(), &fs) != 0)
        return PosixError::fail();
    if (freeBytesAvailable)
        freeBytesAvailable->QuadPart = std::uint64_t(fs.f_bavail) * fs.f_frsize;
    if (totalNumberOfBytes)
        totalNumberOfBytes->QuadPart = std::uint64_t(fs.f_blocks) * fs.f_frsize;
    if (totalNumberOfFreeBytes)
        totalNumberOfFreeBytes->QuadPart = std::uint64_t(fs.f_bfree) * fs.f_frsize;
    return TRUE;
}
