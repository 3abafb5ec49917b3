// A process launcher for tests: records what would be started and starts
// nothing. Installed for its lifetime.
#pragma once

#include "platform/Process.h"

#include <QList>
#include <functional>

class RecordingLauncher final : public ProcessLauncher
{
public:
    struct Start { QString program; QStringList arguments, environment; };

    RecordingLauncher() : m_previous(&ProcessLauncher::current()) { ProcessLauncher::setCurrent(this); }
    ~RecordingLauncher() override { ProcessLauncher::setCurrent(m_previous); }

    std::unique_ptr<HostProcess> start(int, const QString &program, const QStringList &arguments,
                                       const QStringList &extraEnvironment) override
    {
        m_starts.append({program, arguments, extraEnvironment});
        if (onStart)
            onStart(m_starts.last());
        return std::make_unique<Finished>();
    }
    const QList<Start> &starts() const { return m_starts; }
    // Each start as "program|argument|...", for comparing several at once.
    QStringList started() const
    {
        QStringList lines;
        for (const Start &start : m_starts)
            lines << (QStringList(start.program) + start.arguments).join('|');
        return lines;
    }
    // Called at each start, while the starting code waits.
    std::function<void(const Start &)> onStart;

private:
    struct Finished final : HostProcess {
        DWORD wait(DWORD) override { return WAIT_OBJECT_0; }
        DWORD exitCode() override { return 0; }
    };
    ProcessLauncher *m_previous;
    QList<Start> m_starts;
};
