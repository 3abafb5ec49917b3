// A real Samba server on loopback for one test: smbd with its own smb.conf in
// a temporary folder (nothing written to /etc, /var or /run), a free high
// port and one guest share "public" with write access. Stops smbd's process
// group and its on-demand samba-dcerpcd when destroyed.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SambaServer
{
public:
    // Shares sharedFolder, or a new empty folder when it is empty. A shared
    // folder must be reachable by the guest account nobody.
    explicit SambaServer(const QString &sharedFolder = QString());
    ~SambaServer();

    // Empty when running; else why not (for GTEST_SKIP or a failure).
    const QString &problem() const { return m_problem; }
    // "\\127.0.0.1:PORT" as the device writes it.
    QString computer() const { return QString("\\\\127.0.0.1:%1").arg(m_port); }
    // The host folder behind "public".
    const QString &shareFolder() const { return m_share; }
    // Runs smbclient on the share with commands (its -c argument); its output.
    QByteArray client(const QString &commands) const;

private:
    void startRpcHelpers();
    void stop();

    QTemporaryDir m_dir;
    QString m_share;
    QProcess m_smbd;
    int m_port = 0;
    QString m_problem;
};

// Skips the test when smbd is not installed; fails it when smbd would not start.
#define REQUIRE_SAMBA(server)                                                                                          \
    do {                                                                                                               \
        if ((server).problem().startsWith("smbd is not installed"))                                                   \
            GTEST_SKIP() << (server).problem().toStdString();                                                          \
        ASSERT_TRUE((server).problem().isEmpty()) << (server).problem().toStdString();                               \
    } while (0)
