#include "framework/RepaintingWait.h"

#include "platform/Process.h"

#include <QCoreApplication>

DWORD WaitRepainting(HANDLE process)
{
    for (;;) {
        const DWORD result = WaitForSingleObject(process, 20);
        if (result != WAIT_TIMEOUT)
            return result;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
