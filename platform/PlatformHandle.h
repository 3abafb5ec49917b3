// Base of every object a HANDLE stands for (open files, searches, and any
// other kind a platform area adds). Handles live in the HandleTable.
#pragma once

struct PlatformHandle
{
    virtual ~PlatformHandle() = default;
};
