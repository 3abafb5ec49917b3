#include "platform/DevicePath.h"

#include "platform/Device.h"
#include "platform/DosAttributes.h"
#include "platform/FoldedNameIndex.h"
#include "platform/ObjectInfo.h"
#include "platform/PosixError.h"

#include <QFile>
#include <QStringList>
#include <fcntl.h>
#include <limits.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

namespace {

constexpr int DirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool containsWildcards(const QString &text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

DWORD checkComponent(const QString &component, bool wildcardsAllowed)
{
    if (component == QLatin1String(".") || component == QLatin1String("..")
        || component.contains(QLatin1Char('/')) || component.contains(QChar(0))
        || (!wildcardsAllowed && containsWildcards(component)))
        return ERROR_INVALID_NAME;
    if (QFile::encodeName(component).size() > NAME_MAX)
        return ERROR_FILENAME_EXCED_RANGE;
    return ERROR_SUCCESS;
}

// The absolute host path of an open object, as the kernel knows it: links
// resolved, one system call.
QByteArray realPathOf(int fd)
{
    char resolved[PATH_MAX];
    const ssize_t size = ::readlink(DevicePath::fdPath(fd).constData(), resolved, sizeof resolved);
    return size > 0 && size < PATH_MAX && resolved[0] == '/' ? QByteArray(resolved, size) : QByteArray();
}

} // namespace

bool DevicePath::isDeviceName(const QString &name)
{
    return !name.contains(QChar::ReplacementCharacter) && !name.contains(QLatin1Char('\\')) && !containsWildcards(name);
}

bool DevicePath::hasWildcards() const
{
    return containsWildcards(m_last);
}

QByteArray DevicePath::fdPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

QByteArray DevicePath::entryPath() const
{
    return m_name.isEmpty() ? fdPath(dirFd()) : fdPath(dirFd()) + '/' + m_name;
}

DevicePath DevicePath::resolve(const QString &path, Wildcards wildcards)
{
    DevicePath result;
    const Device *device = Device::current();
    if (!device) {
        result.m_error = ERROR_PATH_NOT_FOUND;
        return result;
    }
    if (path.size() >= MAX_PATH) {
        result.m_error = ERROR_FILENAME_EXCED_RANGE;
        return result;
    }
    result.m_network = path.startsWith(QLatin1String("\\\\"));
    QStringList components = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    result.m_endsWithSeparator = path.endsWith(QLatin1Char('\\'));
    if (result.m_network && components.isEmpty()) {
        result.m_error = ERROR_BAD_NETPATH;
        return result;
    }

    const QByteArray root = QFile::encodeName(result.m_network ? device->networkRoot() : device->storeRoot());
    result.m_dir = std::make_shared<const Folder>(::open(root.constData(), DirFlags));
    result.m_confinement = realPathOf(result.dirFd());
    struct stat rootStat;
    if (!result.m_dir->fd.valid() || result.m_confinement.isEmpty() || ::fstat(result.dirFd(), &rootStat) != 0) {
        result.m_error = result.m_network ? ERROR_BAD_NETPATH : ERROR_PATH_NOT_FOUND;
        return result;
    }
    result.m_rootDev = rootStat.st_dev;
    std::call_once(result.m_dir->identified, [&] {
        result.m_dir->id = FoldedNameIndex::FolderId{rootStat.st_dev, rootStat.st_ino, rootStat.st_size};
        result.m_dir->idKnown.store(true, std::memory_order_release);
    });

    result.m_folderPathSize = path.size() - (components.isEmpty() ? 0 : components.last().size())
        - (result.m_endsWithSeparator ? 1 : 0);
    const bool wildcardsInLast = wildcards == Wildcards::AllowInLast;
    for (int i = 0; i < components.size(); ++i) {
        const bool last = i == components.size() - 1;
        result.m_error = result.descend(components.at(i), last, wildcardsInLast);
        if (!result.ok())
            return result;
    }
    if (!components.isEmpty() && !result.hasWildcards())
        result.m_error = result.lookUpLast();
    return result;
}

DevicePath DevicePath::entry(const QString &name) const
{
    DevicePath result = unlookedEntry(name);
    if (result.ok())
        result.m_error = result.lookUpLast();
    return result;
}

DevicePath DevicePath::unlookedEntry(const QString &name) const
{
    DevicePath result;
    result.m_error = m_error;
    if (!ok())
        return result;
    result.m_folderPathSize = m_folderPathSize;
    if (m_folderPathSize + name.size() >= MAX_PATH) {
        result.m_error = ERROR_FILENAME_EXCED_RANGE;
        return result;
    }
    result.m_dir = m_dir;
    result.m_confinement = m_confinement;
    result.m_rootDev = m_rootDev;
    result.m_network = m_network;
    result.m_depth = m_depth;
    if (name.isEmpty() || name.contains(QLatin1Char('\\')))
        result.m_error = ERROR_INVALID_NAME;
    else
        result.m_error = result.descend(name, true, false);
    return result;
}

DWORD DevicePath::descend(const QString &component, bool last, bool wildcardsInLast)
{
    const DWORD invalid = checkComponent(component, last && wildcardsInLast);
    if (invalid != ERROR_SUCCESS)
        return invalid;
    m_underStoreRoot = !m_network && m_depth == 0;
    if (last) {
        m_last = component;
        m_name = QFile::encodeName(component);
        return ERROR_SUCCESS;
    }

    QByteArray name;
    bool exists = false;
    const DWORD lookupError = lookup(component, name, exists);
    if (lookupError != ERROR_SUCCESS)
        return lookupError;
    const DWORD missing = m_network && m_depth == 0 ? ERROR_BAD_NETPATH : ERROR_PATH_NOT_FOUND;
    if (!exists)
        return missing;
    UniqueFd next(::openat(dirFd(), name.constData(), DirFlags | O_NOFOLLOW));
    struct stat st;
    if (!next.valid() && ::fstatat(dirFd(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
        // A link: a card directly under the root sets a new confinement root,
        // any other link must lead to a place inside the current one. The
        // place is checked before it is opened for reading.
        const UniqueFd place(::openat(dirFd(), name.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (place.valid() && m_underStoreRoot) {
            m_confinement = realPathOf(place.get());
        } else if (place.valid() && !isInside(place.get())) {
            return ERROR_ACCESS_DENIED;
        }
        if (place.valid())
            next.reset(::open(fdPath(place.get()).constData(), DirFlags));
    }
    if (!next.valid())
        return errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED : missing;
    m_dir = std::make_shared<const Folder>(next.release());
    ++m_depth;
    return ERROR_SUCCESS;
}

DWORD DevicePath::lookUpLast()
{
    return lookup(m_last, m_name, m_exists);
}

DWORD DevicePath::lookup(const QString &component, QByteArray &found, bool &exists) const
{
    found = QFile::encodeName(component);
    const Folder &folder = *m_dir;
    // An indexed folder already knows, the exact spelling too.
    const std::optional<bool> indexed = folder.idKnown.load(std::memory_order_acquire) && folder.id
        ? FoldedNameIndex::findIndexed(*folder.id, component, found)
        : std::nullopt;
    if (indexed) {
        exists = *indexed;
        return ERROR_SUCCESS;
    }
    struct stat st;
    if (::fstatat(dirFd(), found.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        exists = true;
        return ERROR_SUCCESS;
    }
    exists = false;
    if (errno != ENOENT)
        return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;

    std::call_once(folder.identified, [&] {
        folder.id = FoldedNameIndex::FolderId::of(folder.fd.get());
        folder.idKnown.store(true, std::memory_order_release);
    });
    exists = FoldedNameIndex::find(folder.fd.get(), folder.id, component, found);
    return ERROR_SUCCESS;
}

bool DevicePath::folderKeepsModes() const
{
    if (!m_dir)
        return false;
    const Folder &folder = *m_dir;
    std::call_once(folder.modesLearnt, [&] {
        folder.keepsModes = ::fgetxattr(folder.fd.get(), "system.posix_acl_default", nullptr, 0) < 0
            && (errno == ENODATA || errno == EOPNOTSUPP);
    });
    return folder.keepsModes;
}

bool DevicePath::isInside(int fd) const
{
    const QByteArray real = realPathOf(fd);
    return !real.isEmpty()
        && (real == m_confinement || real.startsWith(m_confinement.endsWith('/') ? m_confinement : m_confinement + '/'));
}

bool DevicePath::isMountedCard(const struct statx &st) const
{
    return m_underStoreRoot && S_ISDIR(st.stx_mode)
        && ((st.stx_attributes & STATX_ATTR_MOUNT_ROOT)
            || makedev(st.stx_dev_major, st.stx_dev_minor) != m_rootDev);
}

DWORD DevicePath::openEntry(int dir, const QByteArray &name, UniqueFd &object, bool *card, struct statx *facts) const
{
    object.reset(name.isEmpty() ? ::openat(dir, ".", O_PATH | O_CLOEXEC)
                                : ::openat(dir, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    return settle(dir, name, object, card, facts);
}

DWORD DevicePath::settle(int dir, const QByteArray &name, UniqueFd &object, bool *card, struct statx *facts) const
{
    if (card)
        *card = false;
    struct statx own;
    struct statx &st = facts ? *facts : own;
    const auto describe = [&] {
        return ::statx(object.get(), "", AT_EMPTY_PATH, facts ? ObjectInfo::StatxMask : STATX_TYPE, &st) == 0;
    };
    if (!object.valid() || !describe())
        return name.isEmpty() ? ERROR_PATH_NOT_FOUND : errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
    if (S_ISLNK(st.stx_mode)) {
        object.reset(::openat(dir, name.constData(), O_PATH | O_CLOEXEC));
        if (!object.valid() || !describe())
            return ERROR_FILE_NOT_FOUND; // a dangling link
        const bool isCard = m_underStoreRoot && S_ISDIR(st.stx_mode);
        if (!isCard && !isInside(object.get())) {
            object.reset();
            return ERROR_ACCESS_DENIED;
        }
        if (card)
            *card = isCard;
    } else if (card && !name.isEmpty()) {
        *card = isMountedCard(st);
    }
    return ERROR_SUCCESS;
}

DWORD DevicePath::present() const
{
    if (!ok())
        return m_error;
    return !isRoot() && !m_exists ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

DWORD DevicePath::openObject(UniqueFd &object, bool *card) const
{
    const DWORD error = present();
    return error != ERROR_SUCCESS ? error : openEntry(dirFd(), m_name, object, card);
}

DWORD DevicePath::statEntry(int dir, const QByteArray &name, ObjectInfo &info, UniqueFd *opened) const
{
    UniqueFd object;
    bool card = false;
    struct statx st;
    const DWORD error = openEntry(dir, name, object, &card, &st);
    if (error != ERROR_SUCCESS)
        return error;
    const DWORD stored = DosAttributes::read(fdPath(object.get()).constData(), DosAttributes::Link::Follow);
    if (!ObjectInfo::fromStatx(st, stored, card, info))
        return ERROR_ACCESS_DENIED;
    if (opened)
        *opened = std::move(object);
    return ERROR_SUCCESS;
}

DWORD DevicePath::readOpened(const UniqueFd &object, const struct statx &st, bool card, ObjectInfo &info,
                             UniqueFd &file)
{
    DWORD stored = 0;
    if (S_ISREG(st.stx_mode)) {
        // Reopened through the object itself: the file whose type was just read.
        file.reset(::open(fdPath(object.get()).constData(), O_RDONLY | O_CLOEXEC));
        if (!file.valid())
            return PosixError::toPlatform(errno);
        stored = DosAttributes::readOpen(file.get());
    } else {
        stored = DosAttributes::read(fdPath(object.get()).constData(), DosAttributes::Link::Follow);
    }
    return ObjectInfo::fromStatx(st, stored, card, info) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

DWORD DevicePath::openForReading(ObjectInfo &info, UniqueFd &file) const
{
    DWORD error = present();
    UniqueFd object;
    bool card = false;
    struct statx st;
    if (error == ERROR_SUCCESS)
        error = openEntry(dirFd(), m_name, object, &card, &st);
    if (error == ERROR_SUCCESS)
        error = readOpened(object, st, card, info, file);
    if (error != ERROR_SUCCESS)
        return error;
    return m_endsWithSeparator && !info.isDirectory() ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

DWORD DevicePath::openEntryForReading(const QString &name, ObjectInfo &info, UniqueFd &file) const
{
    DevicePath path = unlookedEntry(name);
    if (!path.ok())
        return path.error();
    UniqueFd object(::openat(dirFd(), path.m_name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!object.valid() && errno == ENOENT) {
        // Not in this spelling: perhaps in another one.
        path.m_error = path.lookUpLast();
        return path.openForReading(info, file);
    }
    bool card = false;
    struct statx st;
    const DWORD error = path.settle(dirFd(), path.m_name, object, &card, &st);
    return error == ERROR_SUCCESS ? readOpened(object, st, card, info, file) : error;
}

DWORD DevicePath::stat(ObjectInfo &info, UniqueFd *opened) const
{
    DWORD error = present();
    if (error == ERROR_SUCCESS)
        error = statEntry(dirFd(), m_name, info, opened);
    if (error != ERROR_SUCCESS)
        return error;
    return m_endsWithSeparator && !info.isDirectory() ? ERROR_INVALID_NAME : ERROR_SUCCESS;
}

int DevicePath::openFile(int flags, mode_t mode) const
{
    if (!ok() || isRoot()) {
        errno = EISDIR;
        return -1;
    }
    return openEntryFile(dirFd(), m_name, flags, mode);
}

int DevicePath::openRegularFile(int dir, const QByteArray &name, const ObjectInfo &info) const
{
    UniqueFd file(openEntryFile(dir, name, O_RDONLY | O_NONBLOCK));
    struct stat st;
    if (!file.valid() || ::fstat(file.get(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode) || st.st_dev != info.device || st.st_ino != info.inode) {
        errno = EACCES;
        return -1;
    }
    return file.release();
}

int DevicePath::openEntryFile(int dir, const QByteArray &name, int flags, mode_t mode) const
{
    const int fd = ::openat(dir, name.constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != ELOOP)
        return fd;
    UniqueFd object;
    if (openEntry(dir, name, object, nullptr) != ERROR_SUCCESS) {
        errno = EACCES;
        return -1;
    }
    return ::open(fdPath(object.get()).constData(), (flags & ~(O_CREAT | O_EXCL)) | O_CLOEXEC);
}
