// irsquirt.exe stand-in: beams files between devices by OBEX object push over
// TCP, in place of the handheld's infrared link.
//   (empty command line)  receive one push session into the device root
//   a device file path     send that file to the peer
// Settings, from the environment:
//   QUILLMOSS_IR_PEER       host[:port] to send to (127.0.0.1)
//   QUILLMOSS_IR_PORT       port to receive on and send to (10650)
//   QUILLMOSS_IR_LISTEN     address to receive on (127.0.0.1; 0.0.0.0 opens the beam to the LAN)
//   QUILLMOSS_IR_WAIT       seconds to wait for the other device (30)
//   QUILLMOSS_IR_IDLE       seconds a connected peer may stay silent (10)
//   QUILLMOSS_IR_MAX_BYTES  most bytes taken in one receive (2 GiB)
// Exit status: 0 done, 1 no other device came, 2 the transfer failed.
#include "DeviceProgram.h"

#include "obex/ObexReceiver.h"
#include "obex/ObexSender.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>
#include <unistd.h>

namespace {

enum Exit { Done = 0, NoPeer = 1, Failed = 2 };

int milliseconds(const char *name, double defaultSeconds)
{
    bool ok = false;
    const double seconds = qEnvironmentVariable(name).toDouble(&ok);
    return int(1000 * std::clamp(ok && seconds > 0 ? seconds : defaultSeconds, 0.001, 86400.0));
}

struct Settings {
    QString peer = QStringLiteral("127.0.0.1");
    QString listen = QStringLiteral("127.0.0.1");
    std::uint16_t port = 10650;
    int waitMs = milliseconds("QUILLMOSS_IR_WAIT", 30);
    int idleMs = milliseconds("QUILLMOSS_IR_IDLE", 10);
    std::uint64_t maxBytes = std::uint64_t(2) << 30;

    Settings()
    {
        bool ok = false;
        const uint port = qEnvironmentVariable("QUILLMOSS_IR_PORT").toUInt(&ok);
        if (ok && port > 0 && port < 65536)
            this->port = std::uint16_t(port);
        if (qEnvironmentVariableIsSet("QUILLMOSS_IR_LISTEN"))
            listen = qEnvironmentVariable("QUILLMOSS_IR_LISTEN");
        const QString peerSetting = qEnvironmentVariable("QUILLMOSS_IR_PEER");
        const qsizetype colon = peerSetting.lastIndexOf(QLatin1Char(':'));
        const uint peerPort = colon > 0 ? peerSetting.mid(colon + 1).toUInt(&ok) : 0;
        if (colon > 0 && ok && peerPort > 0 && peerPort < 65536 && peerSetting.count(QLatin1Char(':')) == 1) {
            peer = peerSetting.left(colon);
            this->port = std::uint16_t(peerPort);
        } else if (!peerSetting.isEmpty()) {
            peer = peerSetting;
        }
        const qulonglong max = qEnvironmentVariable("QUILLMOSS_IR_MAX_BYTES").toULongLong(&ok);
        if (ok)
            maxBytes = max;
    }
};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Received objects are written under a temporary name in \Temp, away from the
// root where the file manager looks for arrivals, and moved into the root
// under a free name once whole.
class RootInbox final : public ObexReceiver::Sink
{
public:
    ~RootInbox() override { discard(); }

    bool begin() override
    {
        CreateDirectoryW(u"\\Temp", nullptr);
        for (int n = 0; n < 100 && m_file == INVALID_HANDLE_VALUE; ++n) {
            m_temp = QStringLiteral("\\Temp\\~irsquirt-%1-%2.tmp").arg(::getpid()).arg(n);
            m_file = CreateFileW(wide(m_temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        }
        return m_file != INVALID_HANDLE_VALUE;
    }

    bool write(QByteArrayView data) override
    {
        DWORD written = 0;
        return WriteFile(m_file, data.data(), DWORD(data.size()), &written, nullptr) && written == DWORD(data.size());
    }

    bool commit(const QString &name) override
    {
        CloseHandle(std::exchange(m_file, INVALID_HANDLE_VALUE));
        const QString safe = ObexReceiver::safeName(name, QStringLiteral("Beamed file"));
        const qsizetype dot = safe.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? safe.left(dot) : safe;
        const QString extension = dot > 0 ? safe.mid(dot) : QString();
        // Never over an existing file: "a.txt", then "a (1).txt", ...
        for (int n = 0; n < 100; ++n) {
            const QString target = QLatin1Char('\\') + (n ? QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension)
                                                          : safe);
            if (MoveFileW(wide(m_temp), wide(target))) {
                m_temp.clear();
                const DWORD attributes = GetFileAttributesW(wide(target));
                return SetFileAttributesW(wide(target), (attributes & ~FILE_ATTRIBUTE_HIDDEN) | FILE_ATTRIBUTE_ARCHIVE);
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                break;
        }
        discard();
        return false;
    }

    void discard() override
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(std::exchange(m_file, INVALID_HANDLE_VALUE));
        if (!m_temp.isEmpty()) {
            DeleteFileW(wide(m_temp));
            m_temp.clear();
        }
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    QString m_temp;
};

int receive(const Settings &settings)
{
    TcpSocket socket;
    {
        TcpListener listener;
        if (!listener.listen(settings.listen, settings.port)) {
            err() << "irsquirt: cannot listen on " << settings.listen << " port " << settings.port << Qt::endl;
            return Failed;
        }
        if (listener.accept(socket, settings.waitMs) != TcpSocket::Status::Ok) {
            err() << "irsquirt: no device came within " << settings.waitMs / 1000.0 << " s" << Qt::endl;
            return NoPeer;
        }
    } // One session only: a device that comes later is refused at once, not left waiting.
    RootInbox inbox;
    ObexReceiver receiver(socket, inbox, {settings.idleMs, settings.maxBytes});
    const ObexReceiver::Result result = receiver.serve();
    err() << "irsquirt: received " << receiver.objectsReceived() << " file(s)" << Qt::endl;
    return result == ObexReceiver::Result::Done ? Done : Failed;
}

int send(const Settings &settings, const QString &path)
{
    const HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        err() << "irsquirt: cannot open " << path << Qt::endl;
        return Failed;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const std::uint64_t size = (std::uint64_t(high) << 32) | low;

    // The other device may start receiving after we start sending: keep trying while the wait lasts.
    TcpSocket socket;
    QElapsedTimer waited;
    waited.start();
    TcpSocket::Status status;
    while ((status = socket.connectTo(settings.peer, settings.port, int(settings.waitMs - waited.elapsed())))
               != TcpSocket::Status::Ok
           && waited.elapsed() + 200 < settings.waitMs)
        QThread::msleep(200);
    if (status != TcpSocket::Status::Ok) {
        CloseHandle(file);
        err() << "irsquirt: no device at " << settings.peer << " port " << settings.port << Qt::endl;
        return NoPeer;
    }
    const auto read = [file](char *data, qint64 size) -> qint64 {
        DWORD got = 0;
        return ReadFile(file, data, DWORD(size), &got, nullptr) ? qint64(got) : -1;
    };
    const bool sent = ObexSender::push(socket, path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1), size, read,
                                       settings.idleMs);
    CloseHandle(file);
    if (!sent)
        err() << "irsquirt: the other device did not take " << path << Qt::endl;
    return sent ? Done : Failed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    DeviceProgram program;
    const Settings settings;
    const QString path = deviceCommandLine(app.arguments());
    return path.isEmpty() ? receive(settings) : send(settings, path);
}
