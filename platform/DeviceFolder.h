// A folder of the device held open while its entries are listed and acted
// on. A copy or delete of a whole tree resolves each folder once this way,
// instead of resolving every file's path again. Entries are reached relative
// to the open folder and confined as paths are: an entry is opened without
// following links, and a link only where the device allows it.
#pragma once

#include "platform/DevicePath.h"
#include "platform/FileCopy.h"
#include "platform/ObjectInfo.h"
#include "platform/Types.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class SmbFolder;
class WildcardPattern;

class DeviceFolder
{
public:
    struct Entry
    {
        QByteArray hostName;
        QString name;    // the device's spelling
        ObjectInfo info; // of the link's target for a link
        bool link = false;
    };

    // The folder at a device path ("\" is the root; a trailing backslash is
    // optional). error() tells why it could not be opened. A folder on an SMB
    // share works through the platform's file calls.
    static DeviceFolder open(const QString &path);
    // Whether the folder at a device path is on an SMB share.
    static bool isOnShare(const QString &path);
    // The folder holding path's last component.
    explicit DeviceFolder(DevicePath path);

    DWORD error() const;
    bool ok() const { return error() == ERROR_SUCCESS; }
    // The open host folder; -1 on a share or when it could not be opened.
    int dirFd() const { return m_smb ? -1 : m_path.dirFd(); }

    // Reads the folder's names (all, or those pattern matches) for next().
    // False when the folder cannot be read.
    bool list(const WildcardPattern *pattern = nullptr);
    // Lists just one host name.
    void listOnly(const QByteArray &hostName);
    // The next listed entry the device shows (not sockets, devices, links
    // out of the device, names it cannot spell or too long); false at the end.
    // basic: an entry the folder lists as a file or a folder gets its name
    // and the directory bit only (info otherwise empty), its facts unread.
    // In a big folder the facts of the next entries are read ahead, a chunk
    // at a time, on two threads.
    bool next(Entry &entry, bool basic = false);
    // Reads the facts of the entry hostName (not on a share); false when the
    // device does not show it.
    bool describe(const QByteArray &hostName, Entry &entry) const;

    // Deletes a file entry: a link goes as the link itself; a file has its
    // attributes cleared first (a read-only file is deleted, one in ROM is
    // refused). ERROR_SUCCESS or a platform error.
    DWORD removeFile(const Entry &entry) const;
    // Copies a file entry into target under the same name with its
    // attributes and times, never over an existing entry of any letter case
    // (ERROR_FILE_EXISTS). Not flushed: see flushFileSystem.
    DWORD copyFile(const Entry &entry, DeviceFolder &target) const;
    // What FindFirstFileW finds of the entry name here: Shown when it finds
    // it (in any letter case); Missing when no entry has that name in any
    // letter case; Unshown for an entry the device does not show.
    // On a share these two go through the platform's file calls.
    enum class Presence { Missing, Shown, Unshown };
    Presence presence(const QString &name) const;
    // CopyFileW from this folder's entry name to target's entry of the same
    // name. Replace: over an existing file (fail-if-exists false). Fail: for
    // a name the caller has just found Missing; it is not looked up again,
    // and the copy fails (ERROR_FILE_EXISTS) when the name has appeared in
    // its exact spelling meanwhile. A copy to a new name is flushed as flush
    // says; one replacing a file always is.
    DWORD copyFileTo(const QString &name, const DeviceFolder &target, FileCopy::Existing existing,
                     FileCopy::Flush flush) const;
    // Takes back a copy copyFileTo made: deletes target's entry name while it
    // is a file of the size and last write time of this folder's entry name
    // (ERROR_FILE_EXISTS when it is not). Not on a share.
    DWORD removeCopy(const QString &name, const DeviceFolder &target) const;
    // Creates a subfolder, never beside an existing entry of any letter case
    // (ERROR_ALREADY_EXISTS).
    DWORD createFolder(const QString &name);
    // Writes everything written to the folder's file system to disk.
    bool flushFileSystem() const;

private:
    static constexpr std::size_t AheadChunk = 1024;

    std::size_t count() const { return m_nameAt.size(); }
    QByteArray hostNameAt(std::size_t at) const { return QByteArray(m_nameText.constData() + m_nameAt[at]); }
    void clearNames();
    void addName(const char *hostName, unsigned char type);
    void describeAhead();
    static bool name(const QByteArray &hostName, Entry &entry);
    // Whether the folder has an entry of that name in any letter case; the
    // names are read once, and copies and folders made through this object
    // add theirs.
    bool containsFolded(const QString &name);

    DevicePath m_path;
    QString m_pathText; // the device path open() was given, without a trailing backslash
    std::shared_ptr<SmbFolder> m_smb;
    // The listed names one after another, each ending in NUL, where each
    // starts, and the folder's d_type of each.
    QByteArray m_nameText;
    std::vector<std::size_t> m_nameAt;
    std::vector<unsigned char> m_types;
    std::size_t m_next = 0;
    // Entries read ahead, whether the device shows each, the next to hand out.
    std::vector<Entry> m_ahead;
    std::vector<char> m_aheadShown;
    std::size_t m_aheadAt = 0;
    std::optional<QSet<QString>> m_folded;
};
