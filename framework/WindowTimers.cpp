#include "framework/WindowTimers.h"

#include <QTimer>

WindowTimers::~WindowTimers()
{
    for (const QPointer<QTimer> &timer : std::as_const(m_timers))
        delete timer.data();
}

void WindowTimers::SetTimer(UINT id, UINT milliseconds)
{
    QPointer<QTimer> &timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(m_owner);
        QObject::connect(timer, &QTimer::timeout, m_owner, [this, id] { OnTimer(id); });
    }
    timer->start(int(milliseconds));
}

bool WindowTimers::KillTimer(UINT id)
{
    QTimer *timer = m_timers.take(id).data();
    const bool running = timer && timer->isActive();
    delete timer;
    return running;
}

bool WindowTimers::hasTimer(UINT id) const
{
    const QTimer *timer = m_timers.value(id).data();
    return timer && timer->isActive();
}
