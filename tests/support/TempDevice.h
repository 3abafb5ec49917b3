// A throw-away device for one test: a temporary host folder laid out as a new
// device and made current for the test's lifetime.
#pragma once

#include "platform/Device.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/xattr.h>

class TempDevice
{
public:
    TempDevice() { m_device.setNetworkRoot(m_dir.path() + "/network"); }

    Device &device() { return m_device; }
    QString dir() const { return m_dir.path(); }
    // Host path of a device path ("\a\b.txt" -> <store>/a/b.txt); a network
    // path "\\pc\share\x" lies below the device's network root.
    QString host(const QString &devicePath) const
    {
        QString relative = devicePath;
        relative.replace('\\', '/');
        if (relative.startsWith("//"))
            return m_device.networkRoot() + relative.mid(1);
        return m_device.storeRoot() + (relative.startsWith('/') ? relative : '/' + relative);
    }

    // Builds files and folders in one call: each entry is a device path; a path
    // ending in "\" is a folder, anything else a file holding content.
    void make(std::initializer_list<QString> paths, const QByteArray &content = "x")
    {
        for (const QString &path : paths) {
            if (path.endsWith('\\'))
                QDir().mkpath(host(path));
            else
                writeFile(path, content);
        }
    }
    void writeFile(const QString &devicePath, const QByteArray &content)
    {
        const QString path = host(devicePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }
    QByteArray readFile(const QString &devicePath) const
    {
        QFile file(host(devicePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool exists(const QString &devicePath) const { return QFileInfo::exists(host(devicePath)); }
    // Marks a file as in ROM: it refuses delete, write and rename.
    void putInRom(const QString &devicePath) const
    {
        EXPECT_EQ(::setxattr(QFile::encodeName(host(devicePath)).constData(), "user.DOSATTRIB", "0x40", 4, 0), 0);
    }

private:
    QTemporaryDir m_dir;
    Device m_device{m_dir.path()};
    CurrentDevice m_current{m_device};
};
