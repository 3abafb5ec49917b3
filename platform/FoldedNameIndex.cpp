#include "platform/FoldedNameIndex.h"

#include "platform/DevicePath.h"
#include "platform/FolderNames.h"
#include "platform/FolderWatch.h"
#include "platform/UniqueFd.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <limits.h>
#include <limits>
#include <memory>
#include <mutex>
#include <strings.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

bool isAscii(const char *name)
{
    for (; *name; ++name) {
        if (static_cast<unsigned char>(*name) >= 0x80)
            return false;
    }
    return true;
}

// The device's rule for two host names, the second one known to be a
// device name: plain ASCII compares without decoding.
bool sameFolded(const char *a, const char *b)
{
    if (isAscii(a) && isAscii(b))
        return ::strcasecmp(a, b) == 0;
    return QString::compare(QFile::decodeName(a), QFile::decodeName(b), Qt::CaseInsensitive) == 0;
}

struct FoldedHash
{
    std::size_t operator()(const QByteArray &host) const
    {
        // Plain ASCII folds to its lower case: hashed as its folded text
        // would be, without decoding.
        char16_t folded[NAME_MAX];
        if (host.size() <= NAME_MAX && isAscii(host.constData())) {
            for (qsizetype i = 0; i < host.size(); ++i) {
                const char c = host[i];
                folded[i] = char16_t(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            }
            return qHash(QStringView(folded, host.size()));
        }
        return qHash(QFile::decodeName(host).toCaseFolded());
    }
};

struct FoldedEqual
{
    bool operator()(const QByteArray &a, const QByteArray &b) const { return sameFolded(a.constData(), b.constData()); }
};

using Names = std::unordered_multiset<QByteArray, FoldedHash, FoldedEqual>;

bool isDeviceHostName(const char *host)
{
    if (isAscii(host))
        return !std::strpbrk(host, "\\*?");
    return DevicePath::isDeviceName(QFile::decodeName(host));
}

struct Folder
{
    dev_t device = 0;
    ino_t inode = 0;
    int watch = -1;
    std::uint64_t lastUse = 0;
    Names names;
};

class Indexes
{
public:
    static Indexes &instance()
    {
        static Indexes indexes;
        return indexes;
    }

    std::mutex mutex;

    // The index of the folder id, brought up to date; null if none. Changes
    // only ever drop indexes: a folder without one needs none applied.
    Folder *current(const FoldedNameIndex::FolderId &id)
    {
        const auto indexed = [&] {
            return std::find_if(m_folders.begin(), m_folders.end(), [&](const auto &folder) {
                return folder->device == id.device && folder->inode == id.inode;
            });
        };
        if (indexed() == m_folders.end())
            return nullptr;
        drain();
        const auto it = indexed();
        if (it == m_folders.end())
            return nullptr;
        (*it)->lastUse = ++m_clock;
        return it->get();
    }

    // Indexes the folder dir, if it may; the index or null.
    Folder *build(int dir, const FoldedNameIndex::FolderId &id)
    {
        if (Folder *folder = current(id))
            return folder;
        if (!FolderWatch::seesEveryChange(dir) || !watching())
            return nullptr;
        auto folder = std::make_unique<Folder>();
        folder->device = id.device;
        folder->inode = id.inode;
        folder->lastUse = ++m_clock;
        // Watched before the names are read: a change meanwhile is applied
        // on top, and applying a change again does no harm.
        folder->watch = ::inotify_add_watch(m_inotify.get(), DevicePath::fdPath(dir).constData(),
                                            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
                                                | IN_ONLYDIR);
        if (folder->watch < 0)
            return nullptr;
        // A folder's names are distinct: no need to look for each first.
        folder->names.reserve(std::min<std::size_t>(std::size_t(id.size) / 16, FoldedNameIndex::MaxNames));
        const bool read = forEachName(dir, [&](const dirent &entry) {
            if (isDeviceHostName(entry.d_name))
                folder->names.insert(QByteArray(entry.d_name));
            return folder->names.size() <= FoldedNameIndex::MaxNames;
        });
        if (!read) {
            ::inotify_rm_watch(m_inotify.get(), folder->watch);
            return nullptr;
        }
        makeRoom(folder->names.size());
        m_folders.push_back(std::move(folder));
        return m_folders.back().get();
    }

    // The exact spelling where it is there, else another.
    static bool find(const Folder &folder, const QByteArray &wanted, QByteArray &found)
    {
        const auto [first, last] = folder.names.equal_range(wanted);
        if (first == last)
            return false;
        const auto exact = std::find(first, last, wanted);
        found = exact != last ? *exact : *first;
        return true;
    }

private:
    static void add(Names &names, const char *host)
    {
        if (!isDeviceHostName(host))
            return;
        const QByteArray name(host);
        const auto [first, last] = names.equal_range(name);
        if (std::find(first, last, name) == last)
            names.insert(name);
    }

    static void remove(Names &names, const char *host)
    {
        const QByteArray name(host);
        const auto [first, last] = names.equal_range(name);
        const auto it = std::find(first, last, name);
        if (it != last)
            names.erase(it);
    }

    bool watching()
    {
        if (!m_inotifyTried) {
            m_inotifyTried = true;
            m_inotify.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
        }
        return m_inotify.valid();
    }

    void drop(std::size_t at, bool unwatch)
    {
        if (unwatch)
            ::inotify_rm_watch(m_inotify.get(), m_folders[at]->watch);
        m_folders.erase(m_folders.begin() + std::ptrdiff_t(at));
    }

    void makeRoom(std::size_t count)
    {
        auto total = [&] {
            std::size_t names = 0;
            for (const auto &folder : m_folders)
                names += folder->names.size();
            return names;
        };
        while (!m_folders.empty()
               && (m_folders.size() >= FoldedNameIndex::MaxFolders || total() + count > FoldedNameIndex::MaxNames)) {
            const auto oldest = std::min_element(m_folders.begin(), m_folders.end(), [](const auto &a, const auto &b) {
                return a->lastUse < b->lastUse;
            });
            drop(std::size_t(oldest - m_folders.begin()), true);
        }
    }

    // Applies every queued change to the indexes.
    void drain()
    {
        if (!m_inotify.valid() || m_folders.empty())
            return;
        alignas(inotify_event) char buffer[64 * 1024];
        // A read takes events while the next one fits: with room left for
        // the biggest, the queue was empty, and reading again would only say so.
        constexpr ssize_t Drained = ssize_t(sizeof buffer - sizeof(inotify_event) - NAME_MAX - 1);
        for (;;) {
            const ssize_t size = ::read(m_inotify.get(), buffer, sizeof buffer);
            if (size <= 0)
                return;
            for (ssize_t at = 0; at < size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                apply(*event);
            }
            if (size <= Drained)
                return;
        }
    }

    void apply(const inotify_event &event)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            // Changes were lost: no index can be trusted.
            while (!m_folders.empty())
                drop(m_folders.size() - 1, true);
            return;
        }
        const auto it = std::find_if(m_folders.begin(), m_folders.end(),
                                     [&](const auto &folder) { return folder->watch == event.wd; });
        if (it == m_folders.end())
            return;
        if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_UNMOUNT)) {
            drop(std::size_t(it - m_folders.begin()), !(event.mask & IN_IGNORED));
        } else if (event.len > 0 && (event.mask & (IN_CREATE | IN_MOVED_TO))) {
            add((*it)->names, event.name);
        } else if (event.len > 0 && (event.mask & (IN_DELETE | IN_MOVED_FROM))) {
            remove((*it)->names, event.name);
        }
    }

    UniqueFd m_inotify;
    bool m_inotifyTried = false;
    std::vector<std::unique_ptr<Folder>> m_folders;
    std::uint64_t m_clock = 0;
};

} // namespace

std::optional<FoldedNameIndex::FolderId> FoldedNameIndex::FolderId::of(int dir)
{
    struct stat st;
    if (::fstat(dir, &st) != 0)
        return std::nullopt;
    return FolderId{st.st_dev, st.st_ino, st.st_size};
}

bool FoldedNameIndex::find(int dir, const std::optional<FolderId> &id, const QString &name, QByteArray &found)
{
    const QByteArray wanted = QFile::encodeName(name);
    Indexes &indexes = Indexes::instance();
    if (id) {
        const std::lock_guard lock(indexes.mutex);
        if (const Folder *folder = indexes.current(*id))
            return Indexes::find(*folder, wanted, found);
        // A folder whose size tells of many entries is indexed at once: its
        // names are read only once.
        if (id->size >= FolderWatch::BigFolderBytes) {
            if (const Folder *folder = indexes.build(dir, *id))
                return Indexes::find(*folder, wanted, found);
        }
    }

    // Reads until the name is found or limit names are read; their count.
    bool exists = false;
    const auto readThrough = [&](std::size_t limit) {
        std::size_t count = 0;
        forEachName(dir, [&](const dirent &entry) {
            const char *host = entry.d_name;
            if (sameFolded(wanted.constData(), host) && isDeviceHostName(host)) {
                found = host;
                exists = true;
            }
            return !exists && ++count < limit;
        });
        return count;
    };
    // A folder that proves big is indexed instead of read to its end.
    if (!id || readThrough(MinEntries) < MinEntries)
        return exists;
    {
        const std::lock_guard lock(indexes.mutex);
        if (const Folder *folder = indexes.build(dir, *id))
            return Indexes::find(*folder, wanted, found);
    }
    readThrough(std::numeric_limits<std::size_t>::max());
    return exists;
}

std::optional<bool> FoldedNameIndex::findIndexed(const FolderId &id, const QString &name, QByteArray &found)
{
    if (name.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    Indexes &indexes = Indexes::instance();
    const std::lock_guard lock(indexes.mutex);
    const Folder *folder = indexes.current(id);
    if (!folder)
        return std::nullopt;
    return Indexes::find(*folder, QFile::encodeName(name), found);
}

bool FoldedNameIndex::indexed(int dir)
{
    const std::optional<FolderId> id = FolderId::of(dir);
    if (!id)
        return false;
    Indexes &indexes = Indexes::instance();
    const std::lock_guard lock(indexes.mutex);
    return indexes.current(*id) != nullptr;
}
