#include "platform/SmbFile.h"

#include "platform/PosixError.h"
#include "platform/SmbProvider.h"
#include "platform/SmbSession.h"

#include <QByteArray>
#include <cstring>
#include <libsmbclient.h>

SmbFile::SmbFile(std::shared_ptr<SmbSession> session, SMBCFILE *file, bool canRead, bool canWrite)
    : m_session(std::move(session)), m_file(file), m_canRead(canRead), m_canWrite(canWrite)
{
}

SmbFile::~SmbFile()
{
    int err = 0;
    SMBCFILE *file = m_file;
    m_session->call<int>([file](SMBCCTX *context) { return smbc_getFunctionClose(context)(context, file); }, err);
}

BOOL SmbFile::read(void *buffer, DWORD bytesToRead, DWORD *bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!m_canRead)
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToRead)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    DWORD total = 0;
    SMBCFILE *file = m_file;
    while (total < bytesToRead) {
        const DWORD block = std::min(bytesToRead - total, BlockSize);
        int err = 0;
        const std::optional<QByteArray> data = m_session->call<QByteArray>([file, block](SMBCCTX *context) {
            QByteArray data(qsizetype(block), Qt::Uninitialized);
            const ssize_t n = smbc_getFunctionRead(context)(context, file, data.data(), block);
            data.resize(n < 0 ? 0 : qsizetype(n));
            return n < 0 ? QByteArray() : data;
        }, err);
        if (!data || err != 0)
            return PosixError::failWith(SmbProvider::toPlatform(err ? err : EIO));
        if (data->isEmpty())
            break;
        // The server never hands back more than was asked.
        const DWORD n = std::min(DWORD(data->size()), block);
        std::memcpy(static_cast<char *>(buffer) + total, data->constData(), n);
        total += n;
        if (bytesRead)
            *bytesRead = total;
    }
    return TRUE;
}

BOOL SmbFile::write(const void *buffer, DWORD bytesToWrite, DWORD *bytesWritten)
{
    if (bytesWritten)
        *bytesWritten = 0;
    if (!m_canWrite)
        return PosixError::failWith(ERROR_ACCESS_DENIED);
    if (!buffer && bytesToWrite)
        return PosixError::failWith(ERROR_INVALID_PARAMETER);
    DWORD total = 0;
    SMBCFILE *file = m_file;
    while (total < bytesToWrite) {
        const DWORD block = std::min(bytesToWrite - total, BlockSize);
        // The worker gets its own copy: it may still run after this call gave up.
        const QByteArray data(static_cast<const char *>(buffer) + total, qsizetype(block));
        int err = 0;
        const std::optional<ssize_t> n = m_session->call<ssize_t>([file, data](SMBCCTX *context) {
            ssize_t done = 0;
            while (done < data.size()) {
                const ssize_t w = smbc_getFunctionWrite(context)(context, file, data.constData() + done,
                                                                std::size_t(data.size() - done));
                if (w <= 0)
                    return w < 0 ? w : ssize_t(-1);
                done += w;
            }
            return done;
        }, err);
        if (!n || *n < 0)
            return PosixError::failWith(SmbProvider::toPlatform(err ? err : ENOSPC));
        total += block;
        if (bytesWritten)
            *bytesWritten = total;
    }
    return TRUE;
}

DWORD SmbFile::seek(LONG distance, LONG *distanceHigh, DWORD moveMethod)
{
    const std::int64_t offset = distanceHigh
        ? std::int64_t((std::uint64_t(std::uint32_t(*distanceHigh)) << 32) | std::uint32_t(distance))
        : std::int64_t(distance);
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    const int how = whence[moveMethod];
    SMBCFILE *file = m_file;
    int err = 0;
    const std::optional<off_t> position = m_session->call<off_t>([file, offset, how](SMBCCTX *context) {
        return smbc_getFunctionLseek(context)(context, file, off_t(offset), how);
    }, err);
    if (!position || *position < 0) {
        SetLastError(err == EINVAL ? ERROR_NEGATIVE_SEEK : SmbProvider::toPlatform(err));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh)
        *distanceHigh = LONG(std::uint64_t(*position) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(std::uint64_t(*position) & 0xFFFFFFFFu);
}

DWORD SmbFile::size(DWORD *sizeHigh)
{
    SMBCFILE *file = m_file;
    int err = 0;
    const std::optional<off_t> size = m_session->call<off_t>([file](SMBCCTX *context) -> off_t {
        struct stat st;
        return smbc_getFunctionFstat(context)(context, file, &st) == 0 ? st.st_size : -1;
    }, err);
    if (!size || *size < 0) {
        SetLastError(SmbProvider::toPlatform(err));
        return INVALID_FILE_SIZE;
    }
    if (sizeHigh)
        *sizeHigh = DWORD(std::uint64_t(*size) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(std::uint64_t(*size) & 0xFFFFFFFFu);
}
