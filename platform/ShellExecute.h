// The shell's "open" verb. An executable (a name ending in ".exe", or without
// any extension) is started with the parameters as its command line; any other
// file runs the open command its type registers under HKEY_CLASSES_ROOT
// (".ext\Shell\Open\Command", else the class named by ".ext" and its
// "\Shell\Open\Command"), with "%1" replaced by the file and "%*" by the
// parameters. The program of the command is its first word, or the text up to
// the closing quote when it begins with a double quote. Nothing waits for the
// started program.
#pragma once

#include "platform/Registry.h"
#include "platform/UiSink.h"

using HINSTANCE = void *;

// The record as the handheld lays it out is 60 bytes; cbSize gives that size.
struct SHELLEXECUTEINFO {
    DWORD cbSize = 0;
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;
    LPCWSTR lpFile = nullptr;
    LPCWSTR lpParameters = nullptr;
    LPCWSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
    void *lpIDList = nullptr;
    LPCWSTR lpClass = nullptr;
    HKEY hkeyClass = nullptr;
    DWORD dwHotKey = 0;
    HANDLE hIcon = nullptr;
    HANDLE hProcess = nullptr;
};

constexpr DWORD SHELLEXECUTEINFO_SIZE = 60;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x40;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x400;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Verb null or "open" (any case). Non-zero when a process was started; with
// SEE_MASK_NOCLOSEPROCESS, hProcess then receives its handle (close it with
// CloseHandle). 0 with GetLastError: ERROR_INVALID_PARAMETER (no record, a
// wrong cbSize, no file), ERROR_NOT_SUPPORTED (another verb),
// ERROR_NO_ASSOCIATION (a type without an open command), or the error of
// CreateProcessW.
BOOL ShellExecuteExW(SHELLEXECUTEINFO *info);
