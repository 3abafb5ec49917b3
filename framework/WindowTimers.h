// Numbered window timers for any QObject, as the framework's windows have
// them: SetTimer(id, ms) starts or restarts timer id, KillTimer(id) stops it,
// and every expiry calls OnTimer(id) on the UI thread. Timers stop with the
// object.
#pragma once

#include "platform/Types.h"

#include <QHash>
#include <QPointer>
#include <QTimer>

class WindowTimers
{
public:
    // owner: the object whose lifetime bounds the timers.
    explicit WindowTimers(QObject *owner) : m_owner(owner) {}
    virtual ~WindowTimers();
    WindowTimers(const WindowTimers &) = delete;
    WindowTimers &operator=(const WindowTimers &) = delete;

    // Starting a running id again restarts it with the new period.
    void SetTimer(UINT id, UINT milliseconds);
    // Returns whether the timer was running.
    bool KillTimer(UINT id);
    bool hasTimer(UINT id) const;

protected:
    virtual void OnTimer(UINT id) = 0;

private:
    QObject *m_owner;
    // Weak: the owner may delete them first when it is the earlier base.
    QHash<UINT, QPointer<QTimer>> m_timers;
};
