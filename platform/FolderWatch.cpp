#include "platform/FolderWatch.h"

#include "platform/DeviceFolder.h"
#include "platform/DevicePath.h"
#include "platform/UniqueFd.h"

#include <QFile>
#include <cerrno>
#include <linux/magic.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// A removal needs no report: the name is simply missing when the folder is
// read again. Anything that may change what an entry shows does.
constexpr std::uint32_t WatchedEvents = IN_CREATE | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF
    | IN_MOVE_SELF | IN_ONLYDIR;
// The events that end the watch.
constexpr std::uint32_t LostEvents = IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
// How long the events of a busy folder gather before the thread reads again.
constexpr int GatherMilliseconds = 20;

} // namespace

struct FolderWatch::State
{
    UniqueFd events;
    UniqueFd stop;
    dev_t device = 0;
    ino_t inode = 0;
    std::mutex mutex;
    QSet<QByteArray> names; // host spellings
    bool lost = false;
    std::thread reader;

    ~State()
    {
        if (reader.joinable()) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(stop.get(), &one, sizeof one);
            reader.join();
        }
    }

    // Takes every queued event; the mutex is held.
    void drain()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t size = ::read(events.get(), buffer, sizeof buffer);
            if (size < 0 && errno == EINTR)
                continue;
            if (size <= 0)
                return;
            for (ssize_t at = 0; at < size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                if (event->mask & LostEvents)
                    lost = true;
                else if (event->len > 0 && !lost)
                    names.insert(QByteArray(event->name));
            }
            if (names.size() > MaxChanges)
                lost = true;
            if (lost)
                names.clear();
        }
    }

    void run()
    {
        pollfd ready[2] = {{stop.get(), POLLIN, 0}, {events.get(), POLLIN, 0}};
        for (;;) {
            if (::poll(ready, 2, -1) < 0 && errno != EINTR)
                return;
            if (ready[0].revents)
                return;
            {
                const std::lock_guard lock(mutex);
                drain();
            }
            if (::poll(ready, 1, GatherMilliseconds) > 0)
                return;
        }
    }
};

FolderWatch::FolderWatch() = default;
FolderWatch::~FolderWatch() = default;

void FolderWatch::clear()
{
    m_state.reset();
}

void FolderWatch::watch(const QString &path)
{
    clear();
    if (DeviceFolder::isOnShare(path))
        return;
    const DeviceFolder folder = DeviceFolder::open(path);
    const int dir = folder.dirFd();
    struct stat st;
    if (dir < 0 || ::fstat(dir, &st) != 0 || st.st_size < BigFolderBytes || !seesEveryChange(dir))
        return;
    auto state = std::make_unique<State>();
    state->device = st.st_dev;
    state->inode = st.st_ino;
    state->events.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    state->stop.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!state->events.valid() || !state->stop.valid()
        || ::inotify_add_watch(state->events.get(), DevicePath::fdPath(dir).constData(), WatchedEvents) < 0)
        return;
    try {
        state->reader = std::thread(&State::run, state.get());
    } catch (const std::system_error &) {
        return;
    }
    m_state = std::move(state);
}

bool FolderWatch::takeChanges(const DeviceFolder &folder, QSet<QString> &changed)
{
    struct stat st;
    if (!m_state || folder.dirFd() < 0 || ::fstat(folder.dirFd(), &st) != 0 || st.st_dev != m_state->device
        || st.st_ino != m_state->inode)
        return false;
    QSet<QByteArray> names;
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->drain();
        if (m_state->lost)
            return false;
        names.swap(m_state->names);
    }
    for (const QByteArray &host : std::as_const(names)) {
        const QString name = QFile::decodeName(host);
        if (DevicePath::isDeviceName(name))
            changed.insert(name);
    }
    return true;
}

bool FolderWatch::seesEveryChange(int dir)
{
    struct statfs fs;
    if (::fstatfs(dir, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}
