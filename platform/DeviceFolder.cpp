#include "platform/DeviceFolder.h"

#include "platform/DosAttributes.h"
#include "platform/FileCopy.h"
#include "platform/FileTime.h"
#include "platform/Files.h"
#include "platform/FolderNames.h"
#include "platform/PosixError.h"
#include "platform/SmbFolder.h"
#include "platform/SmbPath.h"
#include "platform/WildcardPattern.h"

#include <QFile>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

DeviceFolder DeviceFolder::open(const QString &path)
{
    QString pattern = path;
    if (!pattern.endsWith(QLatin1Char('\\')))
        pattern += QLatin1Char('\\');
    const bool smb = isOnShare(pattern);
    DeviceFolder folder(smb ? DevicePath() : DevicePath::resolve(pattern + QLatin1Char('*'), DevicePath::Wildcards::AllowInLast));
    folder.m_pathText = pattern.chopped(1);
    if (smb)
        folder.m_smb = std::make_shared<SmbFolder>(folder.m_pathText);
    return folder;
}

bool DeviceFolder::isOnShare(const QString &path)
{
    const QString pattern = path.endsWith(QLatin1Char('\\')) ? path + QLatin1Char('*') : path + QStringLiteral("\\*");
    return SmbPath::parse(pattern, SmbPath::Wildcards::AllowInLast).has_value();
}

DWORD DeviceFolder::error() const
{
    return m_smb ? m_smb->error() : m_path.error();
}

DeviceFolder::DeviceFolder(DevicePath path)
    : m_path(std::move(path))
{
}

bool DeviceFolder::list(const WildcardPattern *pattern)
{
    if (m_smb)
        return m_smb->list(pattern);
    clearNames();
    return ok() && forEachName(m_path.dirFd(), [&](const dirent &entry) {
        if (!pattern || pattern->matchesAll() || pattern->matches(QFile::decodeName(entry.d_name)))
            addName(entry.d_name, entry.d_type);
        return true;
    });
}

void DeviceFolder::listOnly(const QByteArray &hostName)
{
    clearNames();
    addName(hostName.constData(), DT_UNKNOWN);
}

void DeviceFolder::clearNames()
{
    m_nameText.clear();
    m_nameAt.clear();
    m_types.clear();
    m_next = 0;
    m_ahead.clear();
    m_aheadShown.clear();
    m_aheadAt = 0;
}

void DeviceFolder::addName(const char *hostName, unsigned char type)
{
    m_nameAt.push_back(std::size_t(m_nameText.size()));
    m_nameText.append(hostName, qsizetype(std::strlen(hostName) + 1));
    m_types.push_back(type);
}

bool DeviceFolder::next(Entry &entry, bool basic)
{
    if (m_smb)
        return m_smb->next(entry);
    for (;;) {
        while (m_aheadAt < m_ahead.size()) {
            const std::size_t at = m_aheadAt++;
            if (m_aheadShown[at]) {
                entry = std::move(m_ahead[at]);
                return true;
            }
        }
        if (m_next >= count())
            return false;
        if (!basic && count() - m_next >= AheadChunk) {
            describeAhead();
            continue;
        }
        const std::size_t at = m_next++;
        const unsigned char type = m_types[at];
        if (basic && (type == DT_REG || type == DT_DIR)) {
            entry.link = false;
            entry.info = ObjectInfo();
            entry.info.attributes = type == DT_DIR ? FILE_ATTRIBUTE_DIRECTORY : 0;
            if (name(hostNameAt(at), entry))
                return true;
        } else if (describe(hostNameAt(at), entry)) {
            return true;
        }
    }
}

void DeviceFolder::describeAhead()
{
    // Reading an entry's facts is mostly the kernel's name lookup: a second
    // thread halves the wait.
    const std::size_t first = m_next;
    m_ahead.resize(AheadChunk);
    m_aheadShown.assign(AheadChunk, 0);
    m_aheadAt = 0;
    m_next += AheadChunk;
    const auto describeRange = [this, first](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            m_aheadShown[i] = describe(hostNameAt(first + i), m_ahead[i]);
    };
    std::thread helper;
    try {
        helper = std::thread(describeRange, AheadChunk / 2, AheadChunk);
    } catch (const std::system_error &) {
        describeRange(AheadChunk / 2, AheadChunk);
    }
    describeRange(0, AheadChunk / 2);
    if (helper.joinable())
        helper.join();
}

bool DeviceFolder::name(const QByteArray &hostName, Entry &entry)
{
    entry.hostName = hostName;
    entry.name = QFile::decodeName(hostName);
    // Names the device cannot spell back to the host are not shown.
    return DevicePath::isDeviceName(entry.name) && entry.name.size() < MAX_PATH;
}

bool DeviceFolder::describe(const QByteArray &hostName, Entry &entry) const
{
    if (!name(hostName, entry))
        return false;
    const int dir = m_path.dirFd();
    struct statx st;
    if (::statx(dir, hostName.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC,
                ObjectInfo::StatxMask, &st)
        != 0)
        return false;
    entry.link = S_ISLNK(st.stx_mode);
    if (!entry.link) {
        const DWORD stored = DosAttributes::readAt(dir, hostName.constData());
        return ObjectInfo::fromStatx(st, stored, m_path.isMountedCard(st), entry.info);
    }
    return m_path.statEntry(dir, hostName, entry.info) == ERROR_SUCCESS;
}

DWORD DeviceFolder::removeFile(const Entry &entry) const
{
    if (m_smb)
        return m_smb->removeFile(entry);
    const int dir = m_path.dirFd();
    if (entry.link && !entry.info.card)
        return ::unlinkat(dir, entry.hostName.constData(), 0) == 0 ? ERROR_SUCCESS : PosixError::toPlatform(errno);
    if (entry.info.isDirectory() || entry.info.isInRom())
        return ERROR_ACCESS_DENIED;
    if (entry.info.attributes & DosAttributes::SettableMask) {
        // Cleared on the object actually opened, never through a link that
        // appeared since the folder was listed.
        UniqueFd object;
        const DWORD error = m_path.openEntry(dir, entry.hostName, object, nullptr);
        if (error != ERROR_SUCCESS)
            return error;
        if (!DosAttributes::change(DevicePath::fdPath(object.get()).constData(), entry.info, 0))
            return PosixError::toPlatform(errno);
    }
    return ::unlinkat(dir, entry.hostName.constData(), 0) == 0 ? ERROR_SUCCESS : PosixError::toPlatform(errno);
}

DWORD DeviceFolder::copyFile(const Entry &entry, DeviceFolder &target) const
{
    if (!target.ok())
        return target.error();
    if (entry.info.isDirectory())
        return ERROR_ACCESS_DENIED;
    if (m_smb || target.m_smb)
        return SmbFolder::copyFile(m_pathText + QLatin1Char('\\') + entry.name, target.m_pathText + QLatin1Char('\\') + entry.name);
    if (target.containsFolded(entry.name))
        return ERROR_FILE_EXISTS;
    UniqueFd in(m_path.openRegularFile(m_path.dirFd(), entry.hostName, entry.info));
    if (!in.valid())
        return PosixError::toPlatform(errno);
    const DWORD error = FileCopy::copy(in.get(), entry.info, entry.info.attributes & DosAttributes::StoredMask,
                                       target.m_path, entry.hostName, FileCopy::Existing::Fail, FileCopy::Flush::No);
    if (error == ERROR_SUCCESS)
        target.m_folded->insert(entry.name.toCaseFolded());
    return error;
}

DeviceFolder::Presence DeviceFolder::presence(const QString &name) const
{
    if (m_smb)
        return FindExists(wide(m_pathText + QLatin1Char('\\') + name)) ? Presence::Shown : Presence::Missing;
    const DevicePath path = m_path.entry(name);
    if (!path.ok() || !path.exists())
        return Presence::Missing;
    Entry entry;
    return describe(path.name(), entry) ? Presence::Shown : Presence::Unshown;
}

DWORD DeviceFolder::copyFileTo(const QString &name, const DeviceFolder &target, FileCopy::Existing existing,
                               FileCopy::Flush flush) const
{
    const bool failIfExists = existing == FileCopy::Existing::Fail;
    if (m_smb || target.m_smb) {
        return CopyFileW(wide(m_pathText + QLatin1Char('\\') + name), wide(target.m_pathText + QLatin1Char('\\') + name),
                         failIfExists)
            ? ERROR_SUCCESS
            : GetLastError();
    }
    ObjectInfo info;
    UniqueFd in;
    const DWORD error = m_path.openEntryForReading(name, info, in);
    if (error != ERROR_SUCCESS)
        return error;
    return FileCopy::copyOpened(in.get(), info,
                                failIfExists ? target.m_path.unlookedEntry(name) : target.m_path.entry(name), existing,
                                flush);
}

DWORD DeviceFolder::removeCopy(const QString &name, const DeviceFolder &target) const
{
    if (m_smb || target.m_smb)
        return ERROR_NOT_SUPPORTED;
    const DevicePath copy = target.m_path.entry(name);
    ObjectInfo sourceInfo;
    ObjectInfo copyInfo;
    DWORD error = m_path.entry(name).stat(sourceInfo);
    if (error == ERROR_SUCCESS)
        error = copy.stat(copyInfo);
    if (error != ERROR_SUCCESS)
        return error;
    if (copyInfo.isDirectory() || copyInfo.size != sourceInfo.size
        || FileTime::ticks(copyInfo.lastWriteTime) != FileTime::ticks(sourceInfo.lastWriteTime))
        return ERROR_FILE_EXISTS;
    return ::unlinkat(copy.dirFd(), copy.name().constData(), 0) == 0 ? ERROR_SUCCESS : PosixError::toPlatform(errno);
}

DWORD DeviceFolder::createFolder(const QString &name)
{
    if (m_smb)
        return m_smb->createFolder(name);
    if (!ok())
        return error();
    if (containsFolded(name))
        return ERROR_ALREADY_EXISTS;
    if (::mkdirat(m_path.dirFd(), QFile::encodeName(name).constData(), 0777) != 0)
        return PosixError::toPlatform(errno);
    m_folded->insert(name.toCaseFolded());
    return ERROR_SUCCESS;
}

bool DeviceFolder::flushFileSystem() const
{
    return m_smb ? ok() : ok() && ::syncfs(m_path.dirFd()) == 0;
}

bool DeviceFolder::containsFolded(const QString &name)
{
    if (!m_folded) {
        m_folded.emplace();
        forEachName(m_path.dirFd(),
                    [&](const dirent &entry) {
            m_folded->insert(QFile::decodeName(entry.d_name).toCaseFolded());
            return true;
        });
    }
    return m_folded->contains(name.toCaseFolded());
}
