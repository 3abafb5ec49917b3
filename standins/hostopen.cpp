// The host opener: opens the device file named by its command line (the
// arguments joined by spaces, so an unquoted path with spaces arrives whole)
// with the user's own desktop application ($QUILLMOSS_OPENER, else xdg-open).
// The device is the one in $QUILLMOSS_DEVICE; the path is resolved inside it
// only, so a file never leads the opener outside the device.
#include "platform/Device.h"
#include "platform/DevicePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString path = app.arguments().mid(1).join(QLatin1Char(' '));
    const QString deviceDir = qEnvironmentVariable("QUILLMOSS_DEVICE");
    QTextStream err(stderr);
    if (path.isEmpty() || deviceDir.isEmpty() || !QDir(deviceDir + QStringLiteral("/store")).exists()) {
        err << "hostopen: usage: QUILLMOSS_DEVICE=DIR hostopen DEVICE-PATH" << Qt::endl;
        return 2;
    }
    Device device(deviceDir);
    CurrentDevice current(device);
    const DevicePath resolved = DevicePath::resolve(path);
    UniqueFd object;
    if (!resolved.ok() || resolved.openObject(object) != ERROR_SUCCESS) {
        err << "hostopen: no such file on the device: " << path << Qt::endl;
        return 1;
    }
    // The host file as reached through the confined look-up.
    const QString host = QFileInfo(QString::fromLocal8Bit(DevicePath::fdPath(object.get()))).symLinkTarget();
    QString opener = qEnvironmentVariable("QUILLMOSS_OPENER");
    if (opener.isEmpty())
        opener = QStringLiteral("xdg-open");
    if (host.isEmpty() || !QProcess::startDetached(opener, {host})) {
        err << "hostopen: cannot start " << opener << Qt::endl;
        return 1;
    }
    return 0;
}
