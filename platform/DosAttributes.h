// The attribute bits that the inode cannot hold, kept in the extended
// attribute user.DOSATTRIB as the text "0x" + lowercase hex, the form Samba,
// Wine and dosemu2 read. DIRECTORY comes from the inode type. READONLY is kept
// in both places, as Samba does: a file is read-only when its owner write bit
// is clear or the stored bit is set, and both are written; a folder's
// read-only is only the stored bit, so it never blocks creating files in it.
//
// On a file system without user extended attributes (vfat, some FUSE mounts)
// reads give 0 and writes are dropped: such objects carry only the bits the
// inode holds.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <optional>

struct ObjectInfo;

class DosAttributes
{
public:
    static constexpr const char *XattrName = "user.DOSATTRIB";
    // Bits kept in the extended attribute.
    static constexpr DWORD StoredMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
        | FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_COMPRESSED
        | FILE_ATTRIBUTE_ROMSTATICREF | FILE_ATTRIBUTE_ROMMODULE;
    // Bits SetFileAttributesW may change.
    static constexpr DWORD SettableMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
        | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY;

    // Decodes a user.DOSATTRIB value: the text form (with or without a
    // terminating NUL) or Samba's versioned binary form (versions 1 to 5).
    // Returns nothing for a value it cannot read.
    static std::optional<DWORD> decode(const char *data, std::size_t size);
    static QByteArray encode(DWORD bits);

    // Whether a final symbolic link in the path is followed: only for the
    // /proc/self/fd/N form of an object the caller has already opened.
    enum class Link { NoFollow, Follow };

    // Stored bits of the object at path; 0 when there are none or the file
    // system has no user extended attributes.
    static DWORD read(const char *path, Link link = Link::NoFollow);
    // read for the entry name of the open folder dir, without following a
    // final link.
    static DWORD readAt(int dir, const char *name);
    // read for a file opened for reading or writing (not O_PATH).
    static DWORD readOpen(int file);
    // Replaces the stored bits (bits outside StoredMask are ignored; 0 removes
    // the attribute). Returns false with errno set on failure; a file system
    // without user extended attributes counts as success.
    static bool write(const char *path, DWORD bits, Link link = Link::NoFollow);
    // write for a file opened for reading or writing (not O_PATH).
    static bool writeOpen(int file, DWORD bits);
    // SetFileAttributesW on an opened object ("/proc/self/fd/N") described by
    // info: the settable bits become attributes' ones, the others are kept,
    // and a file's READONLY also goes to its write bits. False with errno set.
    static bool change(const char *objectPath, const ObjectInfo &info, DWORD attributes);
};
