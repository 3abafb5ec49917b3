#include "SambaServer.h"
#include "HostFile.h"

#include "platform/TcpSocket.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

SambaServer::SambaServer(const QString &sharedFolder)
{
    const QString smbd = QStandardPaths::findExecutable("smbd", {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    if (smbd.isEmpty()) {
        m_problem = "smbd is not installed (Debian package samba)";
        return;
    }
    const QString dir = m_dir.path();
    // smbd reaches the share as the guest account: the way there must be open.
    ::chmod(QFile::encodeName(dir).constData(), 0755);
    for (const char *sub : {"private", "lock", "state", "cache", "pid", "ncalrpc", "log", "public"})
        QDir(dir).mkpath(sub);
    m_share = sharedFolder.isEmpty() ? dir + "/public" : sharedFolder;
    ::chmod(QFile::encodeName(m_share).constData(), 0777);
    {
        TcpListener free;
        m_port = free.listen("127.0.0.1", 0) ? free.port() : 0;
    }
    QFile conf(dir + "/smb.conf");
    conf.open(QIODevice::WriteOnly);
    conf.write(QString("[global]\nnetbios name = TESTSRV\nserver role = standalone server\n"
                       "interfaces = 127.0.0.1\nbind interfaces only = yes\nsmb ports = %2\n"
                       "disable netbios = yes\nserver min protocol = SMB2_02\n"
                       "private dir = %1/private\nlock directory = %1/lock\nstate directory = %1/state\n"
                       "cache directory = %1/cache\npid directory = %1/pid\nncalrpc dir = %1/ncalrpc\n"
                       "log file = %1/log/smbd.log\npassdb backend = tdbsam:%1/private/passdb.tdb\n"
                       "map to guest = Bad User\nguest account = nobody\n"
                       "load printers = no\nprintcap name = /dev/null\ndisable spoolss = yes\n"
                       "rpc start on demand helpers = yes\n"
                       "[public]\npath = %3\nread only = no\nguest ok = yes\nguest only = yes\n")
                   .arg(dir).arg(m_port).arg(m_share).toUtf8());
    conf.close();

    // Should the test program die, the server goes with it.
    m_smbd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_smbd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_smbd.setStandardOutputFile(dir + "/log/stdout");
    m_smbd.start(smbd, {"--foreground", "-l", dir + "/log", "-s", conf.fileName()});
    if (!m_smbd.waitForStarted(5000)) {
        m_problem = "smbd did not start: " + m_smbd.errorString();
        return;
    }
    for (int i = 0; i < 500; ++i) { // about ten seconds
        TcpSocket probe;
        if (probe.connectTo("127.0.0.1", std::uint16_t(m_port), 200) == TcpSocket::Status::Ok) {
            startRpcHelpers();
            return;
        }
        if (m_smbd.state() != QProcess::Running)
            break;
        QThread::msleep(20);
    }
    const QByteArray log = readHost(dir + "/log/smbd.log").right(2000);
    m_problem = QString("smbd did not listen on port %1: %2").arg(m_port).arg(QString::fromUtf8(log));
    stop();
}

SambaServer::~SambaServer() { stop(); }

// The share list comes from RPC helpers smbd starts on the first request; on
// a busy machine that first request can outlast a client's deadline, so the
// tests get a server that has answered one already.
void SambaServer::startRpcHelpers()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        QProcess list;
        list.setProcessChannelMode(QProcess::MergedChannels);
        list.start("smbclient", {"-L", "//127.0.0.1", "-p", QString::number(m_port), "-N", "-s", "/dev/null"});
        if (list.waitForFinished(20000) && list.readAll().contains("public"))
            return;
    }
    m_problem = "smbd did not list its shares";
}

QByteArray SambaServer::client(const QString &commands) const
{
    QProcess smbclient;
    smbclient.setProcessChannelMode(QProcess::MergedChannels);
    smbclient.start("smbclient",
                    {"//127.0.0.1/public", "-p", QString::number(m_port), "-N", "-s", "/dev/null", "-c", commands});
    smbclient.waitForFinished(20000);
    return smbclient.readAll();
}

void SambaServer::stop()
{
    const pid_t pid = pid_t(m_smbd.processId());
    if (pid > 0) {
        // smbd -F makes its own process group: the server and its children.
        ::kill(-pid, SIGTERM);
        m_smbd.waitForFinished(5000);
        ::kill(-pid, SIGKILL); // whatever of the group is left
        m_smbd.waitForFinished(2000);
    }
    // The on-demand RPC helper leaves for a session of its own; its pid file
    // may be stale, so the process must be ours: its command line names our folder.
    QFile pidFile(m_dir.path() + "/pid/samba-dcerpcd.pid");
    if (!m_dir.path().isEmpty() && pidFile.open(QIODevice::ReadOnly)) {
        const pid_t helper = pid_t(pidFile.readAll().trimmed().toInt());
        QFile commandLine(QString("/proc/%1/cmdline").arg(helper));
        if (helper > 0 && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(QFile::encodeName(m_dir.path()))) {
            // Not our child: wait for it to go, then make sure.
            ::kill(-helper, SIGTERM);
            ::kill(helper, SIGTERM);
            for (int i = 0; i < 300 && ::kill(helper, 0) == 0; ++i)
                QThread::msleep(10);
            ::kill(helper, SIGKILL);
        }
    }
}
