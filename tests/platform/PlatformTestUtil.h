// Small helpers for the platform file-service tests.
#pragma once

#include "platform/Files.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

// Every name FindFirstFileW/FindNextFileW report for pattern, sorted; error receives the error that
// ended the search (or failed it); attributes, when given, each name's attribute bits.
inline QStringList findNames(const QString &pattern, DWORD *error = nullptr,
                             QHash<QString, DWORD> *attributes = nullptr)
{
    QStringList names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(pattern), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        names.append(fromWide(data.cFileName));
        if (attributes)
            attributes->insert(names.last(), data.dwFileAttributes);
    }
    if (error)
        *error = GetLastError();
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    names.sort();
    return names;
}

// Whether pattern finds anything; the error is left as the search failed.
inline BOOL finds(const QString &pattern) { return !findNames(pattern).isEmpty(); }

// The record FindFirstFileW gives for a path without wildcards.
inline bool findOne(const QString &path, WIN32_FIND_DATAW &data)
{
    const HANDLE find = FindFirstFileW(wide(path), &data);
    return find != INVALID_HANDLE_VALUE && FindClose(find);
}

inline HANDLE openFile(const QString &path, DWORD access, DWORD disposition = OPEN_EXISTING)
{
    return CreateFileW(wide(path), access, 0, nullptr, disposition, 0, nullptr);
}

// CreateFileW as a yes/no: whether the file opened (closed again at once).
inline BOOL opens(const QString &path, DWORD access, DWORD disposition = OPEN_EXISTING)
{
    const HANDLE file = openFile(path, access, disposition);
    const DWORD error = GetLastError();
    const BOOL opened = file != INVALID_HANDLE_VALUE && CloseHandle(file);
    SetLastError(error);
    return opened;
}

inline BOOL hasAttributes(const QString &path) { return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES; }

// A call that must fail, and the error it must leave (AnyError: not checked).
constexpr DWORD AnyError = DWORD(-1);
struct Refusal {
    const char *call;
    std::function<BOOL()> run;
    DWORD error;
};
#define REFUSES(call, error) Refusal{#call, [&] { return BOOL(call); }, error}

inline void expectRefused(std::initializer_list<Refusal> refusals)
{
    for (const Refusal &r : refusals) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(r.run()) << r.call;
        if (r.error != AnyError) {
            EXPECT_EQ(GetLastError(), r.error) << r.call;
        }
    }
}
