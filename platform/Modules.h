// Libraries of the device: LoadLibraryW, GetProcAddress, FreeLibrary.
//
// A library is a host shared object stored on the device under any name
// (".dll" is added to a name without an extension). A name with a path is
// loaded from that device path only; a name alone is looked up in the
// module search order: the program's folder, \Windows, then the root. The
// file is opened through the device's confined paths and loaded from that
// open descriptor, so a link that leads off the device never loads a host
// library.
#pragma once

#include "platform/Types.h"

using HMODULE = HANDLE;
using FARPROC = void (*)();

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// The folder the installation package puts the program in: the first place
// the module search order looks.
inline const QString ProgramFolder = QStringLiteral("\\Program Files\\Quillmoss\\");

// Null with ERROR_MOD_NOT_FOUND when no file is found, ERROR_BAD_EXE_FORMAT
// (Process.h) when it is not a library the host can load.
HMODULE LoadLibraryW(LPCWSTR fileName);
// Null with ERROR_PROC_NOT_FOUND when the library has no such export.
FARPROC GetProcAddress(HMODULE module, LPCWSTR procName);
BOOL FreeLibrary(HMODULE module);
