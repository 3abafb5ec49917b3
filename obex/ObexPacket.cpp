#include "obex/ObexPacket.h"

namespace Obex {

namespace {

std::uint16_t be16(QByteArrayView data, qsizetype at)
{
    return std::uint16_t((std::uint8_t(data[at]) << 8) | std::uint8_t(data[at + 1]));
}

void appendBe16(QByteArray &data, std::uint16_t value)
{
    data.append(char(value >> 8));
    data.append(char(value & 0xFF));
}

} // namespace

QString Header::text() const
{
    QString result;
    result.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        result.append(QChar(be16(data, i)));
    if (result.endsWith(QChar(0)))
        result.chop(1);
    return result;
}

bool forEachHeader(QByteArrayView packet, qsizetype offset, const std::function<void(const Header &)> &visit)
{
    qsizetype at = offset;
    while (at < packet.size()) {
        Header header;
        header.id = std::uint8_t(packet[at]);
        const qsizetype left = packet.size() - at;
        switch (header.id & 0xC0) {
        case 0x00:
        case 0x40: {
            if (left < 3)
                return false;
            const qsizetype length = be16(packet, at + 1);
            if (length < 3 || length > left)
                return false;
            header.data = packet.sliced(at + 3, length - 3);
            at += length;
            break;
        }
        case 0x80:
            if (left < 2)
                return false;
            header.value = std::uint8_t(packet[at + 1]);
            at += 2;
            break;
        default:
            if (left < 5)
                return false;
            header.value = (std::uint32_t(be16(packet, at + 1)) << 16) | be16(packet, at + 3);
            at += 5;
            break;
        }
        visit(header);
    }
    return true;
}

PacketWriter::PacketWriter(std::uint8_t code)
{
    m_data.reserve(64);
    m_data.append(char(code));
    appendBe16(m_data, 0);
}

PacketWriter &PacketWriter::fields(QByteArrayView data)
{
    m_data.append(data);
    return *this;
}

PacketWriter &PacketWriter::text(std::uint8_t id, const QString &text)
{
    m_data.append(char(id));
    appendBe16(m_data, std::uint16_t(3 + 2 * (text.size() + 1)));
    for (const QChar c : text)
        appendBe16(m_data, c.unicode());
    appendBe16(m_data, 0);
    return *this;
}

PacketWriter &PacketWriter::bytes(std::uint8_t id, QByteArrayView data)
{
    m_data.reserve(m_data.size() + 3 + data.size());
    m_data.append(char(id));
    appendBe16(m_data, std::uint16_t(3 + data.size()));
    m_data.append(data);
    return *this;
}

PacketWriter &PacketWriter::u32(std::uint8_t id, std::uint32_t value)
{
    m_data.append(char(id));
    appendBe16(m_data, std::uint16_t(value >> 16));
    appendBe16(m_data, std::uint16_t(value & 0xFFFF));
    return *this;
}

const QByteArray &PacketWriter::packet()
{
    m_data[1] = char((m_data.size() >> 8) & 0xFF);
    m_data[2] = char(m_data.size() & 0xFF);
    return m_data;
}

QByteArray connectFields(int maxPacket)
{
    QByteArray fields;
    fields.append(char(Version));
    fields.append(char(0));
    appendBe16(fields, std::uint16_t(maxPacket));
    return fields;
}

int peerMaxPacket(QByteArrayView packet)
{
    if (packet.size() < 7)
        return MinPacket;
    return std::clamp<int>(be16(packet, 5), MinPacket, MaxPacket);
}

TcpSocket::Status readPacket(TcpSocket &socket, QByteArray &packet, int maxSize, int timeoutMs)
{
    char prefix[3];
    const TcpSocket::Status status = socket.read(prefix, 3, timeoutMs);
    if (status != TcpSocket::Status::Ok)
        return status;
    const int length = be16(QByteArrayView(prefix, 3), 1);
    if (length < 3 || length > maxSize)
        return TcpSocket::Status::Failed;
    packet.resize(length);
    std::memcpy(packet.data(), prefix, 3);
    const TcpSocket::Status rest = socket.read(packet.data() + 3, std::size_t(length - 3), timeoutMs);
    return rest == TcpSocket::Status::Closed ? TcpSocket::Status::Failed : rest;
}

} // namespace Obex
