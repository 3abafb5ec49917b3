#include "package/Cabinet.h"

#include "package/LittleEndian.h"

namespace Cabinet {

quint32 checksum(QByteArrayView data, quint32 seed)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.data());
    const qsizetype whole = data.size() / 4 * 4;
    for (qsizetype i = 0; i < whole; i += 4)
        seed ^= qFromLittleEndian<quint32>(bytes + i);
    // The one to three bytes left are folded first byte highest, not little-endian.
    quint32 rest = 0;
    for (qsizetype i = whole; i < data.size(); ++i)
        rest = (rest << 8) | bytes[i];
    return seed ^ rest;
}

quint32 blockChecksum(QByteArrayView blockData)
{
    QByteArray sizes;
    appendU16(sizes, quint16(blockData.size()));
    appendU16(sizes, quint16(blockData.size()));
    return checksum(sizes, checksum(blockData, 0));
}

quint16 dosDate(const QDateTime &time)
{
    const QDate d = time.date();
    return quint16(((qBound(1980, d.year(), 2107) - 1980) << 9) | (d.month() << 5) | d.day());
}

quint16 dosTime(const QDateTime &time)
{
    const QTime t = time.time();
    return quint16((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

QByteArray write(const QList<CabMember> &members)
{
    QByteArray stream;
    QByteArray entries;
    for (const CabMember &member : members) {
        appendU32(entries, quint32(member.data.size()));
        appendU32(entries, quint32(stream.size()));
        appendU16(entries, 0); // the one folder
        appendU16(entries, dosDate(member.time));
        appendU16(entries, dosTime(member.time));
        appendU16(entries, AttribArchive);
        entries += member.name + '\0';
        stream += member.data;
    }
    const qsizetype blocks = (stream.size() + BlockSize - 1) / BlockSize;
    if (blocks > 0xFFFF || members.size() > 0xFFFF)
        return QByteArray();
    const quint32 filesOffset = HeaderSize + FolderSize;
    const quint32 dataOffset = filesOffset + quint32(entries.size());
    const quint32 total = dataOffset + quint32(blocks * DataHeaderSize + stream.size());

    QByteArray cab("MSCF", 4);
    appendU32(cab, 0);
    appendU32(cab, total);
    appendU32(cab, 0);
    appendU32(cab, filesOffset);
    appendU32(cab, 0);
    cab += char(3); // version 1.3
    cab += char(1);
    appendU16(cab, 1);                       // folders
    appendU16(cab, quint16(members.size())); // files
    appendU16(cab, 0);                       // flags
    appendU16(cab, 0);                       // set id
    appendU16(cab, 0);                       // index in the set
    appendU32(cab, dataOffset);
    appendU16(cab, quint16(blocks));
    appendU16(cab, 0); // stored
    cab += entries;
    cab.reserve(total);
    for (qsizetype offset = 0; offset < stream.size(); offset += BlockSize) {
        const QByteArrayView block = QByteArrayView(stream).sliced(offset, qMin<qsizetype>(BlockSize, stream.size() - offset));
        appendU32(cab, blockChecksum(block));
        appendU16(cab, quint16(block.size()));
        appendU16(cab, quint16(block.size()));
        cab += block;
    }
    return cab;
}

} // namespace Cabinet
