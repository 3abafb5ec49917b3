// The sending side of an OBEX object push: one session that pushes one
// object in packets as large as the peer accepts. Every answer must come
// within the time limit.
#pragma once

#include "platform/TcpSocket.h"

#include <QString>
#include <cstdint>
#include <functional>

class ObexSender
{
public:
    // Fills data with up to size bytes of the object; the count, 0 at the
    // end, or -1 when it cannot be read.
    using Reader = std::function<qint64(char *data, qint64 size)>;

    // CONNECT, PUT of the object (name, its size as a hint, the data from
    // read), DISCONNECT. True when the peer accepted the object.
    static bool push(TcpSocket &socket, const QString &name, std::uint64_t size, const Reader &read, int idleMs);
};
