// The process's open handles (files, searches, processes, registry keys). A
// HANDLE is valid from add() until close(); lookups of unknown, closed or
// wrong-kind handles give null, so a stale handle is an ERROR_INVALID_HANDLE
// and never a crash. Handle values are never reused, so a closed handle never
// names a newer object. Thread-safe.
#pragma once

#include "platform/PlatformHandle.h"
#include "platform/Types.h"

#include <memory>

class HandleTable
{
public:
    static HANDLE add(std::unique_ptr<PlatformHandle> object);
    // The object behind handle if it is open and of type T, else null. The
    // pointer stays valid until the handle is closed.
    template<typename T>
    static T *get(HANDLE handle)
    {
        return dynamic_cast<T *>(find(handle));
    }
    // Destroys the object; false when handle is not open.
    static bool close(HANDLE handle);

private:
    static PlatformHandle *find(HANDLE handle);
};
