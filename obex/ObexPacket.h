// OBEX packets: building them, and reading them from a peer, whose bytes are
// never trusted. A packet is [code: 1][length: 2, big-endian, whole packet]
// [fixed fields][headers]; a header's id says by its top two bits how long it
// is: text (UTF-16BE, NUL-terminated) and bytes carry a 2-byte length, the
// others are one or four bytes.
#pragma once

#include "platform/TcpSocket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>

namespace Obex {

enum Code : std::uint8_t {
    Connect = 0x80, Disconnect = 0x81, Put = 0x02, PutFinal = 0x82, SetPath = 0x85, Abort = 0xFF,
    Continue = 0x90, Success = 0xA0, BadRequest = 0xC0, Forbidden = 0xC3, TooLarge = 0xCD,
    InternalError = 0xD0, NotImplemented = 0xD1,
};
enum HeaderId : std::uint8_t {
    Name = 0x01, Length = 0xC3, Target = 0x46, Body = 0x48, EndOfBody = 0x49, Who = 0x4A, ConnectionId = 0xCB,
};
constexpr std::uint8_t Version = 0x10;
// Longest packet either side may send, and the least a peer must accept.
constexpr int MaxPacket = 0xFFFF;
constexpr int MinPacket = 255;
constexpr bool isFinal(std::uint8_t code) { return code & 0x80; }

// One header of a received packet; its data points into the packet.
struct Header {
    std::uint8_t id = 0;
    QByteArrayView data; // text (terminator removed) or bytes
    std::uint32_t value = 0; // one- and four-byte headers
    QString text() const; // a text header decoded
};

// Calls visit for each header of packet from offset on. False when a header
// runs past the end of the packet or its length is impossible; headers
// before the broken one have been visited.
bool forEachHeader(QByteArrayView packet, qsizetype offset, const std::function<void(const Header &)> &visit);

class PacketWriter
{
public:
    explicit PacketWriter(std::uint8_t code);
    void setCode(std::uint8_t code) { m_data[0] = char(code); }
    PacketWriter &fields(QByteArrayView data);
    PacketWriter &text(std::uint8_t id, const QString &text);
    PacketWriter &bytes(std::uint8_t id, QByteArrayView data);
    PacketWriter &u32(std::uint8_t id, std::uint32_t value);
    qsizetype size() const { return m_data.size(); }
    // The packet with its length filled in.
    const QByteArray &packet();

private:
    QByteArray m_data;
};

// The CONNECT fields: version, flags, longest packet the sender accepts.
QByteArray connectFields(int maxPacket = MaxPacket);
// The longest packet a CONNECT or its answer allows, kept within
// [MinPacket, MaxPacket]; MinPacket when the fields are missing.
int peerMaxPacket(QByteArrayView packet);

// Reads one whole packet into packet within timeoutMs. Failed as well when
// its length is below 3 or above maxSize.
TcpSocket::Status readPacket(TcpSocket &socket, QByteArray &packet, int maxSize, int timeoutMs);

} // namespace Obex
