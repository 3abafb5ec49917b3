#include "platform/ProgramSearch.h"

#include "platform/Device.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool hasExtension(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('\\'));
    return name.indexOf(QLatin1Char('.'), slash + 1) >= 0;
}

bool isFile(const QString &devicePath)
{
    const DWORD attributes = GetFileAttributesW(wide(devicePath));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

QString FindProgramImage(const QString &name, const QString &programFolder)
{
    QString file = name;
    if (!hasExtension(file))
        file += QStringLiteral(".exe");
    if (file.startsWith(QLatin1Char('\\')))
        return isFile(file) ? file : QString();
    for (const QString &folder : {programFolder, QStringLiteral("\\Windows\\"), QStringLiteral("\\")}) {
        if (!folder.isEmpty() && isFile(folder + file))
            return folder + file;
    }
    return QString();
}

QString FindProgramImage(const QString &name)
{
    return FindProgramImage(name, RunningProgramFolder());
}

QString RunningProgramFolder()
{
    const Device *device = Device::current();
    if (!device)
        return QString();
    const QString store = QFileInfo(device->storeRoot()).canonicalFilePath();
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (store.isEmpty() || !self.startsWith(store + QLatin1Char('/')))
        return QString();
    QString folder = QFileInfo(self.mid(store.size())).path();
    folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
}
