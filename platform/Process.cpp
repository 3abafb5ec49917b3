#include "platform/Process.h"

#include "platform/Device.h"
#include "platform/DevicePath.h"
#include "platform/Files.h"
#include "platform/HandleTable.h"
#include "platform/ObjectInfo.h"
#include "platform/ProgramSearch.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

// A child of this process, watched through a pidfd so waits can time out.
class SpawnedProcess final : public HostProcess
{
public:
    SpawnedProcess(pid_t pid) : m_pid(pid), m_pidfd(int(syscall(SYS_pidfd_open, pid, 0))) {}
    ~SpawnedProcess() override
    {
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        if (!m_reaped) {
            // Nobody waits for it any more: reap it when it ends, so it leaves no zombie.
            std::thread([pid = m_pid] { int status; while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {} }).detach();
        }
    }

    DWORD wait(DWORD milliseconds) override
    {
        if (m_reaped)
            return WAIT_OBJECT_0;
        if (m_pidfd >= 0) {
            pollfd fd{m_pidfd, POLLIN, 0};
            const int timeout = milliseconds == INFINITE ? -1 : int(std::min<DWORD>(milliseconds, INT32_MAX));
            int ready;
            while ((ready = ::poll(&fd, 1, timeout)) < 0 && errno == EINTR) {}
            if (ready == 0)
                return WAIT_TIMEOUT;
        }
        int status = 0;
        pid_t result;
        while ((result = waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {}
        if (result != m_pid)
            return WAIT_FAILED;
        m_reaped = true;
        m_exitCode = WIFEXITED(status) ? DWORD(WEXITSTATUS(status)) : DWORD(128 + WTERMSIG(status));
        return WAIT_OBJECT_0;
    }

    DWORD exitCode() override
    {
        if (!m_reaped && wait(0) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        return m_exitCode;
    }

private:
    pid_t m_pid;
    int m_pidfd;
    bool m_reaped = false;
    DWORD m_exitCode = STILL_ACTIVE;
};

class SpawnLauncher final : public ProcessLauncher
{
public:
    std::unique_ptr<HostProcess> start(int image, const QString &program, const QStringList &arguments,
                                       const QStringList &extraEnvironment) override
    {
        std::vector<QByteArray> storage;
        storage.push_back(QFile::encodeName(program));
        for (const QString &argument : arguments)
            storage.push_back(argument.toUtf8());
        std::vector<char *> argv;
        for (QByteArray &arg : storage)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        std::vector<QByteArray> envStorage;
        for (const QString &entry : extraEnvironment)
            envStorage.push_back(entry.toUtf8());
        std::vector<char *> envp;
        for (char **e = environ; *e; ++e) {
            const bool overridden = std::any_of(envStorage.begin(), envStorage.end(), [e](const QByteArray &entry) {
                const qsizetype eq = entry.indexOf('=');
                return std::strncmp(*e, entry.constData(), size_t(eq + 1)) == 0;
            });
            if (!overridden)
                envp.push_back(*e);
        }
        for (QByteArray &entry : envStorage)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        // A script's interpreter reads it through /dev/fd/N: then the
        // descriptor has to stay open across the start.
        const bool script = startsScript(image);
        int report[2];
        if (::pipe2(report, O_CLOEXEC) != 0) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (script)
                ::fcntl(image, F_SETFD, 0);
            ::syscall(SYS_execveat, image, "", argv.data(), envp.data(), AT_EMPTY_PATH);
            const int err = errno;
            [[maybe_unused]] const ssize_t n = ::write(report[1], &err, sizeof err);
            ::_exit(127);
        }
        ::close(report[1]);
        int err = pid < 0 ? errno : 0;
        ssize_t n = 0;
        while (pid > 0 && (n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {}
        ::close(report[0]);
        if (pid < 0 || n > 0) {
            int status;
            while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
            SetLastError(err == ENOEXEC || err == EACCES ? ERROR_BAD_EXE_FORMAT : ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        return std::make_unique<SpawnedProcess>(pid);
    }

private:
    static bool startsScript(int image)
    {
        UniqueFd file(::open(DevicePath::fdPath(image).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        char magic[2] = {};
        return file.valid() && ::pread(file.get(), magic, 2, 0) == 2 && magic[0] == '#' && magic[1] == '!';
    }
};

SpawnLauncher s_spawnLauncher;
ProcessLauncher *s_launcher = nullptr;

struct ProcessHandle final : PlatformHandle {
    explicit ProcessHandle(std::unique_ptr<HostProcess> p) : process(std::move(p)) {}
    std::unique_ptr<HostProcess> process;
};

} // namespace

ProcessLauncher &ProcessLauncher::current()
{
    return s_launcher ? *s_launcher : s_spawnLauncher;
}

void ProcessLauncher::setCurrent(ProcessLauncher *launcher)
{
    s_launcher = launcher;
}

QStringList SplitCommandLine(const QString &commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    const qsizetype n = commandLine.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = commandLine.at(i);
        if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == QLatin1Char('\\')) {
            qsizetype run = 0;
            while (i + run < n && commandLine.at(i + run) == QLatin1Char('\\'))
                ++run;
            if (i + run < n && commandLine.at(i + run) == QLatin1Char('"')) {
                current += QString(run / 2, QLatin1Char('\\'));
                if (run % 2) {
                    current += QLatin1Char('"');
                    i += run + 1;
                } else {
                    i += run; // the quote is handled next
                }
            } else {
                current += QString(run, QLatin1Char('\\'));
                i += run;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < n && commandLine.at(i + 1) == QLatin1Char('"')) {
                current += QLatin1Char('"'); // "" inside quotes is one quote
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

BOOL CreateProcessW(LPCWSTR imageName, LPCWSTR commandLine, SECURITY_ATTRIBUTES *, SECURITY_ATTRIBUTES *,
                    BOOL, DWORD, void *, LPCWSTR, STARTUPINFOW *, PROCESS_INFORMATION *processInformation)
{
    Device *device = Device::current();
    const QString name = fromWide(imageName);
    if (!device || name.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const QString image = FindProgramImage(name);
    if (image.isEmpty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    // Opened once through the device; that very file is checked and started.
    UniqueFd object;
    ObjectInfo info;
    if (DevicePath::resolve(image).stat(info, &object) != ERROR_SUCCESS || info.isDirectory()
        || !(info.mode & (S_IXUSR | S_IXGRP | S_IXOTH))) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return FALSE;
    }
    const QString host = QFileInfo(QFile::decodeName(DevicePath::fdPath(object.get()))).symLinkTarget();
    // The device's programs read their command line whole, as one string: the raw line goes along.
    const QString line = fromWide(commandLine);
    std::unique_ptr<HostProcess> process = ProcessLauncher::current().start(
        object.get(), host, SplitCommandLine(line),
        {QStringLiteral("QUILLMOSS_DEVICE=") + device->dir(), QStringLiteral("QUILLMOSS_COMMAND_LINE=") + line});
    if (!process)
        return FALSE;
    if (processInformation) {
        processInformation->hProcess = HandleTable::add(std::make_unique<ProcessHandle>(std::move(process)));
        processInformation->hThread = nullptr;
        processInformation->dwProcessId = 0;
        processInformation->dwThreadId = 0;
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    ProcessHandle *process = HandleTable::get<ProcessHandle>(handle);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return process->process->wait(milliseconds);
}

BOOL GetExitCodeProcess(HANDLE handle, DWORD *exitCode)
{
    ProcessHandle *process = HandleTable::get<ProcessHandle>(handle);
    if (!process || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *exitCode = process->process->exitCode();
    return TRUE;
}
