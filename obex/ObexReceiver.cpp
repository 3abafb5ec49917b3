#include "obex/ObexReceiver.h"

#include "obex/ObexPacket.h"

ObexReceiver::ObexReceiver(TcpSocket &socket, Sink &sink, const Limits &limits)
    : m_socket(socket), m_sink(sink), m_limits(limits)
{
}

QString ObexReceiver::safeName(const QString &name, const QString &fallback)
{
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    QString result;
    for (const QChar c : QStringView(name).sliced(slash + 1)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u":*?\"<>|").contains(c))
            continue;
        result.append(c);
    }
    // The device drops trailing dots and blanks, so "..", "..." and " " name nothing.
    while (!result.isEmpty() && (result.back() == QLatin1Char('.') || result.back() == QLatin1Char(' ')))
        result.chop(1);
    while (!result.isEmpty() && result.front() == QLatin1Char(' '))
        result.remove(0, 1);
    return result.isEmpty() ? fallback : result.left(255);
}

ObexReceiver::Result ObexReceiver::serve()
{
    QByteArray packet;
    packet.reserve(Obex::MaxPacket);
    for (;;) {
        const TcpSocket::Status status = Obex::readPacket(m_socket, packet, Obex::MaxPacket, m_limits.idleMs);
        Step step = Step::Fail;
        if (status == TcpSocket::Status::Ok)
            step = handle(packet);
        else if (status == TcpSocket::Status::Closed && !m_inObject)
            return Result::Done;
        if (step == Step::Next)
            continue;
        endObject();
        return step == Step::End ? Result::Done : Result::Failed;
    }
}

ObexReceiver::Step ObexReceiver::handle(const QByteArray &packet)
{
    const std::uint8_t code = std::uint8_t(packet[0]);
    switch (code) {
    case Obex::Connect: {
        if (packet.size() < 7)
            return Step::Fail;
        QByteArray target;
        if (!Obex::forEachHeader(packet, 7, [&](const Obex::Header &h) {
                if (h.id == Obex::Target)
                    target = h.data.toByteArray();
            }))
            return Step::Fail;
        // We serve the default inbox for any target; a peer that named one expects it echoed.
        Obex::PacketWriter answer(Obex::Success);
        answer.fields(Obex::connectFields());
        if (!target.isEmpty())
            answer.bytes(Obex::Who, target).u32(Obex::ConnectionId, 1);
        return m_socket.write(answer.packet(), m_limits.idleMs) == TcpSocket::Status::Ok ? Step::Next : Step::Fail;
    }
    case Obex::Disconnect:
        if (m_inObject || respond(Obex::Success) == Step::Fail)
            return Step::Fail;
        m_socket.awaitClose(m_limits.idleMs);
        return Step::End;
    case Obex::Put:
    case Obex::PutFinal:
        return handlePut(packet);
    case Obex::Abort:
        endObject();
        return respond(Obex::Success);
    case Obex::SetPath:
        // Folder browsing clients set a path first; everything lands in the inbox anyway.
        return respond(Obex::Success);
    default:
        // Refused requests (GET and the rest) end the session: we serve pushes only.
        respond(Obex::NotImplemented);
        return Step::Fail;
    }
}

ObexReceiver::Step ObexReceiver::handlePut(const QByteArray &packet)
{
    if (!m_inObject && m_objects >= m_limits.maxObjects) {
        respond(Obex::Forbidden);
        return Step::Fail;
    }
    m_inObject = true;
    std::uint8_t refusal = 0;
    const bool wellFormed = Obex::forEachHeader(packet, 3, [&](const Obex::Header &h) {
        if (refusal)
            return;
        if (h.id == Obex::Name) {
            m_name = h.text();
        } else if (h.id == Obex::Length) {
            // Only a hint: an honest one refuses what cannot fit at once.
            if (m_sessionBytes + h.value > m_limits.maxBytes)
                refusal = Obex::TooLarge;
        } else if (h.id == Obex::Body || h.id == Obex::EndOfBody) {
            m_hasBody = true;
            m_sessionBytes += std::uint64_t(h.data.size());
            if (m_sessionBytes > m_limits.maxBytes)
                refusal = Obex::TooLarge;
            else if ((!m_begun && !(m_begun = m_sink.begin())) || !m_sink.write(h.data))
                refusal = Obex::InternalError;
        }
    });
    if (!wellFormed)
        refusal = Obex::BadRequest;
    if (!refusal && Obex::isFinal(std::uint8_t(packet[0]))) {
        if (!m_hasBody)
            refusal = Obex::Forbidden; // a PUT without a body asks to delete
        else if ((!m_begun && !(m_begun = m_sink.begin())) || !m_sink.commit(m_name))
            refusal = Obex::InternalError;
        else {
            m_begun = false;
            ++m_objects;
            endObject();
            return respond(Obex::Success);
        }
    }
    if (refusal) {
        respond(refusal);
        return Step::Fail;
    }
    return respond(Obex::Continue);
}

ObexReceiver::Step ObexReceiver::respond(std::uint8_t code)
{
    return m_socket.write(Obex::PacketWriter(code).packet(), m_limits.idleMs) == TcpSocket::Status::Ok ? Step::Next
                                                                                                       : Step::Fail;
}

void ObexReceiver::endObject()
{
    if (m_begun)
        m_sink.discard();
    m_begun = false;
    m_inObject = false;
    m_hasBody = false;
    m_name.clear();
}
