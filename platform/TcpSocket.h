// TCP streams for the device's beam link: blocking calls that each end within
// a time limit, so a silent or vanished peer can never hang the caller.
#pragma once

#include "platform/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TcpSocket
{
public:
    enum class Status { Ok, Closed, TimedOut, Failed };

    TcpSocket() = default;
    explicit TcpSocket(UniqueFd fd) : m_fd(std::move(fd)) {}

    // Connects to host (a name or an address) and port, trying each address
    // of the name once. Failed when refused or unreachable, TimedOut when the
    // peer did not answer within timeoutMs.
    Status connectTo(const QString &host, std::uint16_t port, int timeoutMs);
    bool isOpen() const { return m_fd.valid(); }
    void close() { m_fd.reset(); }

    // Reads exactly size bytes within timeoutMs in all. Closed when the peer
    // ended the stream before the first byte; Failed when it ended later.
    Status read(char *data, std::size_t size, int timeoutMs);
    // Writes all of data; TimedOut when the peer stops taking it for timeoutMs.
    Status write(const QByteArray &data, int timeoutMs);
    // Waits until the peer closes its side (anything it still sends is
    // dropped), at most timeoutMs.
    void awaitClose(int timeoutMs);

private:
    UniqueFd m_fd;
};

class TcpListener
{
public:
    // Listens on address (a name or an address; empty is loopback) and port
    // (0 picks a free one); false when it cannot.
    bool listen(const QString &address, std::uint16_t port);
    std::uint16_t port() const;
    // Takes one connection; TimedOut when none came within timeoutMs.
    TcpSocket::Status accept(TcpSocket &socket, int timeoutMs);

private:
    UniqueFd m_fd;
};
