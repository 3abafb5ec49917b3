// The receiving side of an OBEX object push: serves one session on an
// accepted connection and hands each arriving object to a sink. Everything
// the peer sends is checked: packet lengths, headers, the size cap, and a
// time limit on every packet.
#pragma once

#include "platform/TcpSocket.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>

class ObexReceiver
{
public:
    // Where arriving objects go. begin() is called at the first body data of
    // an object, write() with each piece of it, then either commit() with the
    // object's name as the peer sent it, or discard(), which must leave
    // nothing behind.
    class Sink
    {
    public:
        virtual ~Sink() = default;
        virtual bool begin() = 0;
        virtual bool write(QByteArrayView data) = 0;
        virtual bool commit(const QString &name) = 0;
        virtual void discard() = 0;
    };

    struct Limits {
        int idleMs = 10000; // longest wait for one whole packet
        std::uint64_t maxBytes = std::uint64_t(2) << 30; // all objects of the session together
        int maxObjects = 1000;
    };

    enum class Result { Done, Failed };

    ObexReceiver(TcpSocket &socket, Sink &sink, const Limits &limits);
    // Serves requests until the peer disconnects. Done when the session
    // ended between objects (with or without a DISCONNECT); Failed when the
    // peer went silent or away inside an object, broke the protocol, or an
    // object was refused. An unfinished object is discarded.
    Result serve();
    int objectsReceived() const { return m_objects; }

    // The file name to store a received object under: only what follows the
    // last '/' or '\', without control characters and the characters a
    // device file name cannot hold, at most 255 characters; fallback when
    // nothing usable is left.
    static QString safeName(const QString &name, const QString &fallback);

private:
    enum class Step { Next, End, Fail };
    Step handle(const QByteArray &packet);
    Step handlePut(const QByteArray &packet);
    Step respond(std::uint8_t code);
    void endObject();

    TcpSocket &m_socket;
    Sink &m_sink;
    Limits m_limits;
    int m_objects = 0;
    std::uint64_t m_sessionBytes = 0;
    bool m_inObject = false;
    bool m_begun = false;
    bool m_hasBody = false;
    QString m_name;
};
