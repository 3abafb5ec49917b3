// Processes of the handheld platform. The image is a device path, or a bare
// name found as ProgramSearch.h describes; the command line holds only the
// arguments. The device file is started on the host when it is a host
// executable (our stand-ins are small launcher scripts in \Windows): it is
// opened once through the device and exactly that file is started, so a link
// swapped in meanwhile runs nothing.
// The program gets the device in QUILLMOSS_DEVICE and its command line as
// one string in QUILLMOSS_COMMAND_LINE, as the device's programs read it.
#pragma once

#include "platform/Types.h"

#include <QStringList>
#include <memory>

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};
struct STARTUPINFOW;
struct SECURITY_ATTRIBUTES;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;

BOOL CreateProcessW(LPCWSTR imageName, LPCWSTR commandLine, SECURITY_ATTRIBUTES *processAttributes,
                    SECURITY_ATTRIBUTES *threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    void *environment, LPCWSTR currentDirectory, STARTUPINFOW *startupInfo,
                    PROCESS_INFORMATION *processInformation);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL GetExitCodeProcess(HANDLE process, DWORD *exitCode);

// Splits a command line into arguments by the platform's C runtime rules
// (spaces and tabs separate; double quotes group; backslashes escape quotes).
QStringList SplitCommandLine(const QString &commandLine);

// A started host process, owned by its process handle.
class HostProcess
{
public:
    virtual ~HostProcess() = default;
    // WAIT_OBJECT_0 once the process has ended, WAIT_TIMEOUT otherwise.
    virtual DWORD wait(DWORD milliseconds) = 0;
    // The exit code, or STILL_ACTIVE while it runs.
    virtual DWORD exitCode() = 0;
};

// Starts host programs. Replaceable so tests can see what would be started
// without starting it.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Starts the open file image (a descriptor, possibly O_PATH; the caller
    // keeps it) whose host path is program, with arguments and the
    // environment extra (NAME=value entries added to this process's
    // environment); null with the platform error set when it cannot be started.
    virtual std::unique_ptr<HostProcess> start(int image, const QString &program, const QStringList &arguments,
                                               const QStringList &extraEnvironment) = 0;

    static ProcessLauncher &current();
    static void setCurrent(ProcessLauncher *launcher);
};
