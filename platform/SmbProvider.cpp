#include "platform/SmbProvider.h"

#include "platform/DevicePath.h"
#include "platform/FileTime.h"
#include "platform/HandleTable.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"
#include "platform/SmbFile.h"
#include "platform/SmbSession.h"
#include "platform/WildcardPattern.h"

#include <QRandomGenerator>
#include <cstring>
#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/stat.h>

namespace {

constexpr DWORD SettableBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD ServerBits = SettableBits | FILE_ATTRIBUTE_DIRECTORY;
constexpr int MaxShares = 4096;

struct Entry
{
    QString name;
    ObjectInfo info;
};

struct Listing
{
    int err = 0;
    std::vector<Entry> entries;
};

struct Lookup
{
    int err = 0;
    bool parentMissing = false;
    Entry entry;
    bool isDirectory() const { return entry.info.attributes & FILE_ATTRIBUTE_DIRECTORY; }
};

FILETIME fileTime(const struct timespec &time)
{
    return FileTime::fromUnix(time.tv_sec, std::uint32_t(time.tv_nsec));
}

// Samba hands a file's DOS attributes to the client as a made-up mode: the
// write bit for "not read-only", the execute bits for archive (owner), system
// (group) and hidden (others). A folder's execute bits are always set.
DWORD attributesOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return FILE_ATTRIBUTE_DIRECTORY | ((mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY);
    DWORD attributes = (mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY;
    if (mode & S_IXUSR)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (mode & S_IXGRP)
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    if (mode & S_IXOTH)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

Entry entryOf(const QString &name, const struct stat &st)
{
    Entry entry;
    entry.name = name;
    entry.info.attributes = attributesOf(st.st_mode);
    entry.info.size = S_ISDIR(st.st_mode) ? 0 : std::uint64_t(st.st_size);
    entry.info.lastWriteTime = fileTime(st.st_mtim);
    entry.info.lastAccessTime = fileTime(st.st_atim);
    entry.info.creationTime = entry.info.lastWriteTime;
    entry.info.oid = DWORD(st.st_ino & 0xFFFFFFFFu);
    return entry;
}

// A name the server lists, if the device can show it.
std::optional<QString> showable(const char *raw)
{
    const std::size_t length = ::strnlen(raw, 4 * MAX_PATH);
    const QString name = QString::fromUtf8(raw, qsizetype(length));
    if (name.isEmpty() || name.size() >= MAX_PATH || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || !DevicePath::isDeviceName(name))
        return std::nullopt;
    return name;
}

// Jobs: they run on the session's worker and own their arguments.

// The next entry of an open listing the device shows, if any is left.
// Shares: disk shares only (no IPC$, printers or administrative shares).
std::optional<Entry> nextEntry(SMBCCTX *context, SMBCFILE *dir, bool shares, bool &end)
{
    struct stat st;
    const smbc_dirent *share = shares ? smbc_getFunctionReaddir(context)(context, dir) : nullptr;
    const libsmb_file_info *info = shares ? nullptr : smbc_getFunctionReaddirPlus2(context)(context, dir, &st);
    end = !share && !info;
    const std::optional<QString> name = end ? std::nullopt : showable(shares ? share->name : info->name);
    if (!name || (shares && (share->smbc_type != SMBC_FILE_SHARE || name->endsWith(QLatin1Char('$')))))
        return std::nullopt;
    Entry entry;
    entry.name = *name;
    if (shares) {
        entry.info.attributes = FILE_ATTRIBUTE_DIRECTORY;
        return entry;
    }
    entry = entryOf(*name, st);
    entry.info.attributes = info->attrs & ServerBits;
    entry.info.size = (info->attrs & FILE_ATTRIBUTE_DIRECTORY) ? 0 : info->size;
    entry.info.creationTime = fileTime(info->btime_ts);
    entry.info.lastWriteTime = fileTime(info->mtime_ts);
    entry.info.lastAccessTime = fileTime(info->atime_ts);
    return entry;
}

// A folder's entries, or a computer's shares.
Listing list(SMBCCTX *context, const QByteArray &url, bool shares)
{
    Listing listing;
    SMBCFILE *dir = smbc_getFunctionOpendir(context)(context, url.constData());
    if (!dir) {
        listing.err = errno ? errno : EIO;
        return listing;
    }
    const std::size_t limit = shares ? MaxShares : SmbProvider::MaxEntries;
    for (bool end = false; !end && listing.entries.size() < limit;) {
        if (std::optional<Entry> entry = nextEntry(context, dir, shares, end))
            listing.entries.push_back(std::move(*entry));
    }
    smbc_getFunctionClosedir(context)(context, dir);
    return listing;
}

Lookup lookUp(SMBCCTX *context, const SmbPath &path)
{
    Lookup result;
    result.entry.name = path.isComputer() ? path.server() : path.name();
    if (path.isComputer()) {
        SMBCFILE *dir = smbc_getFunctionOpendir(context)(context, path.url().constData());
        if (!dir)
            result.err = errno ? errno : EIO;
        else
            smbc_getFunctionClosedir(context)(context, dir);
        result.entry.info.attributes = FILE_ATTRIBUTE_DIRECTORY;
        return result;
    }
    struct stat st;
    if (smbc_getFunctionStat(context)(context, path.url().constData(), &st) != 0) {
        result.err = errno ? errno : EIO;
        if (result.err == ENOENT && !path.isShare()) {
            struct stat parent;
            result.parentMissing = smbc_getFunctionStat(context)(context, path.parentUrl().constData(), &parent) != 0
                || !S_ISDIR(parent.st_mode);
        }
        return result;
    }
    result.entry = entryOf(path.name(), st);
    if (path.isShare()) {
        result.entry.info.attributes = FILE_ATTRIBUTE_DIRECTORY;
    } else if (S_ISDIR(st.st_mode)) {
        // A folder's own mode does not tell hidden, system or archive: its
        // parent's listing does.
        const Listing parent = list(context, path.parentUrl(), false);
        for (const Entry &entry : parent.entries) {
            if (entry.name.compare(path.name(), Qt::CaseInsensitive) == 0) {
                result.entry = entry;
                break;
            }
        }
    }
    return result;
}

int setMode(SMBCCTX *context, const QByteArray &url, DWORD attributes)
{
    // 0 would mean "leave as is": a file without bits is NORMAL.
    const DWORD bits = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    const QByteArray text = "0x" + QByteArray::number(bits, 16);
    return smbc_getFunctionSetxattr(context)(context, url.constData(), "system.dos_attr.mode", text.constData(),
                                             std::size_t(text.size()), 0) == 0
        ? 0
        : (errno ? errno : EIO);
}

// Runs job on path's server; nothing (error ERROR_BAD_NETPATH) when the
// server does not answer in time.
template<typename R>
std::optional<R> onServer(const QString &server, std::function<R(SMBCCTX *)> job,
                          std::shared_ptr<SmbSession> *usedSession = nullptr)
{
    std::shared_ptr<SmbSession> session = SmbSession::forServer(server);
    if (!session)
        return std::nullopt;
    int err = 0;
    std::optional<R> result = session->call<R>(std::move(job), err);
    if (usedSession)
        *usedSession = std::move(session);
    return result;
}

DWORD lookupError(const Lookup &lookup)
{
    if (lookup.err == ENOENT)
        return lookup.parentMissing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    return lookup.err == ENOTDIR ? ERROR_PATH_NOT_FOUND : SmbProvider::toPlatform(lookup.err);
}

// Looks path up; ERROR_SUCCESS with its entry, or why not.
DWORD existing(const SmbPath &path, Entry &entry)
{
    if (!path.ok())
        return path.error();
    const std::optional<Lookup> found = onServer<Lookup>(path.server(), [path](SMBCCTX *context) {
        return lookUp(context, path);
    });
    if (!found)
        return ERROR_BAD_NETPATH;
    if (found->err != 0)
        return lookupError(*found);
    entry = found->entry;
    return path.endsWithSeparator() && !found->isDirectory() ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

// A job returning 0 or an errno value, as a BOOL result.
BOOL runOn(const SmbPath &path, std::function<int(SMBCCTX *)> job)
{
    const std::optional<int> err = onServer<int>(path.server(), std::move(job));
    if (!err)
        return PosixError::failWith(ERROR_BAD_NETPATH);
    return *err == 0 ? TRUE : PosixError::failWith(SmbProvider::toPlatform(*err));
}

HANDLE failHandle(DWORD error)
{
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

} // namespace

DWORD SmbProvider::toPlatform(int err)
{
    switch (err) {
    case ECONNREFUSED:
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETUNREACH:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN:
    case EPIPE:
    case EINVAL: // libsmbclient's word for a server name it cannot resolve
        return ERROR_BAD_NETPATH;
    default:
        return PosixError::toPlatform(err);
    }
}

HANDLE SmbProvider::findFirst(const SmbPath &path, WIN32_FIND_DATAW &record)
{
    if (!path.ok())
        return failHandle(path.error());
    if (path.endsWithSeparator())
        return failHandle(ERROR_FILE_NOT_FOUND);
    std::vector<WIN32_FIND_DATAW> records;
    if (path.hasWildcards()) {
        const bool shares = path.isShare();
        const QByteArray url = path.parentUrl();
        const std::optional<Listing> listing = onServer<Listing>(path.server(), [shares, url](SMBCCTX *context) {
            return list(context, url, shares);
        });
        if (!listing || (shares && listing->err != 0))
            return failHandle(ERROR_BAD_NETPATH);
        if (listing->err != 0)
            return failHandle(listing->err == ENOENT || listing->err == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                                                 : toPlatform(listing->err));
        const WildcardPattern pattern(path.name());
        for (const Entry &entry : listing->entries) {
            if (pattern.matches(entry.name)) {
                records.emplace_back();
                entry.info.fill(entry.name, records.back());
            }
        }
        if (records.empty())
            return failHandle(pattern.matchesAll() ? ERROR_NO_MORE_FILES : ERROR_FILE_NOT_FOUND);
    } else {
        Entry entry;
        const DWORD error = existing(path, entry);
        if (error != ERROR_SUCCESS)
            return failHandle(error == ERROR_PATH_NOT_FOUND || error == ERROR_BAD_NETPATH ? error : ERROR_FILE_NOT_FOUND);
        records.emplace_back();
        entry.info.fill(entry.name, records.back());
    }
    auto search = std::make_unique<SmbFind>(std::move(records));
    search->next(record);
    SetLastError(ERROR_SUCCESS);
    return HandleTable::add(std::move(search));
}

DWORD SmbProvider::getAttributes(const SmbPath &path)
{
    Entry entry;
    const DWORD error = existing(path, entry);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return entry.info.attributes;
}

BOOL SmbProvider::setAttributes(const SmbPath &path, DWORD attributes)
{
    Entry entry;
    const DWORD error = existing(path, entry);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (path.isComputer() || path.isShare())
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    const DWORD bits = (entry.info.attributes & ~SettableBits) | (attributes & SettableBits);
    const QByteArray url = path.url();
    return runOn(path, [url, bits](SMBCCTX *context) { return setMode(context, url, bits); });
}

HANDLE SmbProvider::createFile(const SmbPath &path, DWORD desiredAccess, DWORD creationDisposition,
                               DWORD flagsAndAttributes)
{
    if (!path.ok())
        return failHandle(path.error());
    if (path.isComputer() || path.isShare())
        return failHandle(ERROR_ACCESS_DENIED);
    const bool read = desiredAccess & GENERIC_READ;
    const bool write = desiredAccess & GENERIC_WRITE;
    const bool truncate = creationDisposition == CREATE_ALWAYS || creationDisposition == TRUNCATE_EXISTING;

    struct Opened
    {
        DWORD error = ERROR_SUCCESS;
        SMBCFILE *file = nullptr;
        bool existed = false;
    };
    const DWORD newBits = (flagsAndAttributes & SettableBits) | FILE_ATTRIBUTE_ARCHIVE;
    std::shared_ptr<SmbSession> session;
    const std::optional<Opened> opened = onServer<Opened>(path.server(), [=](SMBCCTX *context) {
        Opened result;
        const QByteArray url = path.url();
        const int access = write ? O_RDWR : O_RDONLY;
        // A new file needs no look first: the server refuses an existing name.
        const Lookup found = creationDisposition == CREATE_NEW ? Lookup{ENOENT, false, {}} : lookUp(context, path);
        result.existed = found.err == 0;
        if (result.existed) {
            if (creationDisposition == CREATE_NEW)
                result.error = ERROR_FILE_EXISTS;
            else if (found.isDirectory() || ((write || truncate) && (found.entry.info.attributes & FILE_ATTRIBUTE_READONLY)))
                result.error = ERROR_ACCESS_DENIED;
            else if (!(result.file = smbc_getFunctionOpen(context)(context, url.constData(), access | (truncate ? O_TRUNC : 0), 0)))
                result.error = SmbProvider::toPlatform(errno);
            return result;
        }
        if (found.err != ENOENT || found.parentMissing) {
            result.error = lookupError(found);
            return result;
        }
        if (creationDisposition == OPEN_EXISTING || creationDisposition == TRUNCATE_EXISTING) {
            result.error = ERROR_FILE_NOT_FOUND;
            return result;
        }
        result.file = smbc_getFunctionOpen(context)(context, url.constData(), access | O_CREAT | O_EXCL, 0666);
        if (!result.file) {
            result.error = errno == EEXIST ? ERROR_FILE_EXISTS
                : errno == ENOENT          ? ERROR_PATH_NOT_FOUND
                                           : SmbProvider::toPlatform(errno);
            return result;
        }
        // The server marks a new file archived itself; other bits are set here.
        const int err = newBits != FILE_ATTRIBUTE_ARCHIVE ? setMode(context, url, newBits) : 0;
        if (err != 0) {
            smbc_getFunctionClose(context)(context, result.file);
            smbc_getFunctionUnlink(context)(context, url.constData());
            result.file = nullptr;
            result.error = SmbProvider::toPlatform(err);
        }
        return result;
    }, &session);
    if (!opened)
        return failHandle(ERROR_BAD_NETPATH);
    if (opened->error != ERROR_SUCCESS)
        return failHandle(opened->error);
    const HANDLE handle = HandleTable::add(std::make_unique<SmbFile>(session, opened->file, read, write));
    const bool reportExisting = opened->existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL SmbProvider::deleteFile(const SmbPath &path)
{
    Entry entry;
    const DWORD error = existing(path, entry);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    // The server would delete an empty folder too.
    if (path.isComputer() || path.isShare() || (entry.info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    const QByteArray url = path.url();
    return runOn(path, [url](SMBCCTX *context) {
        return smbc_getFunctionUnlink(context)(context, url.constData()) == 0 ? 0 : errno;
    });
}

BOOL SmbProvider::createDirectory(const SmbPath &path)
{
    if (!path.ok())
        return PosixError::failWith(path.error());
    if (path.isComputer() || path.isShare())
        return PosixError::failWith(ERROR_ALREADY_EXISTS);
    const QByteArray url = path.url();
    return runOn(path, [url](SMBCCTX *context) {
        if (smbc_getFunctionMkdir(context)(context, url.constData(), 0777) == 0)
            return 0;
        return errno == ENOENT ? ENOTDIR : errno; // a missing folder on the way
    });
}

BOOL SmbProvider::removeDirectory(const SmbPath &path)
{
    Entry entry;
    const DWORD error = existing(path, entry);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error);
    if (!(entry.info.attributes & FILE_ATTRIBUTE_DIRECTORY))
        return PosixError::failWith(ERROR_DIRECTORY);
    if (path.isComputer() || path.isShare() || (entry.info.attributes & FILE_ATTRIBUTE_READONLY))
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    const QByteArray url = path.url();
    const std::optional<int> err = onServer<int>(path.server(), [url](SMBCCTX *context) {
        return smbc_getFunctionRmdir(context)(context, url.constData()) == 0 ? 0 : errno;
    });
    if (!err)
        return PosixError::failWith(ERROR_BAD_NETPATH);
    if (*err == EEXIST || *err == ENOTEMPTY)
        return PosixError::failWith(ERROR_DIR_NOT_EMPTY);
    return *err == 0 ? TRUE : PosixError::failWith(toPlatform(*err));
}

BOOL SmbProvider::diskFreeSpace(const SmbPath &path, ULARGE_INTEGER *freeBytesAvailable, ULARGE_INTEGER *totalBytes,
                                ULARGE_INTEGER *totalFreeBytes)
{
    Entry entry;
    const DWORD error = existing(path, entry);
    if (error != ERROR_SUCCESS)
        return PosixError::failWith(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    if (!(entry.info.attributes & FILE_ATTRIBUTE_DIRECTORY) || path.isComputer())
        return PosixError::failWith(ERROR_DIRECTORY);
    struct Space
    {
        int err = 0;
        struct statvfs fs;
    };
    const QByteArray url = path.url();
    const std::optional<Space> space = onServer<Space>(path.server(), [url](SMBCCTX *context) {
        Space result;
        if (smbc_getFunctionStatVFS(context)(context, const_cast<char *>(url.constData()), &result.fs) != 0)
            result.err = errno ? errno : EIO;
        return result;
    });
    if (!space)
        return PosixError::failWith(ERROR_BAD_NETPATH);
    if (space->err != 0)
        return PosixError::failWith(toPlatform(space->err));
    // libsmbclient gives bytes per sector in f_bsize and sectors per unit in f_frsize.
    const std::uint64_t unit = std::uint64_t(space->fs.f_bsize) * std::max<std::uint64_t>(space->fs.f_frsize, 1);
    if (freeBytesAvailable)
        freeBytesAvailable->QuadPart = std::uint64_t(space->fs.f_bavail) * unit;
    if (totalBytes)
        totalBytes->QuadPart = std::uint64_t(space->fs.f_blocks) * unit;
    if (totalFreeBytes)
        totalFreeBytes->QuadPart = std::uint64_t(space->fs.f_bfree) * unit;
    return TRUE;
}
