#include "platform/StandIns.h"

#include "platform/Device.h"
#include "platform/DevicePath.h"
#include "platform/FileCopy.h"
#include "platform/FileTime.h"
#include "platform/ObjectInfo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// \Windows opened through the device: a folder of the store, never a card
// (a link or mount point leading elsewhere on the host).
UniqueFd openWindows()
{
    UniqueFd object;
    ObjectInfo info;
    if (DevicePath::resolve(QStringLiteral("\\Windows")).stat(info, &object) != ERROR_SUCCESS || !info.isDirectory()
        || info.card)
        return UniqueFd();
    return UniqueFd(::open(DevicePath::fdPath(object.get()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Whether the entry name of dir is a file (not a link) holding exactly content.
bool holds(int dir, const QByteArray &name, const QByteArray &content)
{
    UniqueFd file(::openat(dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    QByteArray read(content.size() + 1, '\0');
    return file.valid() && ::read(file.get(), read.data(), std::size_t(read.size())) == content.size()
        && read.startsWith(content);
}

// Puts content in place of dir's entry name (a link there is replaced, never
// followed), executable and in ROM.
bool writeLauncher(int dir, const QByteArray &name, const QByteArray &content)
{
    UniqueFd memory(::memfd_create("launcher", MFD_CLOEXEC));
    if (!memory.valid() || ::write(memory.get(), content.constData(), std::size_t(content.size())) != content.size())
        return false;
    ObjectInfo info;
    info.mode = S_IFREG | 0555;
    info.lastWriteTime = info.lastAccessTime = FileTime::fromDateTime(QDateTime::currentDateTimeUtc());
    return FileCopy::copy(memory.get(), info, FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY, dir, name,
                          FileCopy::Existing::Replace)
        == ERROR_SUCCESS;
}

} // namespace

QStringList StandIns::names()
{
    return {QStringLiteral("iexplore.exe"), QStringLiteral("hostopen.exe"), QStringLiteral("irsquirt.exe"),
            QStringLiteral("tmail.exe"), QStringLiteral("wceload.exe")};
}

bool StandIns::install(Device &device, const QString &binDir)
{
    CurrentDevice current(device);
    UniqueFd windows;
    bool ok = true;
    for (const QString &name : names()) {
        const QString program = QDir(binDir).absoluteFilePath(QFileInfo(name).completeBaseName());
        if (!QFileInfo(program).isExecutable())
            continue;
        if (!windows.valid())
            windows = openWindows();
        QString quoted = program;
        quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        const QByteArray script = "#!/bin/sh\nexec '" + QFile::encodeName(quoted) + "' \"$@\"\n";
        const QByteArray file = QFile::encodeName(name);
        if (!windows.valid() || (!holds(windows.get(), file, script) && !writeLauncher(windows.get(), file, script)))
            ok = false;
    }
    return ok;
}
