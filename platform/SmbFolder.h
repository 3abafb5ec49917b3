// A DeviceFolder on an SMB share: the same listing, copy, delete and new
// folder, through the platform's file calls (which reach the share) instead
// of an open host folder.
#pragma once

#include "platform/DeviceFolder.h"

class SmbFolder
{
public:
    // path: the folder's device path, without a trailing backslash.
    explicit SmbFolder(const QString &path);

    DWORD error() const { return m_error; }
    bool list(const WildcardPattern *pattern);
    bool next(DeviceFolder::Entry &entry);
    DWORD removeFile(const DeviceFolder::Entry &entry) const;
    DWORD createFolder(const QString &name) const;
    // Copies the file source to target (device paths, either on a share),
    // never over an existing target.
    static DWORD copyFile(const QString &source, const QString &target);

private:
    QString m_path;
    DWORD m_error = ERROR_SUCCESS;
    std::vector<DeviceFolder::Entry> m_entries;
    std::size_t m_next = 0;
};
