// syncmgr: the desktop synchronisation manager stand-in.
//   syncmgr --setup [--device DIR]  set-up: writes the desktop's keys (the
//                                   software's folder, where the manager and
//                                   the application manager are) and connects
//                                   the device (default: the default device)
//   syncmgr                         starts the manager: the connection is up
//   syncmgr /quit                   ends it: the connection is down
// The state is the DWORD "Running" under the software's key.
#include "platform/Desktop.h"
#include "platform/Device.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

bool setRunning(Desktop &desktop, DWORD running)
{
    RegistryHive::KeyId key = 0;
    bool created = false;
    return desktop.hive().createKey(RegistryHive::LocalMachine, QString::fromLatin1(Desktop::ServicesKey), &key, &created)
               == ERROR_SUCCESS
           && desktop.hive().setValue(key, QStringLiteral("Running"), REG_DWORD,
                                      QByteArray(reinterpret_cast<const char *>(&running), 4)) == ERROR_SUCCESS;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Desktop desktop;
    QTextStream err(stderr);
    const QString services = QString::fromLatin1(Desktop::ServicesKey);
    if (args.contains(QStringLiteral("--setup"))) {
        const QString bin = QCoreApplication::applicationDirPath();
        const QString installed = desktop.dir() + QStringLiteral("/ActiveSync");
        const Device device(Device::chooseDir(args));
        const bool ok = QDir().mkpath(installed) && desktop.writeString(services, QStringLiteral("InstalledDir"), installed)
                        && desktop.writeString(services, QStringLiteral("ConnectedDevice"), device.dir())
                        && desktop.writeString(QString::fromLatin1(Desktop::SyncManagerKey), QString(), bin + QStringLiteral("/syncmgr"))
                        && desktop.writeString(QString::fromLatin1(Desktop::AppManagerKey), QString(), bin + QStringLiteral("/ceappmgr"));
        if (!ok) {
            err << "syncmgr: cannot write the desktop's registry in " << desktop.dir() << Qt::endl;
            return 1;
        }
        QTextStream(stdout) << "syncmgr: set up in " << desktop.dir() << "; connected device " << device.dir() << Qt::endl;
        return 0;
    }
    const bool quit = args.mid(1).join(QLatin1Char(' ')).trimmed() == QLatin1String("/quit");
    if (!quit && desktop.readString(services, QStringLiteral("ConnectedDevice")).isEmpty()) {
        err << "syncmgr: no device is connected; run syncmgr --setup first" << Qt::endl;
        return 1;
    }
    if (!setRunning(desktop, quit ? 0 : 1)) {
        err << "syncmgr: cannot write the desktop's registry in " << desktop.dir() << Qt::endl;
        return 1;
    }
    return 0;
}
