// Which entries of a device folder changed since it was read, so a big
// folder can be read again without reading every entry's facts anew.
//
// The folder is watched with inotify from before it is read. A thread of the
// watch collects the names the kernel reports, so that an operation making
// many changes in the folder cannot overflow the kernel's queue while the
// caller is busy. Only folders on local file systems are watched: there the
// kernel reports every change made through the folder, by any process. It
// does not report a file written through a hard link in another folder or
// through a shared mapping, nor a read that moves the access time.
#pragma once

#include <QSet>
#include <QString>
#include <memory>
#include <sys/types.h>

class DeviceFolder;

class FolderWatch
{
public:
    // Past this many changed names the changes are not kept: reading the
    // whole folder again costs no more.
    static constexpr qsizetype MaxChanges = 65536;
    // A host folder this size or bigger (about 600 entries on ext4, tmpfs or
    // btrfs) holds enough names to be worth watching; a smaller one is
    // cheaper to read again in full.
    static constexpr off_t BigFolderBytes = 16384;

    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    // Watches the folder at a device path from now on, instead of the folder
    // watched before. A folder that is small or cannot be watched (on a
    // share, or on a file system whose changes the kernel may not see)
    // leaves nothing watched.
    void watch(const QString &path);
    // Stops watching.
    void clear();
    bool active() const { return m_state != nullptr; }
    // When folder is the folder watched and no change can have been missed:
    // moves into changed the device names of the entries created, renamed
    // to, written or given new attributes or times since watch() or the
    // previous call, and returns true. Otherwise false.
    bool takeChanges(const DeviceFolder &folder, QSet<QString> &changed);

    // Whether the kernel reports every change to the open host folder dir,
    // whoever makes it.
    static bool seesEveryChange(int dir);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
