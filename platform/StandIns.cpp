#include "platform/StandIns.h"

#include "platform/Device.h"
#include "platform/DosAttributes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QStringList StandIns::names()
{
    return {QStringLiteral("iexplore.exe")};
}

bool StandIns::install(Device &device, const QString &binDir)
{
    bool ok = true;
    for (const QString &name : names()) {
        const QString program = QDir(binDir).absoluteFilePath(QFileInfo(name).completeBaseName());
        if (!QFileInfo(program).isExecutable())
            continue;
        QString quoted = program;
        quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        const QByteArray script = "#!/bin/sh\nexec '" + QFile::encodeName(quoted) + "' \"$@\"\n";
        const QString path = device.storeRoot() + QStringLiteral("/Windows/") + name;
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == script)
            continue;
        existing.close();
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size() || !file.commit()) {
            ok = false;
            continue;
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                        | QFile::ReadOther | QFile::ExeOther);
        ok = DosAttributes::write(QFile::encodeName(path).constData(), FILE_ATTRIBUTE_INROM) && ok;
    }
    return ok;
}
