#include "platform/ObjectInfo.h"

#include "platform/DosAttributes.h"
#include "platform/FileTime.h"

#include <sys/sysmacros.h>

namespace {

FILETIME toFileTime(const struct statx_timestamp &time)
{
    return FileTime::fromUnix(time.tv_sec, time.tv_nsec);
}

} // namespace

bool ObjectInfo::fromStatx(const struct statx &st, DWORD storedBits, bool card, ObjectInfo &info)
{
    const bool directory = S_ISDIR(st.stx_mode);
    if (!directory && !S_ISREG(st.stx_mode))
        return false;
    info.attributes = storedBits & DosAttributes::StoredMask;
    if (directory)
        info.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!directory && !(st.stx_mode & S_IWUSR))
        info.attributes |= FILE_ATTRIBUTE_READONLY;
    info.card = card;
    if (card)
        info.attributes |= FILE_ATTRIBUTE_TEMPORARY;
    info.lastWriteTime = toFileTime(st.stx_mtime);
    info.lastAccessTime = toFileTime(st.stx_atime);
    info.creationTime = (st.stx_mask & STATX_BTIME) ? toFileTime(st.stx_btime) : info.lastWriteTime;
    info.size = directory ? 0 : st.stx_size;
    info.oid = DWORD(st.stx_ino & 0xFFFFFFFFu);
    info.mode = st.stx_mode;
    info.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    info.inode = st.stx_ino;
    return true;
}

void ObjectInfo::fill(const QString &name, WIN32_FIND_DATAW &record) const
{
    record.dwFileAttributes = attributes;
    record.ftCreationTime = creationTime;
    record.ftLastAccessTime = lastAccessTime;
    record.ftLastWriteTime = lastWriteTime;
    record.nFileSizeHigh = DWORD(size >> 32);
    record.nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
    record.dwOID = oid;
    copyToWide(name, record.cFileName, MAX_PATH);
}
