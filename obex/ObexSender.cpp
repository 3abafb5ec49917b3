#include "obex/ObexSender.h"

#include "obex/ObexPacket.h"

namespace {

// Sends one request and reads its answer; the answer's code, or 0 when none came.
std::uint8_t exchange(TcpSocket &socket, const QByteArray &request, QByteArray &answer, int idleMs)
{
    if (socket.write(request, idleMs) != TcpSocket::Status::Ok
        || Obex::readPacket(socket, answer, Obex::MaxPacket, idleMs) != TcpSocket::Status::Ok)
        return 0;
    return std::uint8_t(answer[0]);
}

} // namespace

bool ObexSender::push(TcpSocket &socket, const QString &name, std::uint64_t size, const Reader &read, int idleMs)
{
    QByteArray answer;
    if (exchange(socket, Obex::PacketWriter(Obex::Connect).fields(Obex::connectFields()).packet(), answer, idleMs)
        != Obex::Success)
        return false;
    const int maxPacket = Obex::peerMaxPacket(answer);

    QByteArray chunk(maxPacket, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        Obex::PacketWriter put(Obex::Put);
        if (first) {
            put.text(Obex::Name, name);
            // Length is four bytes: larger objects go without it.
            if (size < (std::uint64_t(1) << 32))
                put.u32(Obex::Length, std::uint32_t(size));
            first = false;
        }
        const qint64 room = maxPacket - put.size() - 3;
        if (room < 0)
            return false;
        const qint64 got = read(chunk.data(), room);
        if (got < 0)
            return false;
        // A short read is the end of the object: it goes in the final packet.
        const bool last = got < room;
        put.bytes(last ? Obex::EndOfBody : Obex::Body, QByteArrayView(chunk.constData(), got));
        if (last)
            put.setCode(Obex::PutFinal);
        const std::uint8_t code = exchange(socket, put.packet(), answer, idleMs);
        if (code != (last ? Obex::Success : Obex::Continue))
            return false;
        if (last)
            break;
    }
    // The object is delivered; a peer that fumbles the goodbye changes nothing.
    exchange(socket, Obex::PacketWriter(Obex::Disconnect).packet(), answer, idleMs);
    return true;
}
