// ceappmgr: the desktop application manager stand-in.
//   ceappmgr PATH.ini
// Reads the package's .ini, copies each cabinet it names (beside the .ini) to
// the connected device and runs the device's cabinet installer on it. Exit
// status 0 when every cabinet installed; failures are told on stderr.
#include "cabinstall/SetupInstaller.h"
#include "platform/Desktop.h"
#include "platform/Device.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/StandIns.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace {

constexpr qint64 MaxIniSize = 64 * 1024;
constexpr qint64 MaxCabinetSize = 256 * 1024 * 1024;
const QString InstallFolder = QStringLiteral("\\Windows\\AppMgr\\Install");

// "section/key" (lower case) -> value, from INI text.
QHash<QString, QString> parseIni(const QByteArray &text)
{
    QHash<QString, QString> keys;
    QString section;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']'))
            section = QString::fromLatin1(line.mid(1, line.size() - 2)).trimmed().toLower();
        else if (!line.startsWith(';') && line.contains('='))
            keys.insert(section + QLatin1Char('/') + QString::fromLatin1(line.left(line.indexOf('='))).trimmed().toLower(),
                        QString::fromLatin1(line.mid(line.indexOf('=') + 1)).trimmed());
    }
    return keys;
}

// Copies the cabinet to the device, runs the installer on it and removes the copy.
bool installCabinet(const QString &cab, QTextStream &err)
{
    QByteArray bytes;
    if (!Desktop::readFile(cab, MaxCabinetSize, bytes)) {
        err << "ceappmgr: cannot read " << cab << Qt::endl;
        return false;
    }
    const QString target = InstallFolder + QLatin1Char('\\') + QFileInfo(cab).fileName();
    if (!SetupInstaller::createFolders(InstallFolder) || !SetupInstaller::writeFile(target, bytes)) {
        err << "ceappmgr: cannot copy " << cab << " to the device (error " << GetLastError() << ")" << Qt::endl;
        return false;
    }
    PROCESS_INFORMATION process;
    const QString commandLine = QLatin1Char('"') + target + QLatin1Char('"');
    DWORD exitCode = 1;
    const bool started = CreateProcessW(u"\\Windows\\wceload.exe", wide(commandLine), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, nullptr, &process);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hProcess);
    } else {
        err << "ceappmgr: cannot start the device's installer (error " << GetLastError() << ")" << Qt::endl;
    }
    DeleteFileW(wide(target));
    return started && exitCode == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    // The installer passes the path quoted with a blank before the closing quote.
    const QString iniPath = app.arguments().mid(1).join(QLatin1Char(' ')).trimmed();
    QByteArray text;
    if (iniPath.isEmpty() || !Desktop::readFile(iniPath, MaxIniSize, text)) {
        err << "ceappmgr: cannot read the package description " << iniPath << Qt::endl;
        return 1;
    }
    const QHash<QString, QString> ini = parseIni(text);
    const QString component = ini.value(QStringLiteral("ceappmanager/component")).toLower();
    const QStringList cabs = ini.value(component + QStringLiteral("/cabfiles")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (component.isEmpty() || cabs.isEmpty()) {
        err << "ceappmgr: " << iniPath << " names no cabinet" << Qt::endl;
        return 1;
    }
    Desktop desktop;
    const QString deviceDir = desktop.readString(QString::fromLatin1(Desktop::ServicesKey), QStringLiteral("ConnectedDevice"));
    if (deviceDir.isEmpty()) {
        err << "ceappmgr: no device is connected; run syncmgr --setup first" << Qt::endl;
        return 1;
    }
    Device device(deviceDir);
    CurrentDevice current(device);
    StandIns::install(device, QCoreApplication::applicationDirPath());
    bool ok = true;
    for (QString cab : cabs) {
        cab = cab.trimmed();
        if (cab.size() > 1 && cab.startsWith(QLatin1Char('"')) && cab.endsWith(QLatin1Char('"')))
            cab = cab.mid(1, cab.size() - 2);
        ok = installCabinet(QFileInfo(iniPath).dir().filePath(cab), err) && ok;
    }
    return ok ? 0 : 1;
}
