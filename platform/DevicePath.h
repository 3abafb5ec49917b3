// A device path resolved to a host folder and a name in it, confined to the
// device.
//
// Device paths are absolute from "\" with backslashes; "\\COMPUTER\SHARE\rest"
// lies in the device's network folder. Each component is looked up exactly
// first, then without regard to case (the object store keeps case but ignores
// it). Components "." and "..", and names holding "/" or NUL, are refused with
// ERROR_INVALID_NAME; a path of MAX_PATH characters or more with
// ERROR_FILENAME_EXCED_RANGE.
//
// Confinement: resolution walks the path one folder at a time with openat and
// O_NOFOLLOW, so no component escapes the store. A symbolic link is followed
// only when it stays inside the current confinement root, checked on the
// object actually opened (not on its name), so swapping a link while we look
// is harmless. A link or mount point directly under the store root is a
// storage card: it may point anywhere, and below it the card's target is the
// confinement root.
#pragma once

#include "platform/FoldedNameIndex.h"
#include "platform/Types.h"
#include "platform/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>

struct ObjectInfo;

class DevicePath
{
public:
    enum class Wildcards { Refuse, AllowInLast };

    // Resolves every folder of path; the last component need not exist.
    static DevicePath resolve(const QString &path, Wildcards wildcards = Wildcards::Refuse);

    // The entry name of the folder this path resolved to (a path such as
    // "\a\*" from DeviceFolder), looked up as resolve("\a\" + name) would,
    // without walking the folders again.
    DevicePath entry(const QString &name) const;
    // entry(name) without looking the name up: exists() is false and name()
    // the name as given. For a name the caller has just found missing in
    // every letter case.
    DevicePath unlookedEntry(const QString &name) const;

    // ERROR_SUCCESS, or why the folder part could not be resolved.
    DWORD error() const { return m_error; }
    bool ok() const { return m_error == ERROR_SUCCESS; }

    // The folder holding the last component (open for reading).
    int dirFd() const { return m_dir ? m_dir->fd.get() : -1; }
    // The last component as written in the path ("\a\b\" and "\a\b" both
    // name b); empty for a root ("\"), which is then the folder dirFd itself.
    const QString &lastComponent() const { return m_last; }
    bool endsWithSeparator() const { return m_endsWithSeparator; }
    bool hasWildcards() const;
    bool isRoot() const { return m_last.isEmpty(); }
    // Host name of the last component: the existing entry's spelling when one
    // matches, else the name as given.
    const QByteArray &name() const { return m_name; }
    bool exists() const { return m_exists; }
    // The last component sits directly under the store root "\".
    bool underStoreRoot() const { return m_underStoreRoot; }
    bool isNetwork() const { return m_network; }

    // Opens the named object (O_PATH), following a link only where the device
    // allows it. card is set when the object is a storage card folder.
    // Returns ERROR_SUCCESS or a platform error.
    DWORD openObject(UniqueFd &object, bool *card = nullptr) const;
    // openObject, then the object's facts; object, if given, receives the
    // opened object.
    DWORD stat(ObjectInfo &info, UniqueFd *object = nullptr) const;
    // openObject, then, for a regular file, opens it for reading (file) and
    // reads its facts from the very object; a folder gets its facts only,
    // and nothing else (a device, FIFO or socket) is ever opened for reading.
    DWORD openForReading(ObjectInfo &info, UniqueFd &file) const;
    // openForReading for entry(name) of the folder this path resolved to; a
    // name spelt as it exists is looked up by the open itself.
    DWORD openEntryForReading(const QString &name, ObjectInfo &info, UniqueFd &file) const;
    // Whether a file created in the folder dirFd gets the permission bits
    // asked for, less the process's umask: the folder has no default ACL.
    // Learnt once per open folder.
    bool folderKeepsModes() const;
    // Opens the last component as a file with open(2) flags, following a link
    // only where the device allows it. Returns -1 with errno set on failure.
    int openFile(int flags, mode_t mode = 0666) const;
    // openFile for the entry name of folder dir, a folder reached through
    // this path.
    int openEntryFile(int dir, const QByteArray &name, int flags, mode_t mode = 0666) const;

    // Opens the entry name of folder dir (reached through this path) for
    // reading without blocking, so a FIFO put in its place never holds the
    // caller up, and only when it is the regular file info describes. Returns
    // -1 with errno set (EACCES for another object) on failure.
    int openRegularFile(int dir, const QByteArray &name, const ObjectInfo &info) const;

    // "/proc/self/fd/<dir>/<name>": reaches the entry through the already
    // opened folder, so nothing is looked up outside the device.
    QByteArray entryPath() const;
    static QByteArray fdPath(int fd);

    // openObject for the entry name of folder dir, a folder reached through
    // this path (the enumeration's way to follow links); facts, if given,
    // receives the object's statx (ObjectInfo::StatxMask).
    DWORD openEntry(int dir, const QByteArray &name, UniqueFd &object, bool *card, struct statx *facts = nullptr) const;
    // openEntry, then the object's facts; opened, if given, receives the object.
    DWORD statEntry(int dir, const QByteArray &name, ObjectInfo &info, UniqueFd *opened = nullptr) const;
    // Whether a decoded host name is one the device can show and reach: valid
    // UTF-8 (no U+FFFD standing in for a byte), no backslash, no wildcard.
    static bool isDeviceName(const QString &name);
    // Whether an entry of dirFd that is not a link is a storage card: a mount
    // point directly under the store root.
    bool isMountedCard(const struct statx &st) const;

private:
    // An open folder and what is learnt about it once, shared by the entries
    // of one folder: entry() needs no descriptor of its own.
    struct Folder
    {
        explicit Folder(int fd) : fd(fd) {}
        UniqueFd fd;
        mutable std::once_flag identified;
        mutable std::optional<FoldedNameIndex::FolderId> id;
        mutable std::atomic<bool> idKnown = false;
        mutable std::once_flag modesLearnt;
        mutable bool keepsModes = false;
    };

    DWORD descend(const QString &component, bool last, bool wildcardsInLast);
    // Looks component up in dirFd: its existing spelling, whether it exists.
    DWORD lookup(const QString &component, QByteArray &found, bool &exists) const;
    DWORD lookUpLast();
    bool isInside(int fd) const;
    // ERROR_SUCCESS when the path resolved to an object that exists.
    DWORD present() const;
    // The rest of openEntry once object holds the entry itself (O_PATH, the
    // link not followed) or failed to open.
    DWORD settle(int dir, const QByteArray &name, UniqueFd &object, bool *card, struct statx *facts) const;
    // The end of openForReading for an opened, settled object.
    static DWORD readOpened(const UniqueFd &object, const struct statx &st, bool card, ObjectInfo &info,
                            UniqueFd &file);

    DWORD m_error = ERROR_SUCCESS;
    std::shared_ptr<const Folder> m_dir;
    QString m_last;
    QByteArray m_name;
    QByteArray m_confinement;
    dev_t m_rootDev = 0;
    bool m_exists = false;
    bool m_endsWithSeparator = false;
    bool m_underStoreRoot = false;
    bool m_network = false;
    int m_depth = 0;
    qsizetype m_folderPathSize = 0; // of the path up to the last component
};
