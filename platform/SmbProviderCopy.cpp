// CopyFileW and MoveFileW where a share is involved. A copy onto a share is
// SmbUpload's; a copy from a share onto the device reads through the
// platform's own file calls into a temporary file beside the target, which
// gets the source's write time and attributes and is then renamed into place.
#include "platform/DevicePath.h"
#include "platform/FileTime.h"
#include "platform/PosixError.h"
#include "platform/SmbFile.h"
#include "platform/SmbProvider.h"
#include "platform/SmbSession.h"
#include "platform/SmbUpload.h"

#include <QRandomGenerator>
#include <fcntl.h>
#include <libsmbclient.h>
#include <stdio.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Closes a platform handle when it goes out of scope.
struct HandleCloser
{
    HANDLE handle;
    ~HandleCloser()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

// A job returning 0 or an errno value on path's server; ETIMEDOUT when the
// server does not answer in time.
int onServer(const SmbPath &path, std::function<int(SMBCCTX *)> job)
{
    const std::shared_ptr<SmbSession> session = SmbSession::forServer(path.server());
    int err = 0;
    const std::optional<int> result = session ? session->call<int>(std::move(job), err) : std::nullopt;
    return result ? *result : ETIMEDOUT;
}

DWORD copyContent(const QString &source, const QString &target, DWORD attributes)
{
    HandleCloser in{CreateFileW(wide(source), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
    if (in.handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    HandleCloser out{CreateFileW(wide(target), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY), nullptr)};
    if (out.handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    std::vector<char> buffer(SmbFile::BlockSize);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in.handle, buffer.data(), DWORD(buffer.size()), &got, nullptr))
            return GetLastError();
        if (got == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(out.handle, buffer.data(), got, &written, nullptr))
            return GetLastError();
    }
    if (!CloseHandle(out.handle))
        return GetLastError();
    out.handle = INVALID_HANDLE_VALUE;
    return ERROR_SUCCESS;
}

DWORD setWriteTime(const QString &path, const FILETIME &time)
{
    const DevicePath device = DevicePath::resolve(path);
    const timespec times[2] = {FileTime::toTimespec(time), FileTime::toTimespec(time)};
    return ::utimensat(device.dirFd(), device.name().constData(), times, AT_SYMLINK_NOFOLLOW) == 0
        ? ERROR_SUCCESS
        : PosixError::toPlatform(errno);
}

// Renames the finished temporary file (in the target's folder) to the target.
DWORD place(const QString &temporary, const QString &target, bool replace)
{
    const DevicePath from = DevicePath::resolve(temporary);
    const DevicePath into = DevicePath::resolve(target);
    if (!into.ok())
        return into.error();
    if (::renameat2(from.dirFd(), from.name().constData(), into.dirFd(), into.name().constData(),
                    replace ? 0 : RENAME_NOREPLACE) == 0)
        return ERROR_SUCCESS;
    return errno == EEXIST ? ERROR_FILE_EXISTS : PosixError::toPlatform(errno);
}

QString temporaryBeside(const QString &target)
{
    const qsizetype slash = target.lastIndexOf(QLatin1Char('\\'));
    return target.left(slash + 1) + QStringLiteral(".~qm%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

} // namespace

bool SmbProvider::involves(const QString &source, const QString &target)
{
    return SmbPath::parse(source) || SmbPath::parse(target);
}

BOOL SmbProvider::copyFile(const QString &source, const QString &target, bool failIfExists)
{
    WIN32_FIND_DATAW record;
    const HANDLE find = FindFirstFileW(wide(source), &record);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(find);
    if (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    if (source.compare(target, Qt::CaseInsensitive) == 0)
        return PosixError::failWith(failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
    if (const std::optional<SmbPath> to = SmbPath::parse(target)) {
        const DWORD error = SmbUpload::copy(source, record, *to, !failIfExists);
        return error == ERROR_SUCCESS ? TRUE : PosixError::failWith(error);
    }

    const DWORD existing = GetFileAttributesW(wide(target));
    if (existing != INVALID_FILE_ATTRIBUTES) {
        if (failIfExists)
            return PosixError::failWith(ERROR_FILE_EXISTS);
        if (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_INROM))
            return PosixError::failWith(ERROR_ACCESS_DENIED);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return FALSE;
    }

    const QString temporary = temporaryBeside(target);
    const DWORD attributes = record.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN
                                                        | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    DWORD error = copyContent(source, temporary, attributes);
    if (error == ERROR_SUCCESS)
        error = setWriteTime(temporary, record.ftLastWriteTime);
    if (error == ERROR_SUCCESS && (attributes & FILE_ATTRIBUTE_READONLY))
        error = SetFileAttributesW(wide(temporary), attributes) ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_SUCCESS)
        error = place(temporary, target, !failIfExists);
    if (error == ERROR_SUCCESS)
        return TRUE;
    SetFileAttributesW(wide(temporary), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide(temporary));
    return PosixError::failWith(error);
}

BOOL SmbProvider::moveFile(const QString &source, const QString &target)
{
    const std::optional<SmbPath> from = SmbPath::parse(source);
    const std::optional<SmbPath> to = SmbPath::parse(target);
    for (const auto &path : {from, to}) {
        if (path && !path->ok())
            return PosixError::failWith(path->error());
    }
    const DWORD attributes = GetFileAttributesW(wide(source));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if ((attributes & FILE_ATTRIBUTE_INROM) || (from && (from->isComputer() || from->isShare())))
        return PosixError::failWith(ERROR_ACCESS_DENIED);

    if (from && to && from->sameShare(*to)) {
        if (to->isShare())
            return PosixError::failWith(ERROR_ALREADY_EXISTS);
        // Only a change of letter case may land on an existing name.
        const bool caseChange = from->sameParent(*to) && from->name().compare(to->name(), Qt::CaseInsensitive) == 0;
        if (caseChange && from->name() == to->name())
            return TRUE;
        const QByteArray fromUrl = from->url();
        const QByteArray toUrl = to->url();
        const int err = onServer(*to, [fromUrl, toUrl, caseChange](SMBCCTX *context) {
            struct stat st;
            // libsmbclient's rename replaces an existing target.
            if (!caseChange && smbc_getFunctionStat(context)(context, toUrl.constData(), &st) == 0)
                return EEXIST;
            if (smbc_getFunctionRename(context)(context, fromUrl.constData(), context, toUrl.constData()) == 0)
                return 0;
            return errno == ENOENT ? ENOTDIR : errno; // the source was there: the target's folder is not
        });
        return err == 0 ? TRUE : PosixError::failWith(SmbProvider::toPlatform(err));
    }

    // Between the device and a share, or two shares: a file is copied and the
    // source deleted; a folder is the caller's to copy.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return PosixError::failWith(ERROR_NOT_SAME_DEVICE);
    if (!CopyFileW(wide(source), wide(target), TRUE))
        return PosixError::failWith(GetLastError() == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : GetLastError());
    if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_INROM))
        SetFileAttributesW(wide(source), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(wide(source)))
        return TRUE;
    const DWORD error = GetLastError();
    SetFileAttributesW(wide(source), attributes);
    SetFileAttributesW(wide(target), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide(target));
    return PosixError::failWith(error);
}
