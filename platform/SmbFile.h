// An open file or a search on an SMB share: the objects behind the HANDLEs
// that CreateFileW and FindFirstFileW return for SMB paths. They live in the
// HandleTable like the device's own, so a stale handle is ERROR_INVALID_HANDLE.
#pragma once

#include "platform/PlatformHandle.h"
#include "platform/Types.h"

#include <memory>
#include <vector>

class SmbSession;
struct _SMBCFILE;
using SMBCFILE = _SMBCFILE;

class SmbFile : public PlatformHandle
{
public:
    // Largest block of one call to the server: big blocks for speed, bounded
    // so one call fits the session's deadline on a slow link.
    static constexpr DWORD BlockSize = 4u << 20;

    SmbFile(std::shared_ptr<SmbSession> session, SMBCFILE *file, bool canRead, bool canWrite);
    ~SmbFile() override;

    // The platform calls on this file: BOOL or DWORD results, errors through
    // SetLastError, as ReadFile, WriteFile, SetFilePointer and GetFileSize.
    BOOL read(void *buffer, DWORD bytesToRead, DWORD *bytesRead);
    BOOL write(const void *buffer, DWORD bytesToWrite, DWORD *bytesWritten);
    DWORD seek(LONG distance, LONG *distanceHigh, DWORD moveMethod);
    DWORD size(DWORD *sizeHigh);

private:
    std::shared_ptr<SmbSession> m_session;
    SMBCFILE *m_file;
    bool m_canRead;
    bool m_canWrite;
};

// A search's records, read in full by FindFirstFileW.
class SmbFind : public PlatformHandle
{
public:
    explicit SmbFind(std::vector<WIN32_FIND_DATAW> records) : m_records(std::move(records)) {}
    bool next(WIN32_FIND_DATAW &record)
    {
        if (m_next >= m_records.size())
            return false;
        record = m_records[m_next++];
        return true;
    }

private:
    std::vector<WIN32_FIND_DATAW> m_records;
    std::size_t m_next = 0;
};
