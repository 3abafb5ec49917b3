#include "tools/IrTransfer.h"

#include "framework/RepaintingWait.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "res/StringTable.h"

namespace IrTransfer {

namespace {

void fail(HWND owner, const QString &text)
{
    MessageBoxW(owner, text, applicationTitle(), MB_OK | MB_ICONEXCLAMATION);
}

// Starts irsquirt.exe with commandLine and waits for it; false when it could not be started.
bool runIrsquirt(const QString &commandLine)
{
    PROCESS_INFORMATION info;
    if (!CreateProcessW(u"irsquirt.exe", wide(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                        &info))
        return false;
    WaitRepainting(info.hProcess);
    CloseHandle(info.hProcess);
    return true;
}

// Names of the root's entries that carry the archive bit; the whole list is
// read before anything is changed.
QStringList archivedRootEntries(bool &enumerated)
{
    QStringList names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(u"\\*", &data);
    enumerated = find != INVALID_HANDLE_VALUE;
    if (!enumerated)
        return names;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE)
            names.append(fromWide(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

} // namespace

void Receive(HWND owner, const QString &destination)
{
    bool enumerated = false;
    for (const QString &name : archivedRootEntries(enumerated)) {
        const QString path = QLatin1Char('\\') + name;
        const DWORD attributes = GetFileAttributesW(wide(path));
        if (attributes == INVALID_FILE_ATTRIBUTES
            || !SetFileAttributesW(wide(path), attributes & ~FILE_ATTRIBUTE_ARCHIVE)) {
            fail(owner, QStringLiteral("Failed to prepare for receiving"));
            return;
        }
    }
    if (!runIrsquirt(QString())) {
        fail(owner, QStringLiteral("Failed to start receiving"));
        return;
    }
    for (const QString &name : archivedRootEntries(enumerated)) {
        if (!MoveFileW(wide(QLatin1Char('\\') + name), wide(destination + name)))
            fail(owner, QStringLiteral("Failed to move '%1' to '%2'").arg(name, destination));
    }
}

bool SendFile(HWND owner, const QString &path)
{
    if (runIrsquirt(path))
        return true;
    fail(owner, QStringLiteral("Failed to start sending"));
    return false;
}

void SendFiles(HWND owner, const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        if (!SendFile(owner, folder + QLatin1Char('\\') + name))
            return;
    }
}

bool SendFolder(HWND owner, const QString &folder)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(folder + QLatin1Char('*')), &data);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool goOn = true;
    do {
        const QString name = fromWide(data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            goOn = SendFolder(owner, folder + name + QLatin1Char('\\'));
        } else {
            goOn = MessageBoxW(owner, QStringLiteral("Send file '%1'?").arg(name), applicationTitle(),
                               MB_OKCANCEL | MB_ICONQUESTION)
                == IDOK;
            if (goOn)
                SendFile(owner, folder + name);
        }
    } while (goOn && FindNextFileW(find, &data));
    FindClose(find);
    return goOn;
}

} // namespace IrTransfer
