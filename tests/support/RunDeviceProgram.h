// Runs a device program through the platform, as the file manager starts it,
// and waits for it.
#pragma once

#include "platform/Files.h"
#include "platform/Process.h"

// The program's exit code, or -1 when it did not start or did not end in time.
inline int runDeviceProgram(LPCWSTR image, const QString &commandLine, DWORD timeoutMs = 20000)
{
    PROCESS_INFORMATION info;
    if (!CreateProcessW(image, wide(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
        return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return int(code);
}
