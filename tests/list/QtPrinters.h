// Readable failure messages for Qt strings in this folder's tests, and the
// find records they build from the few fields they set.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline WIN32_FIND_DATAW Record(const QString &name, DWORD attributes = 0, DWORD id = 0, std::uint64_t size = 0,
                               std::uint64_t time = 0)
{
    WIN32_FIND_DATAW data;
    copyToWide(name, data.cFileName, MAX_PATH);
    data.dwOID = id;
    data.nFileSizeHigh = DWORD(size >> 32);
    data.nFileSizeLow = DWORD(size);
    data.ftLastWriteTime.dwHighDateTime = DWORD(time >> 32);
    data.ftLastWriteTime.dwLowDateTime = DWORD(time);
    data.dwFileAttributes = attributes;
    return data;
}
