#include "TempDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/xattr.h>

QString TempDevice::host(const QString &devicePath) const
{
    QString relative = devicePath;
    relative.replace('\\', '/');
    if (relative.startsWith("//"))
        return m_device.networkRoot() + relative.mid(1);
    return m_device.storeRoot() + (relative.startsWith('/') ? relative : '/' + relative);
}

void TempDevice::make(std::initializer_list<QString> paths, const QByteArray &content)
{
    for (const QString &path : paths) {
        if (path.endsWith('\\'))
            QDir().mkpath(host(path));
        else
            writeFile(path, content);
    }
}

void TempDevice::writeFile(const QString &devicePath, const QByteArray &content)
{
    const QString path = host(devicePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QByteArray TempDevice::readFile(const QString &devicePath) const
{
    QFile file(host(devicePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempDevice::putInRom(const QString &devicePath) const
{
    EXPECT_EQ(::setxattr(QFile::encodeName(host(devicePath)).constData(), "user.DOSATTRIB", "0x40", 4, 0), 0);
}
