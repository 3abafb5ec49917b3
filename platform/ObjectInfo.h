// What the platform reports about one object of the device: its attribute
// word, times, size and object id, built from the inode and the stored
// attribute bits.
//
// Attributes: DIRECTORY from the inode type, READONLY when a file's owner
// write bit is clear, the stored bits of user.DOSATTRIB, and TEMPORARY for a storage
// card folder. A file with none of these reports 0, not NORMAL: the file list
// shows one letter per set bit, so no bit means an empty cell.
// Times: creation is the inode's birth time where the file system records it,
// else the last write time (the change time moves with every attribute
// change, so it would make files look newer than their contents).
// dwOID is the low 32 bits of the inode number: stable while the object lives.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <cstdint>
#include <sys/stat.h>

struct ObjectInfo
{
    DWORD attributes = 0;
    FILETIME creationTime;
    FILETIME lastAccessTime;
    FILETIME lastWriteTime;
    std::uint64_t size = 0;
    DWORD oid = 0;
    mode_t mode = 0;
    dev_t device = 0;
    ino_t inode = 0;
    bool card = false; // a storage card folder

    bool isDirectory() const { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
    bool isReadOnly() const { return attributes & FILE_ATTRIBUTE_READONLY; }
    bool isInRom() const { return attributes & FILE_ATTRIBUTE_INROM; }
    bool sameObject(const ObjectInfo &other) const { return device == other.device && inode == other.inode; }

    // The statx fields this needs.
    static constexpr unsigned StatxMask = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_ATIME
        | STATX_MTIME | STATX_BTIME;
    // False for objects the device does not show (sockets, devices, pipes).
    static bool fromStatx(const struct statx &st, DWORD storedBits, bool card, ObjectInfo &info);
    // Fills a find record; name must be shorter than MAX_PATH.
    void fill(const QString &name, WIN32_FIND_DATAW &record) const;
};
