// Reads files of the device from start to end in blocks of the caller's size,
// for work that reads many whole files (searching their contents). The
// folder of the last file stays open, so the files of one folder cost one
// open each instead of a path resolution each.
//
// Confined as every device path: a link is followed only where the device
// allows it, and only regular files are read; a pipe or device node put in
// place of a listed file is refused, never waited on.
#pragma once

#include "platform/DevicePath.h"
#include "platform/Types.h"

#include <QString>
#include <cstddef>

class DeviceFileReader
{
public:
    DeviceFileReader() = default;
    ~DeviceFileReader() { close(); }
    DeviceFileReader(const DeviceFileReader &) = delete;
    DeviceFileReader &operator=(const DeviceFileReader &) = delete;

    // Opens the entry name of folder (a device path, trailing backslash
    // optional) for reading, closing any file open before. name is spelled
    // as the folder's enumeration gave it. ERROR_SUCCESS or a platform error.
    DWORD open(const QString &folder, const QString &name);
    // Reads up to size bytes at the current position: the count read, 0 at
    // the end of the file, -1 when the read failed.
    std::ptrdiff_t read(char *buffer, std::size_t size);
    void close();

private:
    QString m_folderPath; // the device path m_folder was resolved from
    DevicePath m_folder;
    UniqueFd m_file;
    // A file on an SMB share is read through the platform's file calls.
    HANDLE m_shared = INVALID_HANDLE_VALUE;
};
