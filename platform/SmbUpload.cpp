#include "platform/SmbUpload.h"

#include "platform/FileTime.h"
#include "platform/Files.h"
#include "platform/SmbFile.h"
#include "platform/SmbProvider.h"
#include "platform/SmbSession.h"

#include <QRandomGenerator>
#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/stat.h>

namespace {

constexpr DWORD KeptBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_ARCHIVE;

// What every step on the worker needs; owned by the jobs.
struct Upload
{
    QByteArray temporary;
    QByteArray target;
    bool replace = false;
    timeval times[2] = {};
    DWORD attributes = 0;
    SMBCFILE *file = nullptr;
};

int errnoOr(int fallback)
{
    return errno ? errno : fallback;
}

// Whether the target may be written: EEXIST or EACCES when not, else 0.
int checkTarget(SMBCCTX *context, const Upload &upload)
{
    struct stat st;
    if (smbc_getFunctionStat(context)(context, upload.target.constData(), &st) != 0)
        return 0; // missing (a missing folder shows when the temporary file is made)
    if (!upload.replace)
        return EEXIST;
    // A folder, or a read-only file (no write bit in the mode Samba makes up).
    return S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR) ? EACCES : 0;
}

int writeAll(SMBCCTX *context, SMBCFILE *file, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = smbc_getFunctionWrite(context)(context, file, data.constData() + done, std::size_t(data.size() - done));
        if (n <= 0)
            return n < 0 ? errnoOr(EIO) : ENOSPC;
        done += n;
    }
    return 0;
}

int finish(SMBCCTX *context, Upload &upload, bool checkAgain)
{
    SMBCFILE *file = std::exchange(upload.file, nullptr);
    if (smbc_getFunctionClose(context)(context, file) != 0)
        return errnoOr(EIO);
    // The server marks the new file archived; other bits go with the times in one call.
    if (upload.attributes == FILE_ATTRIBUTE_ARCHIVE) {
        if (smbc_getFunctionUtimes(context)(context, upload.temporary.constData(), upload.times) != 0)
            return errnoOr(EIO);
    } else {
        const QByteArray seconds = QByteArray::number(qint64(upload.times[1].tv_sec));
        const QByteArray facts = "MODE:0x" + QByteArray::number(upload.attributes, 16) + ",A_TIME:" + seconds
            + ",M_TIME:" + seconds;
        if (smbc_getFunctionSetxattr(context)(context, upload.temporary.constData(), "system.dos_attr.*",
                                              facts.constData(), std::size_t(facts.size()), 0) != 0)
            return errnoOr(EIO);
    }
    // libsmbclient's rename replaces an existing target: a long upload looks again.
    if (const int err = checkAgain ? checkTarget(context, upload) : 0)
        return err;
    return smbc_getFunctionRename(context)(context, upload.temporary.constData(), context, upload.target.constData()) == 0
        ? 0
        : errnoOr(EIO);
}

void discard(SMBCCTX *context, Upload &upload)
{
    if (upload.file)
        smbc_getFunctionClose(context)(context, std::exchange(upload.file, nullptr));
    smbc_getFunctionUnlink(context)(context, upload.temporary.constData());
}

DWORD platformError(int err)
{
    switch (err) {
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOENT:
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    default:
        return SmbProvider::toPlatform(err);
    }
}

} // namespace

DWORD SmbUpload::copy(const QString &source, const WIN32_FIND_DATAW &record, const SmbPath &target, bool replace)
{
    if (!target.ok())
        return target.error();
    if (target.isComputer() || target.isShare())
        return ERROR_ACCESS_DENIED;
    const std::shared_ptr<SmbSession> session = SmbSession::forServer(target.server());
    if (!session)
        return ERROR_BAD_NETPATH;
    const HANDLE in = CreateFileW(wide(source), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return GetLastError();

    auto upload = std::make_shared<Upload>();
    upload->temporary = target.parentUrl() + "/.~qm"
        + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
    upload->target = target.url();
    upload->replace = replace;
    const timespec written = FileTime::toTimespec(record.ftLastWriteTime);
    upload->times[0] = upload->times[1] = {written.tv_sec, written.tv_nsec / 1000};
    // A new file on a share is archived, whatever the source's bit.
    upload->attributes = (record.dwFileAttributes & KeptBits) | FILE_ATTRIBUTE_ARCHIVE;

    DWORD error = ERROR_SUCCESS;
    bool started = false;
    for (bool last = false; !last && error == ERROR_SUCCESS;) {
        QByteArray block(qsizetype(SmbFile::BlockSize), Qt::Uninitialized);
        DWORD got = 0;
        if (!ReadFile(in, block.data(), SmbFile::BlockSize, &got, nullptr)) {
            error = GetLastError();
            break;
        }
        block.truncate(got);
        last = got < SmbFile::BlockSize;
        const bool first = !started;
        int err = 0;
        const std::optional<int> result = session->call<int>([upload, block, first, last](SMBCCTX *context) {
            if (first) {
                if (const int refused = checkTarget(context, *upload))
                    return refused;
                upload->file = smbc_getFunctionOpen(context)(context, upload->temporary.constData(),
                                                             O_RDWR | O_CREAT | O_EXCL, 0666);
                if (!upload->file)
                    return errnoOr(EIO);
            }
            if (const int failed = writeAll(context, upload->file, block))
                return failed;
            return last ? finish(context, *upload, !first) : 0;
        }, err);
        started = true;
        error = !result ? ERROR_BAD_NETPATH : platformError(*result);
    }
    CloseHandle(in);
    if (error != ERROR_SUCCESS && started && !session->abandoned()) {
        int err = 0;
        session->call<int>([upload](SMBCCTX *context) {
            discard(context, *upload);
            return 0;
        }, err);
    }
    return error;
}
