// Little-endian integers in byte buffers, as the package formats store them.
#pragma once

#include <QByteArray>
#include <QtEndian>

inline void appendU16(QByteArray &bytes, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&le), 2);
}

inline void appendU32(QByteArray &bytes, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&le), 4);
}

// The caller has checked that offset + 2 (or 4) lies inside bytes.
inline quint16 u16At(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}

inline quint32 u32At(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}
