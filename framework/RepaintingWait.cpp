#include "framework/RepaintingWait.h"

#include "platform/Process.h"

#include <QCoreApplication>

DWORD WaitRepainting(HANDLE process)
{
    // Paint what is pending first: even a program that ends at once leaves an up-to-date window.
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const DWORD result = WaitForSingleObject(process, 20);
        if (result != WAIT_TIMEOUT)
            return result;
    }
}
