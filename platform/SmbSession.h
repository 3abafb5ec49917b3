// One SMB server ("host" or "host:port") as the platform reaches it: a worker
// thread with its own libsmbclient context runs every call, and the caller
// waits for it with a deadline of its own. libsmbclient cannot bound a name
// look-up or a TCP connect (5 s per attempt), so the deadline is kept here:
// when a call overruns it, the caller gets ERROR_BAD_NETPATH, the session is
// abandoned (its worker frees the context once the library returns) and the
// server counts as not answering for a few seconds, so the next calls on it
// fail at once instead of each waiting again. Servers never wait for each
// other: each has its own worker.
//
// Jobs run on the worker, possibly after their caller has given up: they must
// own everything they touch (capture by value, never the caller's buffers).
#pragma once

#include "platform/Types.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct _SMBCCTX;
using SMBCCTX = _SMBCCTX;

class SmbSession
{
public:
    // The longest a caller waits for one call.
    static constexpr int DeadlineMs = 4000;

    ~SmbSession();
    SmbSession(const SmbSession &) = delete;
    SmbSession &operator=(const SmbSession &) = delete;

    // The live session for server, made on first use; null while the server
    // counts as not answering.
    static std::shared_ptr<SmbSession> forServer(const QString &server);

    // Runs job on the worker. Returns its result, with err set to the errno
    // it left; nothing when the deadline passed or the session is abandoned
    // (err is then ETIMEDOUT).
    template<typename R>
    std::optional<R> call(std::function<R(SMBCCTX *)> job, int &err)
    {
        auto slot = std::make_shared<std::pair<R, int>>();
        const bool done = run([slot, job = std::move(job)](SMBCCTX *context) {
            errno = 0;
            slot->first = job(context);
            slot->second = errno;
        });
        err = done ? slot->second : ETIMEDOUT;
        if (err == ETIMEDOUT)
            keepQuiet();
        return done ? std::optional<R>(slot->first) : std::nullopt;
    }

    bool abandoned() const;

private:
    struct Worker;
    explicit SmbSession(const QString &server);
    bool run(std::function<void(SMBCCTX *)> job);
    void abandon();
    // The server counts as not answering for a few seconds.
    void keepQuiet();

    QString m_server;
    std::shared_ptr<Worker> m_worker;
};
