#include "RunDeviceProgram.h"
#include "TempDevice.h"

#include "platform/StandIns.h"
#include "tools/MailFile.h"

#include <QDir>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Python's MIME parser reads the message written: one attachment, under its name, with every byte of the file.
TEST(MailFile, MessageCarriesTheFileIntact)
{
    TempDevice device;
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    QByteArray data;
    for (int i = 0; i < 3000; ++i)
        data.append(char(i * 7 % 256));
    const QString path = "\\My Documents\\Bericht für Q1.bin";
    device.writeFile(path, data);
    // The host's mail program is handed the attachment.
    device.writeFile("\\mailer.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.part\" && mv \"$0.part\" \"$0.out\"\n");
    QFile::setPermissions(device.host("\\mailer.sh"), QFile::ReadOwner | QFile::ExeOwner);
    qputenv("QUILLMOSS_MAILER", QFile::encodeName(device.host("\\mailer.sh")));
    EXPECT_EQ(runDeviceProgram(u"\\Windows\\tmail.exe", MailCommandLine(path)), 0);
    qunsetenv("QUILLMOSS_MAILER");
    const QStringList messages = QDir(device.dir() + "/outbox").entryList({"*.eml"}, QDir::Files);
    ASSERT_EQ(messages.size(), 1);
    QProcess python;
    python.start("python3", {"-c", R"(
import email, email.policy, sys
m = email.message_from_binary_file(open(sys.argv[1], 'rb'), policy=email.policy.default)
parts = list(m.iter_attachments())
print(bool(m['From'] and m['Date']), len(parts), parts[0].get_filename(),
      sum(len(p.defects) for p in m.walk()), sep='|', flush=True)
sys.stdout.buffer.write(parts[0].get_payload(decode=True))
)", device.dir() + "/outbox/" + messages.value(0)});
    ASSERT_TRUE(python.waitForFinished(20000));
    const QByteArray output = python.readAllStandardOutput();
    const qsizetype end = output.indexOf('\n');
    EXPECT_EQ(QString::fromUtf8(output.left(end)), "True|1|Bericht für Q1.bin|0")
        << python.readAllStandardError().constData();
    EXPECT_EQ(output.mid(end + 1), data);
    for (int i = 0; i < 200 && !device.exists("\\mailer.sh.out"); ++i)
        QThread::msleep(50);
    EXPECT_EQ(device.readFile("\\mailer.sh.out"), "--attach|" + QFile::encodeName(device.host(path)) + '|');
}

} // namespace
