#include "SambaServer.h"

#include "platform/TcpSocket.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int freePort()
{
    TcpListener listener;
    return listener.listen(QStringLiteral("127.0.0.1"), 0) ? listener.port() : 0;
}

// Waits for a process that is not our child to end; SIGKILL after timeoutMs.
void endProcess(pid_t pid, int timeoutMs)
{
    ::kill(pid, SIGTERM);
    QElapsedTimer timer;
    timer.start();
    while (::kill(pid, 0) == 0 && timer.elapsed() < timeoutMs)
        QThread::msleep(10);
    ::kill(pid, SIGKILL);
}

} // namespace

SambaServer::SambaServer(const QString &sharedFolder)
{
    const QString smbd = QStandardPaths::findExecutable(QStringLiteral("smbd"), {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    if (smbd.isEmpty()) {
        m_problem = QStringLiteral("smbd is not installed (Debian package samba)");
        return;
    }
    const QString dir = m_dir.path();
    // smbd reaches the share as the guest account: the way there must be open.
    ::chmod(QFile::encodeName(dir).constData(), 0755);
    for (const char *sub : {"private", "lock", "state", "cache", "pid", "ncalrpc", "log", "public"})
        QDir(dir).mkpath(QLatin1String(sub));
    m_share = sharedFolder.isEmpty() ? dir + QStringLiteral("/public") : sharedFolder;
    ::chmod(QFile::encodeName(m_share).constData(), 0777);
    m_port = freePort();

    QFile conf(dir + QStringLiteral("/smb.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("[global]\n"
                              "netbios name = TESTSRV\n"
                              "server role = standalone server\n"
                              "interfaces = 127.0.0.1\n"
                              "bind interfaces only = yes\n"
                              "smb ports = %2\n"
                              "disable netbios = yes\n"
                              "server min protocol = SMB2_02\n"
                              "private dir = %1/private\n"
                              "lock directory = %1/lock\n"
                              "state directory = %1/state\n"
                              "cache directory = %1/cache\n"
                              "pid directory = %1/pid\n"
                              "ncalrpc dir = %1/ncalrpc\n"
                              "log file = %1/log/smbd.log\n"
                              "passdb backend = tdbsam:%1/private/passdb.tdb\n"
                              "map to guest = Bad User\n"
                              "guest account = nobody\n"
                              "load printers = no\n"
                              "printcap name = /dev/null\n"
                              "disable spoolss = yes\n"
                              "rpc start on demand helpers = yes\n"
                              "[public]\n"
                              "path = %3\n"
                              "read only = no\n"
                              "guest ok = yes\n"
                              "guest only = yes\n")
                   .arg(dir)
                   .arg(m_port)
                   .arg(m_share)
                   .toUtf8());
    conf.close();

    // Should the test program die, the server goes with it.
    m_smbd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_smbd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_smbd.setStandardOutputFile(dir + QStringLiteral("/log/stdout"));
    m_smbd.start(smbd, {"--foreground", "-l", dir + "/log", "-s", conf.fileName()});
    if (!m_smbd.waitForStarted(5000)) {
        m_problem = QStringLiteral("smbd did not start: ") + m_smbd.errorString();
        return;
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        TcpSocket probe;
        if (probe.connectTo(QStringLiteral("127.0.0.1"), std::uint16_t(m_port), 200) == TcpSocket::Status::Ok)
            return;
        if (m_smbd.state() != QProcess::Running)
            break;
        QThread::msleep(20);
    }
    QFile log(dir + QStringLiteral("/log/smbd.log"));
    log.open(QIODevice::ReadOnly);
    m_problem = QStringLiteral("smbd did not listen on port %1: %2").arg(m_port).arg(QString::fromUtf8(log.readAll().right(2000)));
    stop();
}

SambaServer::~SambaServer()
{
    stop();
}

QString SambaServer::computer() const
{
    return QStringLiteral("\\\\127.0.0.1:%1").arg(m_port);
}

QByteArray SambaServer::client(const QString &commands) const
{
    QProcess smbclient;
    smbclient.setProcessChannelMode(QProcess::MergedChannels);
    smbclient.start(QStringLiteral("smbclient"), {"//127.0.0.1/public", "-p", QString::number(m_port), "-N",
                                                  "-s", "/dev/null", "-c", commands});
    smbclient.waitForFinished(20000);
    return smbclient.readAll();
}

void SambaServer::stop()
{
    const pid_t pid = pid_t(m_smbd.processId());
    if (pid > 0) {
        // smbd -F makes its own process group: the server and its children.
        ::kill(-pid, SIGTERM);
        if (!m_smbd.waitForFinished(5000)) {
            ::kill(-pid, SIGKILL);
            m_smbd.waitForFinished(2000);
        }
        ::kill(-pid, SIGKILL); // children left behind
    }
    // The on-demand RPC helper leaves for a session of its own; its pid file
    // may be stale, so the process must be ours: its command line names our folder.
    QFile pidFile(m_dir.path() + QStringLiteral("/pid/samba-dcerpcd.pid"));
    if (!m_dir.path().isEmpty() && pidFile.open(QIODevice::ReadOnly)) {
        const pid_t helper = pid_t(pidFile.readAll().trimmed().toInt());
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(helper));
        if (helper > 0 && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(QFile::encodeName(m_dir.path()))) {
            ::kill(-helper, SIGTERM);
            endProcess(helper, 3000);
        }
    }
}
