// Microsoft cabinet files (version 1.3), as our writer produces them and the
// device's cabinet installer reads them: one folder, data stored without
// compression, every data block checksummed.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

struct CabMember {
    QByteArray name; // backslashes separate folders; ASCII keeps readers agreeing
    QByteArray data;
    QDateTime time;  // local time; kept to two seconds
};

namespace Cabinet {

constexpr int HeaderSize = 36;
constexpr int FolderSize = 8;
constexpr int FileEntrySize = 16;
constexpr int DataHeaderSize = 8;
constexpr int BlockSize = 32768;
constexpr int MaxNameLength = 255;
constexpr quint16 AttribArchive = 0x20;

// The block checksum: the data folded with seed 0, then the block's two size
// fields folded with that as the seed.
quint32 checksum(QByteArrayView data, quint32 seed);
quint32 blockChecksum(QByteArrayView blockData);

// The MS-DOS date and time fields of a file entry.
quint16 dosDate(const QDateTime &time);
quint16 dosTime(const QDateTime &time);

// The whole cabinet holding members in this order; empty when they do not
// fit one cabinet (65535 members, 65535 blocks of 32 KiB).
QByteArray write(const QList<CabMember> &members);

} // namespace Cabinet
