#include "platform/DeviceFileReader.h"

#include "platform/Files.h"
#include "platform/PosixError.h"
#include "platform/SmbPath.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

DWORD DeviceFileReader::open(const QString &folder, const QString &name)
{
    close();
    QString path = folder;
    if (!path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('\\');
    if (SmbPath::parse(path + name)) {
        m_shared = CreateFileW(wide(path + name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        return m_shared == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    }
    if (folder != m_folderPath || !m_folder.ok() || m_folder.dirFd() < 0) {
        QString pattern = folder;
        if (!pattern.endsWith(QLatin1Char('\\')))
            pattern += QLatin1Char('\\');
        m_folder = DevicePath::resolve(pattern + QLatin1Char('*'), DevicePath::Wildcards::AllowInLast);
        m_folderPath = folder;
        if (!m_folder.ok())
            return m_folder.error();
    }
    // Non-blocking, so a pipe that took the file's place cannot hold the open.
    UniqueFd file(m_folder.openEntryFile(m_folder.dirFd(), QFile::encodeName(name), O_RDONLY | O_NONBLOCK));
    if (!file.valid())
        return PosixError::toPlatform(errno);
    struct stat st;
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return ERROR_ACCESS_DENIED;
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    m_file = std::move(file);
    return ERROR_SUCCESS;
}

void DeviceFileReader::close()
{
    m_file.reset();
    if (m_shared != INVALID_HANDLE_VALUE)
        CloseHandle(std::exchange(m_shared, INVALID_HANDLE_VALUE));
}

std::ptrdiff_t DeviceFileReader::read(char *buffer, std::size_t size)
{
    if (m_shared != INVALID_HANDLE_VALUE) {
        DWORD got = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(size, 1u << 30));
        return ReadFile(m_shared, buffer, wanted, &got, nullptr) ? std::ptrdiff_t(got) : -1;
    }
    if (!m_file.valid())
        return -1;
    for (;;) {
        const ssize_t n = ::read(m_file.get(), buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}
