// A host file's bytes, for tests that compare files outside a device.
#pragma once

#include <QFile>

inline QByteArray readHost(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}
