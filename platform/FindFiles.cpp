// FindFirstFileW / FindNextFileW / FindClose.
//
// FindFirstFileW reads the folder's names once and keeps those the pattern
// matches; each record's inode and attribute bits are read only when the
// record is handed out, relative to the open folder.
#include "platform/DeviceFolder.h"
#include "platform/Files.h"
#include "platform/HandleTable.h"
#include "platform/PosixError.h"
#include "platform/SmbFile.h"
#include "platform/SmbProvider.h"
#include "platform/WildcardPattern.h"

namespace {

class FindHandle : public PlatformHandle
{
public:
    FindHandle(DevicePath path, bool basic) : m_folder(std::move(path)), m_basic(basic) {}

    DeviceFolder &folder() { return m_folder; }

    // The next record the device shows; false at the end.
    bool next(WIN32_FIND_DATAW &record)
    {
        DeviceFolder::Entry entry;
        if (!m_folder.next(entry, m_basic))
            return false;
        record = WIN32_FIND_DATAW();
        entry.info.fill(entry.name, record);
        return true;
    }

private:
    DeviceFolder m_folder;
    bool m_basic;
};

} // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW *findData)
{
    return FindFirstFileExW(fileName, FindExInfoStandard, findData, FindExSearchNameMatch, nullptr, 0);
}

HANDLE FindFirstFileExW(LPCWSTR fileName, FINDEX_INFO_LEVELS infoLevel, void *findFileData,
                        FINDEX_SEARCH_OPS searchOp, void *searchFilter, DWORD additionalFlags)
{
    auto *findData = static_cast<WIN32_FIND_DATAW *>(findFileData);
    if (!fileName || !findData || (infoLevel != FindExInfoStandard && infoLevel != FindExInfoBasic)
        || searchOp != FindExSearchNameMatch || searchFilter || additionalFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (const auto smb = SmbPath::parse(fromWide(fileName), SmbPath::Wildcards::AllowInLast))
        return SmbProvider::findFirst(*smb, *findData);
    DevicePath path = DevicePath::resolve(fromWide(fileName), DevicePath::Wildcards::AllowInLast);
    if (!path.ok()) {
        SetLastError(path.error());
        return INVALID_HANDLE_VALUE;
    }
    // An empty mask ("\folder\") finds nothing.
    if (path.endsWithSeparator() || path.isRoot()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    const WildcardPattern pattern(path.lastComponent());
    const bool single = !path.hasWildcards();
    if (single && !path.exists()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const QByteArray name = path.name();
    auto search = std::make_unique<FindHandle>(std::move(path), infoLevel == FindExInfoBasic);
    if (single)
        search->folder().listOnly(name);
    else if (!search->folder().list(&pattern)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (!search->next(*findData)) {
        // "Nothing at all" tells an empty but existing folder from a miss.
        SetLastError(pattern.matchesAll() ? ERROR_NO_MORE_FILES : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_SUCCESS);
    return HandleTable::add(std::move(search));
}

BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW *findData)
{
    if (SmbFind *smb = HandleTable::get<SmbFind>(findFile))
        return !findData ? PosixError::failWith(ERROR_INVALID_PARAMETER)
                         : smb->next(*findData) ? TRUE : PosixError::failWith(ERROR_NO_MORE_FILES);
    FindHandle *search = HandleTable::get<FindHandle>(findFile);
    if (!search || !findData)
        return PosixError::failWith(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    if (!search->next(*findData))
        return PosixError::failWith(ERROR_NO_MORE_FILES);
    return TRUE;
}

BOOL FindClose(HANDLE findFile)
{
    if (!HandleTable::get<FindHandle>(findFile) && !HandleTable::get<SmbFind>(findFile))
        return PosixError::failWith(ERROR_INVALID_HANDLE);
    HandleTable::close(findFile);
    return TRUE;
}
