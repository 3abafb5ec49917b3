#include "platform/Types.h"

#include <algorithm>

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return t_lastError;
}

void SetLastError(DWORD error)
{
    t_lastError = error;
}

int copyToWide(const QString &text, WCHAR *buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return 0;
    const int n = std::min<int>(text.size(), capacity - 1);
    std::copy_n(reinterpret_cast<const WCHAR *>(text.utf16()), n, buffer);
    buffer[n] = 0;
    return n;
}
