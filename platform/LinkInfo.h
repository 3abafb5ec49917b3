// Symbolic links inside the object store. Enumeration and the file calls
// follow a link that stays on the device and report what it points to, so a
// caller that walks a folder tree asks here before it descends: a link must be
// handled as the link itself, never as the folder it leads to.
//
// A storage card (a link or mount point directly under the root) is a folder
// of the device, not a link, for both calls.
#pragma once

#include "platform/Types.h"

// True when the last component of path is a symbolic link (to a file, a
// folder, outside the device or nowhere). False, with GetLastError set, when
// path cannot be resolved or names nothing; false with ERROR_SUCCESS for
// anything that is not a link.
BOOL IsSymbolicLink(LPCWSTR path);

// Removes the link itself; what it points to is never touched. Fails with
// ERROR_INVALID_PARAMETER when path is not a link (see IsSymbolicLink).
BOOL DeleteSymbolicLink(LPCWSTR path);
