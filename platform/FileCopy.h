// Copies one open file to a name in a folder, all or nothing: the content
// goes to a temporary name beside the target (to an unnamed file in the
// target's folder for a new name, where the file system has them), gets the
// source's attributes and times, and only then is renamed (linked) into
// place. A failure part-way removes the temporary file and leaves any old
// target untouched.
//
// Flushing each copy to disk before its rename keeps the old target (or the
// source a move deletes next) safe from a crash, but costs a disk write per
// file: a tree copy leaves it out and its caller flushes the file system once
// where it matters.
#pragma once

#include "platform/ObjectInfo.h"
#include "platform/Types.h"

#include <QByteArray>
#include <cstdint>

class DevicePath;

class FileCopy
{
public:
    enum class Existing { Fail, Replace };
    enum class Flush { BeforeRename, No };

    // source: open for reading, described by info and its stored attribute
    // bits. Its content is copied to its end; once info.size bytes are, the
    // copy does not ask whether more came since. Returns ERROR_SUCCESS, ERROR_FILE_EXISTS when the target exists
    // and existing is Fail, ERROR_DISK_FULL when the target's file system (or
    // the process's file-size limit) runs out, or another platform error.
    static DWORD copy(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                      const QByteArray &targetName, Existing existing, Flush flush = Flush::BeforeRename);
    // copy into the folder dirFd of folder, whose facts (learnt once per
    // folder) spare calls.
    static DWORD copy(int source, const ObjectInfo &info, DWORD storedBits, const DevicePath &folder,
                      const QByteArray &targetName, Existing existing, Flush flush = Flush::BeforeRename);

    // CopyFileW's rules on resolved paths: source must be a file; a target
    // that exists (in any letter case) is refused with ERROR_FILE_EXISTS for
    // Fail, and for Replace unless it is the source itself
    // (ERROR_SHARING_VIOLATION), a folder, read-only or in ROM
    // (ERROR_ACCESS_DENIED). A copy replacing a file is always flushed before
    // its rename; flush says whether a copy to a new name is. A name that
    // was free at the start is never replaced.
    static DWORD copyPath(const DevicePath &source, const DevicePath &target, Existing existing, Flush flush);
    // copyPath for a source that DevicePath::openForReading has opened as
    // source (or found a folder) and described by info.
    static DWORD copyOpened(int source, const ObjectInfo &info, const DevicePath &target, Existing existing,
                            Flush flush);

    // The call that flushes a finished copy (fsync); a test may put a recorder
    // here to see that the flush comes before the rename.
    static int (*flushCall)(int fd);

private:
    // Whether the copy was created with its permission bits or gets them at the end.
    enum class Modes { Set, Change };

    static DWORD copyInto(int source, const ObjectInfo &info, DWORD storedBits, int targetDir,
                          const DevicePath *folder, const QByteArray &targetName, Existing existing, Flush flush);
    static bool copyContent(int source, int target, std::uint64_t size);
    static bool finish(int target, const ObjectInfo &info, DWORD storedBits, Modes modes, Flush flush);
    static bool place(int dir, const QByteArray &temporary, const QByteArray &name, Existing existing);
};
