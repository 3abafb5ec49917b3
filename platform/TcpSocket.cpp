#include "platform/TcpSocket.h"

#include <QElapsedTimer>

#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

// Milliseconds left of a limit started at timer.
int remaining(const QElapsedTimer &timer, int timeoutMs)
{
    return int(std::max<qint64>(0, timeoutMs - timer.elapsed()));
}

// Waits for events on fd; false when the limit passed first.
bool waitFor(int fd, short events, const QElapsedTimer &timer, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, remaining(timer, timeoutMs));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

struct AddressList {
    addrinfo *list = nullptr;
    ~AddressList() { if (list) freeaddrinfo(list); }
};

bool resolve(const QString &host, std::uint16_t port, bool passive, AddressList &out)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    const QByteArray name = host.isEmpty() ? QByteArray("127.0.0.1") : host.toUtf8();
    return getaddrinfo(name.constData(), QByteArray::number(port).constData(), &hints, &out.list) == 0;
}

int openSocket(const addrinfo *address)
{
    return ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address->ai_protocol);
}

} // namespace

TcpSocket::Status TcpSocket::connectTo(const QString &host, std::uint16_t port, int timeoutMs)
{
    close();
    AddressList addresses;
    if (!resolve(host, port, false, addresses))
        return Status::Failed;
    QElapsedTimer timer;
    timer.start();
    Status status = Status::Failed;
    for (const addrinfo *a = addresses.list; a; a = a->ai_next) {
        UniqueFd fd(openSocket(a));
        if (!fd.valid())
            continue;
        if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS)
            continue;
        if (!waitFor(fd.get(), POLLOUT, timer, timeoutMs)) {
            status = Status::TimedOut;
            continue;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            continue;
        const int on = 1;
        ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_fd = std::move(fd);
        return Status::Ok;
    }
    return status;
}

TcpSocket::Status TcpSocket::read(char *data, std::size_t size, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(m_fd.get(), data + done, size - done, 0);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n == 0)
            return done == 0 ? Status::Closed : Status::Failed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return done == 0 && errno == ECONNRESET ? Status::Closed : Status::Failed;
        if (!waitFor(m_fd.get(), POLLIN, timer, timeoutMs))
            return Status::TimedOut;
    }
    return Status::Ok;
}

TcpSocket::Status TcpSocket::write(const QByteArray &data, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(m_fd.get(), data.constData() + done, std::size_t(data.size() - done), MSG_NOSIGNAL);
        if (n >= 0) {
            done += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Status::Failed;
        if (!waitFor(m_fd.get(), POLLOUT, timer, timeoutMs))
            return Status::TimedOut;
    }
    return Status::Ok;
}

void TcpSocket::awaitClose(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    char sink[512];
    while (waitFor(m_fd.get(), POLLIN, timer, timeoutMs)) {
        const ssize_t n = ::recv(m_fd.get(), sink, sizeof sink, 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return;
    }
}

bool TcpListener::listen(const QString &address, std::uint16_t port)
{
    AddressList addresses;
    if (!resolve(address, port, true, addresses))
        return false;
    for (const addrinfo *a = addresses.list; a; a = a->ai_next) {
        UniqueFd fd(openSocket(a));
        if (!fd.valid())
            continue;
        const int on = 1;
        ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fd.get(), a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd.get(), 4) == 0) {
            m_fd = std::move(fd);
            return true;
        }
    }
    return false;
}

std::uint16_t TcpListener::port() const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd.get(), reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return 0;
    const auto *in = reinterpret_cast<const sockaddr_in *>(&address); // the port sits alike in v4 and v6
    return ntohs(in->sin_port);
}

TcpSocket::Status TcpListener::accept(TcpSocket &socket, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (!waitFor(m_fd.get(), POLLIN, timer, timeoutMs))
            return TcpSocket::Status::TimedOut;
        const int fd = ::accept4(m_fd.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            socket = TcpSocket(UniqueFd(fd));
            return TcpSocket::Status::Ok;
        }
        if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED)
            return TcpSocket::Status::Failed;
    }
}
