// FindFirstFileW / FindNextFileW / FindClose.
//
// FindFirstFileW reads the folder's names once and keeps those the pattern
// matches; each record's inode and attribute bits are read only when the
// record is handed out, relative to the open folder.
#include "platform/DevicePath.h"
#include "platform/DosAttributes.h"
#include "platform/Files.h"
#include "platform/HandleTable.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"
#include "platform/WildcardPattern.h"

#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <vector>

namespace {

class FindHandle : public PlatformHandle
{
public:
    explicit FindHandle(DevicePath path) : m_path(std::move(path)), m_dirPath(DevicePath::fdPath(m_path.dirFd()) + '/') {}

    // Reads the folder and keeps the names pattern matches.
    bool readNames(const WildcardPattern &pattern)
    {
        DIR *stream = ::fdopendir(::openat(m_path.dirFd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!stream)
            return false;
        while (const dirent *entry = ::readdir(stream)) {
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            if (pattern.matchesAll() || pattern.matches(QFile::decodeName(name)))
                m_names.emplace_back(name);
        }
        ::closedir(stream);
        return true;
    }

    void addName(const QByteArray &name) { m_names.push_back(name); }

    // The next record the device shows; false at the end.
    bool next(WIN32_FIND_DATAW &record)
    {
        while (m_next < m_names.size()) {
            const QByteArray &name = m_names[m_next++];
            ObjectInfo info;
            if (!read(name, info))
                continue;
            record = WIN32_FIND_DATAW();
            const QString wide = QFile::decodeName(name);
            // Names the device cannot spell back to the host are not shown.
            if (!wide.contains(QChar::ReplacementCharacter) && info.fill(wide, record))
                return true;
        }
        return false;
    }

private:
    bool read(const QByteArray &name, ObjectInfo &info)
    {
        struct statx st;
        if (::statx(m_path.dirFd(), name.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, ObjectInfo::StatxMask, &st) != 0)
            return false;
        if (!S_ISLNK(st.stx_mode)) {
            const DWORD stored = DosAttributes::read((m_dirPath + name).constData());
            return ObjectInfo::fromStatx(st, stored, m_path.isMountedCard(st), info);
        }
        UniqueFd object;
        bool card = false;
        if (m_path.openEntry(m_path.dirFd(), name, object, &card) != ERROR_SUCCESS
            || ::statx(object.get(), "", AT_EMPTY_PATH, ObjectInfo::StatxMask, &st) != 0)
            return false;
        const DWORD stored = DosAttributes::read(DevicePath::fdPath(object.get()).constData(), DosAttributes::Link::Follow);
        return ObjectInfo::fromStatx(st, stored, card, info);
    }

    DevicePath m_path;
    QByteArray m_dirPath;
    std::vector<QByteArray> m_names;
    std::size_t m_next = 0;
};

} // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW *findData)
{
    if (!fileName || !findData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
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
    auto search = std::make_unique<FindHandle>(std::move(path));
    if (single)
        search->addName(name);
    else if (!search->readNames(pattern)) {
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
    FindHandle *search = HandleTable::get<FindHandle>(findFile);
    if (!search || !findData)
        return PosixError::failWith(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    if (!search->next(*findData))
        return PosixError::failWith(ERROR_NO_MORE_FILES);
    return TRUE;
}

BOOL FindClose(HANDLE findFile)
{
    if (!HandleTable::get<FindHandle>(findFile))
        return PosixError::failWith(ERROR_INVALID_HANDLE);
    HandleTable::close(findFile);
    return TRUE;
}
