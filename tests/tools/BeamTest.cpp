#include "QtApp.h"
#include "RecordingLauncher.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "obex/ObexPacket.h"
#include "platform/Files.h"
#include "platform/StandIns.h"
#include "tools/IrTransfer.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

struct PaintCounter : QWidget { int paints = 0; void paintEvent(QPaintEvent *) override { ++paints; } };

// Two devices, a and b, beaming over a free port on loopback; b is current.
// Every stand-in run must end within the test's limits.
class Beam : public WithQtApp, public ::testing::Test
{
protected:
    Beam()
    {
        TcpListener probe;
        port = probe.listen("127.0.0.1", 0) ? probe.port() : 0;
        qputenv("QUILLMOSS_IR_PORT", QByteArray::number(port));
        qputenv("QUILLMOSS_IR_WAIT", "10");
        qputenv("QUILLMOSS_IR_IDLE", "1");
        for (TempDevice *device : {&a, &b})
            EXPECT_TRUE(StandIns::install(device->device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    }
    ~Beam() override
    {
        for (const char *name : {"QUILLMOSS_IR_PORT", "QUILLMOSS_IR_WAIT", "QUILLMOSS_IR_IDLE", "QUILLMOSS_IR_MAX_BYTES"})
            qunsetenv(name);
    }

    // Runs the beam program of device as the device starts it.
    std::unique_ptr<QProcess> irsquirt(TempDevice &device, const QString &commandLine = QString())
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMOSS_DEVICE", device.dir());
        environment.insert("QUILLMOSS_COMMAND_LINE", commandLine);
        process->setProcessEnvironment(environment);
        process->start(qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/irsquirt", {});
        return process;
    }
    // A process whose end the event loop already saw makes waitForFinished false.
    static int exitCode(QProcess &process)
    {
        process.waitForFinished(20000);
        const bool ended = process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
        return ended ? process.exitCode() : -1;
    }
    // Nothing half-received is left on a: its root holds just rootFiles.
    void expectNoLeftovers(const QStringList &rootFiles = {})
    {
        EXPECT_TRUE(QDir(a.host("\\Temp")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        EXPECT_EQ(QDir(a.host("\\")).entryList(QDir::Files | QDir::Hidden), rootFiles);
    }

    TempDevice a, b;
    quint16 port = 0;
    ScriptedSink sink;
};

// A folder walk beams each file as one run of the program on either side, the receivers on a one after the
// other, after asking; both files are called f.bin and the second arrival must not replace the first; cancel
// ends the whole walk. Then files from the device's own sender and from obexftp, a standard OBEX client,
// arrive under hostile names: whole, marked, and never replacing a file.
TEST_F(Beam, FolderWalksAskForEachFileAndReceivedFilesArriveWholeUnderSafeNames)
{
    const QByteArray big = randomBytes(1 << 20);
    b.writeFile("\\Docs\\f.bin", "top");
    b.writeFile("\\Docs\\sub\\f.bin", big);
    b.make({"\\Docs\\empty\\"});
    std::vector<std::unique_ptr<QProcess>> receivers;
    std::function<void()> receive = [&] {
        receivers.push_back(irsquirt(a));
        if (receivers.size() < 2)
            QObject::connect(receivers.back().get(), &QProcess::finished, receive);
    };
    receive();
    for (int answer : {IDOK, IDOK, IDCANCEL})
        sink.expect("Send file 'f.bin'?", "Quillmoss", MB_OKCANCEL | MB_ICONQUESTION, answer);
    EXPECT_TRUE(IrTransfer::SendFolder(nullptr, "\\Docs\\"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return receivers.size() == 2; }));
    EXPECT_EQ(exitCode(*receivers.back()), 0);
    const QList<QByteArray> arrived = {a.readFile("\\f.bin"), a.readFile("\\f (1).bin")};
    EXPECT_TRUE(arrived.contains(big) && arrived.contains("top"));
    {
        RecordingLauncher launcher;
        EXPECT_FALSE(IrTransfer::SendFolder(nullptr, "\\Docs\\"));
        EXPECT_TRUE(launcher.starts().isEmpty());
    }
    CurrentDevice onA(a.device());
    a.make({"\\old.txt"}, "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\old.txt", FILE_ATTRIBUTE_ARCHIVE));
    const QByteArray photo = randomBytes(3 << 20);
    b.writeFile("\\My Documents\\photo  1.jpg", photo);
    b.writeFile("\\big", big);
    b.writeFile("\\small", "small");
    PaintCounter window;
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.paints > 0; }));
    const int paints = window.paints;
    window.update();
    auto sender = irsquirt(b, "\\My Documents\\photo  1.jpg");
    IrTransfer::Receive(nullptr, "\\My Documents\\");
    EXPECT_GT(window.paints, paints) << "painted while waiting";
    EXPECT_EQ(exitCode(*sender), 0);
    EXPECT_EQ(a.readFile("\\My Documents\\photo  1.jpg"), photo);
    EXPECT_TRUE(GetFileAttributesW(u"\\My Documents\\photo  1.jpg") & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesW(u"\\old.txt") & FILE_ATTRIBUTE_ARCHIVE, 0u) << "old entries stay, unmarked";
    expectNoLeftovers({"f (1).bin", "f.bin", "old.txt"});
    auto receiver = irsquirt(a);
    // The receiver's name table is the codec's test; here one name reaching out is enough.
    const QStringList arguments = {"-n", QString("127.0.0.1:%1").arg(port), "-U", "none", "-H", "-S",
                                   "-o", "../../x", "-p", b.host("\\big"), "-o", "old.txt", "-p", b.host("\\small")};
    // obexftp fails with 1 while our receiver is not listening yet.
    int code = 1;
    for (int i = 0; i < 50 && code == 1 && receiver->state() != QProcess::NotRunning; ++i) {
        QThread::msleep(100);
        code = QProcess::execute("obexftp", arguments);
    }
    EXPECT_EQ(exitCode(*receiver), 0);
    EXPECT_EQ(a.readFile("\\x"), big);
    EXPECT_EQ(a.readFile("\\old.txt"), "keep");
    EXPECT_EQ(a.readFile("\\old (1).txt"), "small");
    EXPECT_TRUE(GetFileAttributesW(u"\\old (1).txt") & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(QFileInfo::exists(a.dir() + "/x") || QFileInfo::exists(a.dir() + "/../x"));
    expectNoLeftovers({"f (1).bin", "f.bin", "old (1).txt", "old.txt", "x"});
}

// A peer that goes away or falls silent inside a file, or sends more than the size cap: the receiver fails
// and leaves no partial file. Nobody coming at all, or a receiver that never answers, fails too.
TEST_F(Beam, UnfinishedFilesLeaveNothingAndSilentPeersFail)
{
    qputenv("QUILLMOSS_IR_MAX_BYTES", "1000");
    enum Peer { Vanishes, FallsSilent, SendsTooMuch };
    for (const Peer peer : {Vanishes, FallsSilent, SendsTooMuch}) {
        auto receiver = irsquirt(a);
        TcpSocket socket;
        for (int i = 0; i < 100 && socket.connectTo("127.0.0.1", port, 1000) != TcpSocket::Status::Ok; ++i)
            QThread::msleep(50);
        QByteArray answer;
        const auto exchange = [&](Obex::PacketWriter request) {
            EXPECT_EQ(socket.write(request.packet(), 1000), TcpSocket::Status::Ok);
            return Obex::readPacket(socket, answer, Obex::MaxPacket, 5000) == TcpSocket::Status::Ok ? answer[0] : 0;
        };
        EXPECT_EQ(exchange(Obex::PacketWriter(Obex::Connect).fields(Obex::connectFields())), char(Obex::Success));
        const QByteArray part(600, 'p');
        EXPECT_EQ(exchange(Obex::PacketWriter(Obex::Put).text(Obex::Name, "half.bin").bytes(Obex::Body, part)),
                  char(Obex::Continue));
        if (peer == Vanishes)
            socket.close();
        if (peer == SendsTooMuch) {
            EXPECT_EQ(exchange(Obex::PacketWriter(Obex::PutFinal).bytes(Obex::EndOfBody, part)), char(Obex::TooLarge));
        }
        EXPECT_EQ(exitCode(*receiver), 2) << peer;
        expectNoLeftovers();
    }
    qputenv("QUILLMOSS_IR_WAIT", "0.3");
    EXPECT_EQ(exitCode(*irsquirt(a)), 1) << "nobody came";
    TcpListener silent; // takes connections, never answers
    ASSERT_TRUE(silent.listen("127.0.0.1", port));
    b.writeFile("\\f.txt", "x");
    EXPECT_EQ(exitCode(*irsquirt(b, "\\f.txt")), 2);
}

} // namespace
