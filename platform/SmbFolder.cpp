#include "platform/SmbFolder.h"

#include "platform/Files.h"
#include "platform/WildcardPattern.h"

SmbFolder::SmbFolder(const QString &path) : m_path(path)
{
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        m_error = GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : GetLastError();
    else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        m_error = ERROR_DIRECTORY;
}

bool SmbFolder::list(const WildcardPattern *pattern)
{
    m_entries.clear();
    m_next = 0;
    if (m_error != ERROR_SUCCESS)
        return false;
    WIN32_FIND_DATAW record;
    const HANDLE find = FindFirstFileW(wide(m_path + QStringLiteral("\\*")), &record);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_NO_MORE_FILES;
    do {
        DeviceFolder::Entry entry;
        entry.name = fromWide(record.cFileName);
        if (pattern && !pattern->matches(entry.name))
            continue;
        entry.hostName = entry.name.toUtf8();
        entry.info.attributes = record.dwFileAttributes;
        entry.info.creationTime = record.ftCreationTime;
        entry.info.lastAccessTime = record.ftLastAccessTime;
        entry.info.lastWriteTime = record.ftLastWriteTime;
        entry.info.size = (std::uint64_t(record.nFileSizeHigh) << 32) | record.nFileSizeLow;
        entry.info.oid = record.dwOID;
        m_entries.push_back(entry);
    } while (FindNextFileW(find, &record));
    FindClose(find);
    return true;
}

bool SmbFolder::next(DeviceFolder::Entry &entry)
{
    if (m_next >= m_entries.size())
        return false;
    entry = m_entries[m_next++];
    return true;
}

DWORD SmbFolder::removeFile(const DeviceFolder::Entry &entry) const
{
    const QString path = m_path + QLatin1Char('\\') + entry.name;
    if (entry.info.isDirectory())
        return ERROR_ACCESS_DENIED;
    if (entry.info.isReadOnly() && !SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL))
        return GetLastError();
    return DeleteFileW(wide(path)) ? ERROR_SUCCESS : GetLastError();
}

DWORD SmbFolder::createFolder(const QString &name) const
{
    return CreateDirectoryW(wide(m_path + QLatin1Char('\\') + name), nullptr) ? ERROR_SUCCESS : GetLastError();
}

DWORD SmbFolder::copyFile(const QString &source, const QString &target)
{
    return CopyFileW(wide(source), wide(target), TRUE) ? ERROR_SUCCESS : GetLastError();
}
