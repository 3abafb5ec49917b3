#include "framework/WindowTimers.h"

#include <QTimer>

WindowTimers::~WindowTimers()
{
    qDeleteAll(m_timers);
}

void WindowTimers::SetTimer(UINT id, UINT milliseconds)
{
    QTimer *&timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(m_owner);
        QObject::connect(timer, &QTimer::timeout, m_owner, [this, id] { OnTimer(id); });
    }
    timer->start(int(milliseconds));
}

bool WindowTimers::KillTimer(UINT id)
{
    QTimer *timer = m_timers.take(id);
    const bool running = timer && timer->isActive();
    delete timer;
    return running;
}

bool WindowTimers::hasTimer(UINT id) const
{
    const QTimer *timer = m_timers.value(id);
    return timer && timer->isActive();
}
