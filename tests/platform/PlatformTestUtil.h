// Small helpers for the platform file-service tests.
#pragma once

#include "platform/Files.h"

#include <QString>
#include <QStringList>

// Every name FindFirstFileW/FindNextFileW report for pattern, sorted; error
// receives FindFirstFileW's error when it fails, else the error that ended
// the enumeration.
inline QStringList findNames(const QString &pattern, DWORD *error = nullptr)
{
    QStringList names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(pattern), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (error)
            *error = GetLastError();
        return names;
    }
    do
        names.append(fromWide(data.cFileName));
    while (FindNextFileW(find, &data));
    if (error)
        *error = GetLastError();
    FindClose(find);
    names.sort();
    return names;
}

// The record FindFirstFileW gives for a path without wildcards.
inline bool findOne(const QString &path, WIN32_FIND_DATAW &data)
{
    const HANDLE find = FindFirstFileW(wide(path), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}
