// Finds an entry of a host folder by a name in any letter case.
//
// The object store ignores case, so a name missing in its exact spelling may
// exist in another one, and every new name must be looked for that way. A
// small folder is simply read through. For a folder of MinEntries entries or
// more (or one whose size tells of many), the first such miss builds an index
// of its names by their case-folded form, reading them once; later lookups
// there cost the same whatever the folder's size.
//
// An index stays exact through every change to its folder, by this process
// or any other: the folder is watched with inotify from before its names are
// read, and the queued changes are applied before each lookup. Only folders
// on local file systems, where the kernel sees every change, get an index; a
// lost watch or an overflowing event queue drops indexes, which the next miss
// builds again. Indexes are kept for a few folders and a bounded number of
// names, least recently used dropped first.
//
// All calls may come from any thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>
#include <sys/types.h>

class FoldedNameIndex
{
public:
    // Folders with fewer entries are read through on each lookup.
    static constexpr std::size_t MinEntries = 1000;
    // The names held in all indexes together, and the folders indexed.
    static constexpr std::size_t MaxNames = 2'000'000;
    static constexpr std::size_t MaxFolders = 8;

    // Which folder an open descriptor is, as its fstat tells, and its size
    // then: the caller learns it once per descriptor instead of on every
    // lookup.
    struct FolderId
    {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        static std::optional<FolderId> of(int dir);
    };

    // Looks for an entry of the open folder dir (which is folder, when
    // known) whose name equals name without regard to case (the device's
    // rule: host names that are no device names never match). Returns
    // whether one exists; found receives its host spelling. Meant for names
    // whose exact spelling is missing.
    static bool find(int dir, const std::optional<FolderId> &folder, const QString &name, QByteArray &found);
    // For a folder with an index: whether an entry of that name exists in
    // any letter case, found receiving its spelling (the exact one where it
    // exists), without asking the file system. Nothing when the folder has
    // no index or name holds a character no indexed name holds.
    static std::optional<bool> findIndexed(const FolderId &folder, const QString &name, QByteArray &found);

    // Whether the folder dir is indexed now (for tests).
    static bool indexed(int dir);
};
