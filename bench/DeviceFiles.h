// Lays out many small files with plain host calls (creating them one by one
// through the platform would time the case-insensitive lookup of each new
// name), each with the archive bit stored as the platform stores it.
#pragma once

#include <QByteArray>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

// Creates folder/<prefix>000000.txt ... with up to 63 bytes each.
inline int createDeviceFiles(const QByteArray &folder, const char *prefix, int count)
{
    ::mkdir(folder.constData(), 0777);
    const QByteArray content(64, 'x');
    for (int i = 0; i < count; ++i) {
        const QByteArray path = folder + '/' + prefix + QByteArray::number(i).rightJustified(6, '0') + ".txt";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, content.constData(), std::size_t(i % content.size())) < 0
            || ::fsetxattr(fd, "user.DOSATTRIB", "0x20", 4, 0) != 0) {
            std::perror(path.constData());
            return 1;
        }
        ::close(fd);
    }
    return 0;
}
