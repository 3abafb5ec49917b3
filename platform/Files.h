// File services of the handheld platform over the current device's object
// store. Paths are device paths ("\My Documents\a.txt", "\\computer\share\x");
// results follow the platform: BOOL or handle, details through GetLastError.
#pragma once

#include "platform/Types.h"

// Find.
HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW *findData);
// FindFirstFileW with an information level (the only search operation is
// the name match). FindExInfoBasic is for walks through many files: records
// of what the folder itself lists as a file or a folder carry the name and
// the directory bit only (everything else zero), as their facts are not
// read; links are still followed (where the device allows) to tell folders.
enum FINDEX_INFO_LEVELS { FindExInfoStandard, FindExInfoBasic };
enum FINDEX_SEARCH_OPS { FindExSearchNameMatch };
HANDLE FindFirstFileExW(LPCWSTR fileName, FINDEX_INFO_LEVELS infoLevel, void *findFileData,
                        FINDEX_SEARCH_OPS searchOp, void *searchFilter, DWORD additionalFlags);
BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW *findData);
BOOL FindClose(HANDLE findFile);
// Whether a find-first on exactly this path succeeds; the find handle is closed again.
inline bool FindExists(LPCWSTR fileName)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(fileName, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

// Attributes.
DWORD GetFileAttributesW(LPCWSTR fileName);
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes);

// Open files.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

struct SECURITY_ATTRIBUTES;

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   SECURITY_ATTRIBUTES *securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void *buffer, DWORD bytesToRead, DWORD *bytesRead, void *overlapped);
BOOL WriteFile(HANDLE file, const void *buffer, DWORD bytesToWrite, DWORD *bytesWritten, void *overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG *distanceHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, DWORD *fileSizeHigh);
BOOL CloseHandle(HANDLE object);

// Whole-file operations.
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
BOOL DeleteFileW(LPCWSTR fileName);
BOOL CreateDirectoryW(LPCWSTR pathName, SECURITY_ATTRIBUTES *securityAttributes);
BOOL RemoveDirectoryW(LPCWSTR pathName);

union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    std::uint64_t QuadPart;
};
BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, ULARGE_INTEGER *freeBytesAvailable,
                         ULARGE_INTEGER *totalNumberOfBytes, ULARGE_INTEGER *totalNumberOfFreeBytes);

// Lets a device file run as a program: CreateProcessW starts only files the
// host can execute. The device's cabinet installer marks the programs it
// installs; nothing else does, so a file that merely arrives never runs.
BOOL MarkProgramFileW(LPCWSTR fileName);
