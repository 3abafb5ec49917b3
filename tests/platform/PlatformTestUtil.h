// Small helpers for the platform file-service tests.
#pragma once

#include "platform/Files.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

// Every name FindFirstFileW/FindNextFileW report for pattern, sorted; error
// receives FindFirstFileW's error when it fails, else the error that ended
// the enumeration; attributes, when given, receives each name's attribute bits.
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
inline BOOL finds(const QString &pattern)
{
    return !findNames(pattern).isEmpty();
}

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
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return TRUE;
}

inline BOOL hasAttributes(const QString &path)
{
    return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

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

// The host's opener for the stand-ins while it lives: a script in dir that
// records the one argument it is given ($QUILLMOSS_OPENER), written aside and
// renamed so that the record appears whole.
class RecordingOpener
{
public:
    explicit RecordingOpener(const QString &dir) : m_result(dir + "/opened")
    {
        const QByteArray target = QFile::encodeName(m_result);
        QFile script(dir + "/opener.sh");
        if (script.open(QIODevice::WriteOnly))
            script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + target + ".part' && mv '" + target + ".part' '"
                         + target + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("QUILLMOSS_OPENER", QFile::encodeName(script.fileName()));
    }
    ~RecordingOpener() { qunsetenv("QUILLMOSS_OPENER"); }

    // What the opener was given, waiting up to 10 s for it (it is started
    // detached); empty when it never ran. The record is used up.
    QByteArray waitForArgument() const
    {
        QFile result(m_result);
        for (int i = 0; i < 200 && !result.exists(); ++i)
            QThread::msleep(50);
        const QByteArray argument = result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
        result.remove();
        return argument;
    }
    bool ran() const { return QFile::exists(m_result); }

private:
    QString m_result;
};
