#include "cabinstall/CabinetReader.h"

#include "package/LittleEndian.h"

namespace CabinetReader {

namespace {

using namespace Cabinet;

bool fail(QString &error, const char *text)
{
    error = QString::fromLatin1(text);
    return false;
}

bool fits(QByteArrayView data, qint64 offset, qint64 size)
{
    return offset >= 0 && size >= 0 && offset <= data.size() && size <= data.size() - offset;
}

} // namespace

bool isSafeName(QByteArrayView name)
{
    if (name.isEmpty() || name.size() > MaxNameLength || name.contains('/') || name.contains(':'))
        return false;
    for (char c : name) {
        if (uchar(c) < 0x20)
            return false;
    }
    for (const QByteArray &part : name.toByteArray().split('\\')) {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    return true;
}

bool read(QByteArrayView cab, QList<CabMember> &members, QString &error)
{
    members.clear();
    if (cab.size() < HeaderSize || !cab.startsWith("MSCF") || u32At(cab, 4) != 0)
        return fail(error, "This is not a cabinet file.");
    if (u32At(cab, 8) > quint32(cab.size()))
        return fail(error, "The cabinet is truncated.");
    if (u32At(cab, 8) != quint32(cab.size()))
        return fail(error, "The cabinet's size does not match its header.");
    if (cab[24] != 3 || cab[25] != 1)
        return fail(error, "The cabinet is not of format version 1.3.");
    const quint16 folders = u16At(cab, 26);
    const quint16 files = u16At(cab, 28);
    if (folders == 0 || files == 0)
        return fail(error, "The cabinet holds no files.");
    if (u16At(cab, 30) != 0)
        return fail(error, "The cabinet belongs to a set or carries reserved fields.");
    if (!fits(cab, HeaderSize, qint64(folders) * FolderSize))
        return fail(error, "The cabinet is truncated.");

    // Each folder's stored stream, joined from its checked blocks.
    QList<QByteArray> streams;
    for (int f = 0; f < folders; ++f) {
        const qsizetype at = HeaderSize + qsizetype(f) * FolderSize;
        if ((u16At(cab, at + 6) & 0xF) != 0)
            return fail(error, "The cabinet is compressed; only stored cabinets are installed.");
        qint64 offset = u32At(cab, at);
        QByteArray stream;
        for (int b = u16At(cab, at + 4); b > 0; --b) {
            if (!fits(cab, offset, DataHeaderSize))
                return fail(error, "The cabinet is truncated.");
            const quint16 size = u16At(cab, offset + 4);
            if (size == 0 || size > BlockSize || size != u16At(cab, offset + 6))
                return fail(error, "The cabinet has a damaged data block.");
            if (!fits(cab, offset + DataHeaderSize, size))
                return fail(error, "The cabinet is truncated.");
            const QByteArrayView data = cab.sliced(offset + DataHeaderSize, size);
            const quint32 sum = u32At(cab, offset);
            if (sum != 0 && sum != blockChecksum(data))
                return fail(error, "The cabinet has a checksum error.");
            stream += data;
            offset += DataHeaderSize + size;
        }
        streams.append(stream);
    }

    qint64 offset = u32At(cab, 16);
    for (int i = 0; i < files; ++i) {
        if (!fits(cab, offset, FileEntrySize))
            return fail(error, "The cabinet is truncated.");
        const quint32 size = u32At(cab, offset);
        const quint32 start = u32At(cab, offset + 4);
        const quint16 folder = u16At(cab, offset + 8);
        const qsizetype nameStart = offset + FileEntrySize;
        const qsizetype nameEnd = cab.sliced(nameStart, qMin<qsizetype>(MaxNameLength + 1, cab.size() - nameStart)).indexOf('\0');
        if (nameEnd < 0)
            return fail(error, "The cabinet is truncated or holds a name that is too long.");
        const QByteArrayView name = cab.sliced(nameStart, nameEnd);
        if (!isSafeName(name))
            return fail(error, "The cabinet holds a member whose name leads outside its folder.");
        if (folder >= folders || !fits(streams[folder], start, size))
            return fail(error, "The cabinet's files do not match its data.");
        const quint16 date = u16At(cab, offset + 10);
        const quint16 time = u16At(cab, offset + 12);
        const QDateTime stamp(QDate(1980 + (date >> 9), (date >> 5) & 0xF, date & 0x1F),
                              QTime(time >> 11, (time >> 5) & 0x3F, (time & 0x1F) * 2));
        members.append({name.toByteArray(), streams[folder].mid(start, size), stamp});
        offset = nameStart + nameEnd + 1;
    }
    return true;
}

} // namespace CabinetReader
