#include "platform/SmbSession.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <libsmbclient.h>
#include <map>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// How long a server that let a call overrun counts as not answering.
constexpr auto QuietPeriod = std::chrono::seconds(5);
// Workers left behind in a call that overran; beyond this many, new sessions wait.
constexpr int MaxAbandoned = 8;

// The live sessions and the servers left alone, by lower-case server name.
// Never destroyed: at exit libsmbclient's own state may be gone before ours,
// so idle workers are left to the end of the process, not joined.
struct Registry
{
    std::mutex mutex;
    std::map<QString, std::shared_ptr<SmbSession>> sessions;
    std::map<QString, Clock::time_point> quietUntil;
};
Registry &registry()
{
    static Registry *const instance = new Registry;
    return *instance;
}

// libsmbclient's configuration is global to the process: contexts are made
// and freed under one lock.
std::mutex &libraryMutex()
{
    static std::mutex *const mutex = new std::mutex;
    return *mutex;
}

std::atomic<int> s_abandoned{0};

// The client's own smb.conf and state folders, so the library neither reads
// the host's /etc/samba/smb.conf nor writes /run/samba, and never asks the
// LAN by broadcast: names are host names, resolved by the resolver.
QByteArray clientConfiguration()
{
    static const QByteArray path = [] {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        const QString temporary = QDir::tempPath() + QStringLiteral("/quillmoss-%1").arg(::getuid());
        for (const QString &base : {cache, temporary}) {
            const QString dir = base + QStringLiteral("/quillmoss/smbclient");
            if (base.isEmpty() || !QDir().mkpath(dir))
                continue;
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            const QByteArray folder = QFile::encodeName(dir);
            QSaveFile file(dir + QStringLiteral("/smb.conf"));
            if (!file.open(QIODevice::WriteOnly))
                continue;
            file.write("[global]\n"
                       "  name resolve order = host\n"
                       "  disable netbios = yes\n"
                       "  client use kerberos = disabled\n"
                       "  client min protocol = SMB2_02\n"
                       "  log level = 0\n"
                       "  lock directory = " + folder + "\n"
                       "  state directory = " + folder + "\n"
                       "  cache directory = " + folder + "\n"
                       "  private dir = " + folder + "\n");
            if (file.commit())
                return QFile::encodeName(file.fileName());
        }
        return QByteArray();
    }();
    return path;
}

// Guest login: an empty password logs in anonymously whatever the user name.
void guest(SMBCCTX *, const char *, const char *, char *, int, char *user, int, char *password, int)
{
    user[0] = '\0';
    password[0] = '\0';
}

SMBCCTX *newContext()
{
    std::lock_guard lock(libraryMutex());
    SMBCCTX *context = smbc_new_context();
    if (!context)
        return nullptr;
    smbc_setDebug(context, 0);
    smbc_setFunctionAuthDataWithContext(context, guest);
    smbc_setOptionUseKerberos(context, false);
    smbc_setOptionFallbackAfterKerberos(context, true);
    // Below the caller's deadline, so a server that stops answering mid-call
    // usually ends the call in the library first.
    smbc_setTimeout(context, SmbSession::DeadlineMs - 1000);
    // Without its own configuration the library would use the host's.
    const QByteArray configuration = clientConfiguration();
    if (configuration.isEmpty() || smbc_setConfiguration(context, configuration.constData()) != 0
        || !smbc_init_context(context)) {
        smbc_free_context(context, 0);
        return nullptr;
    }
    return context;
}

void freeContext(SMBCCTX *context)
{
    std::lock_guard lock(libraryMutex());
    smbc_free_context(context, 1);
}

} // namespace

struct SmbSession::Worker
{
    struct Task
    {
        std::function<void(SMBCCTX *)> job;
        bool done = false;
        bool ran = false; // false when the worker has no context
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    std::deque<std::shared_ptr<Task>> queue;
    bool stop = false;
    bool abandoned = false;
    std::thread thread;

    void loop()
    {
        SMBCCTX *context = newContext();
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stop || !queue.empty(); });
            if (stop)
                break;
            const std::shared_ptr<Task> task = queue.front();
            queue.pop_front();
            lock.unlock();
            if (context)
                task->job(context);
            lock.lock();
            task->ran = context != nullptr;
            task->done = true;
            finished.notify_all();
        }
        const bool wasAbandoned = abandoned;
        lock.unlock();
        if (context)
            freeContext(context);
        if (wasAbandoned)
            --s_abandoned;
    }
};

SmbSession::SmbSession(const QString &server) : m_server(server), m_worker(std::make_shared<Worker>())
{
    // The thread keeps its worker alive: an abandoned one outlives the session.
    m_worker->thread = std::thread([worker = m_worker] { worker->loop(); });
}

SmbSession::~SmbSession()
{
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stop = true;
    }
    m_worker->wake.notify_all();
    if (m_worker->abandoned)
        m_worker->thread.detach();
    else
        m_worker->thread.join();
}

std::shared_ptr<SmbSession> SmbSession::forServer(const QString &server)
{
    const QString key = server.toLower();
    Registry &known = registry();
    std::lock_guard lock(known.mutex);
    const auto quiet = known.quietUntil.find(key);
    if (quiet != known.quietUntil.end()) {
        if (Clock::now() < quiet->second)
            return nullptr;
        known.quietUntil.erase(quiet);
    }
    std::shared_ptr<SmbSession> &session = known.sessions[key];
    if (!session) {
        if (s_abandoned >= MaxAbandoned)
            return nullptr;
        session.reset(new SmbSession(server));
    }
    return session;
}

bool SmbSession::abandoned() const
{
    std::lock_guard lock(m_worker->mutex);
    return m_worker->abandoned;
}

bool SmbSession::run(std::function<void(SMBCCTX *)> job)
{
    auto task = std::make_shared<Worker::Task>();
    task->job = std::move(job);
    std::unique_lock lock(m_worker->mutex);
    if (m_worker->abandoned)
        return false;
    m_worker->queue.push_back(task);
    m_worker->wake.notify_all();
    const auto deadline = Clock::now() + std::chrono::milliseconds(DeadlineMs);
    if (m_worker->finished.wait_until(lock, deadline, [&] { return task->done; }))
        return task->ran;
    lock.unlock();
    abandon();
    return false;
}

void SmbSession::abandon()
{
    {
        std::lock_guard lock(m_worker->mutex);
        if (m_worker->abandoned)
            return;
        m_worker->abandoned = true;
        m_worker->stop = true;
        m_worker->queue.clear();
        ++s_abandoned;
    }
    m_worker->wake.notify_all();
    keepQuiet();
    std::shared_ptr<SmbSession> keep;
    Registry &known = registry();
    std::lock_guard lock(known.mutex);
    const auto it = known.sessions.find(m_server.toLower());
    if (it != known.sessions.end() && it->second.get() == this) {
        keep = std::move(it->second); // destroyed after the lock is released
        known.sessions.erase(it);
    }
}

void SmbSession::keepQuiet()
{
    Registry &known = registry();
    std::lock_guard lock(known.mutex);
    known.quietUntil[m_server.toLower()] = Clock::now() + QuietPeriod;
}
