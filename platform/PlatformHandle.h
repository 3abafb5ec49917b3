// What a HANDLE points to: every kind of platform object (open file, find
// enumeration, process) derives from this, so CloseHandle can release any of
// them and each call can check it was given the right kind.
#pragma once

#include "platform/Types.h"

struct PlatformHandle {
    virtual ~PlatformHandle() = default;
};

// The object behind handle as T, or null when handle is not a T.
template<typename T>
T *handleAs(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return dynamic_cast<T *>(handle);
}
