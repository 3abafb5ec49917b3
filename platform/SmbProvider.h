// The platform's file calls on SMB paths (SmbPath): what FindFirstFileW,
// GetFileAttributesW, SetFileAttributesW, CreateFileW, DeleteFileW,
// CreateDirectoryW, RemoveDirectoryW, GetDiskFreeSpaceExW, CopyFileW and
// MoveFileW do when their path lies on a share, with the device's semantics
// and error codes. Results follow the calls: BOOL, handle or DWORD, details
// through SetLastError. A path whose error() is set fails with that error.
//
// The server is outside input: names it lists that the device cannot show
// (bad UTF-8, backslashes, wildcards, MAX_PATH or longer) are left out, and a
// listing keeps at most MaxEntries records. Attributes are the server's DOS
// attributes: READONLY, HIDDEN, SYSTEM, ARCHIVE and DIRECTORY.
#pragma once

#include "platform/Files.h"
#include "platform/SmbPath.h"

class SmbProvider
{
public:
    static constexpr int MaxEntries = 100000;

    // The platform code for an errno value from libsmbclient: a server that
    // cannot be reached or stops answering is ERROR_BAD_NETPATH.
    static DWORD toPlatform(int err);

    // "\\computer\*" lists the computer's disk shares as folders.
    static HANDLE findFirst(const SmbPath &path, WIN32_FIND_DATAW &record);
    static DWORD getAttributes(const SmbPath &path);
    static BOOL setAttributes(const SmbPath &path, DWORD attributes);
    static HANDLE createFile(const SmbPath &path, DWORD desiredAccess, DWORD creationDisposition,
                             DWORD flagsAndAttributes);
    static BOOL deleteFile(const SmbPath &path);
    static BOOL createDirectory(const SmbPath &path);
    static BOOL removeDirectory(const SmbPath &path);
    static BOOL diskFreeSpace(const SmbPath &path, ULARGE_INTEGER *freeBytesAvailable, ULARGE_INTEGER *totalBytes,
                              ULARGE_INTEGER *totalFreeBytes);

    // Whether CopyFileW or MoveFileW between these paths is served here: one
    // of them lies on a share.
    static bool involves(const QString &source, const QString &target);
    // CopyFileW where either side is on a share: the content goes to a
    // temporary name beside the target and is renamed into place only when
    // complete, so a failure never leaves a half file or harms the old target.
    static BOOL copyFile(const QString &source, const QString &target, bool failIfExists);
    // MoveFileW where either side is on a share: a rename within one share
    // (never over an existing name), else a file's copy and the source's delete.
    static BOOL moveFile(const QString &source, const QString &target);
};
