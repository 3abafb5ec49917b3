// The one table from host errno values to the platform's GetLastError codes.
#pragma once

#include "platform/Types.h"

#include <cerrno>

class PosixError
{
public:
    // The platform code for errno value err; unknown values give ERROR_GEN_FAILURE.
    static DWORD toPlatform(int err);
    // SetLastError(toPlatform(err)); returns FALSE so callers can `return PosixError::fail();`.
    static BOOL fail(int err = errno);
    // SetLastError(code) and FALSE, for failures the platform decides itself.
    static BOOL failWith(DWORD code);
};
