#include "HostFile.h"

#include "cabinstall/CabinetReader.h"
#include "cabinstall/SetupFileReader.h"
#include "package/LittleEndian.h"
#include "package/QuillmossPackage.h"
#include "platform/Desktop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Built = qEnvironmentVariable("QUILLMOSS_BIN_DIR") + '/';

struct ToolRun { int exit; QByteArray out, err; };

// Runs a command line whose words are separated by single spaces; "%c" and "%d" stand for cab and dir.
ToolRun run(const QString &line, const QString &cab = {}, const QString &dir = {})
{
    QStringList words = line.split(' ');
    words.replaceInStrings("%c", cab).replaceInStrings("%d", dir);
    QProcess process;
    process.start(words[0], words.mid(1));
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Blocks end with one, two and three bytes left, and one member spans two blocks.
QList<CabMember> edgeMembers()
{
    const QDateTime time(QDate(2023, 11, 14), QTime(22, 13, 20));
    return {{"a.001", "x", time}, {"b.002", "xy", time}, {"c.003", QByteArray(32768 + 3, 'z'), time}};
}

// Every outside reader lists and tests the cabinets and extracts exactly our bytes.
TEST(Package, OutsideToolsAcceptItsFilesAndOurReadersRefuseDamagedOnes)
{
    QTemporaryDir dir;
    const QString edge = dir.filePath("edge.cab");
    ASSERT_TRUE(Desktop::writeFile(edge, Cabinet::write(edgeMembers())));
    const QList<CabMember> package = {{"Quillmos.000", QuillmossPackage::setupFile().write(), {}},
                                      {"quillmos.001", readHost(Built + "quillmoss"), {}}};
    const struct { const char *list, *extract; } tools[] = {
        {"cabextract -t %c", "cabextract -q -d %d %c"}, {"gcab -l %c", "gcab -x -C %d %c"}, {"bsdtar -tf %c", "bsdtar -xf %c -C %d"}};
    int n = 0;
    for (const auto &[cab, members] : {std::pair{Built + "package/Quillmoss.CAB", package}, {edge, edgeMembers()}}) {
        for (const auto &tool : tools) {
            const ToolRun listed = run(tool.list, cab);
            EXPECT_EQ(listed.exit, 0) << tool.list << listed.err.toStdString();
            const QString out = dir.filePath(QString::number(n++));
            QDir().mkpath(out);
            EXPECT_EQ(run(tool.extract, cab, out).exit, 0) << tool.extract;
            for (const CabMember &member : members) {
                EXPECT_TRUE(listed.out.contains(member.name)) << tool.list;
                EXPECT_TRUE(readHost(out + '/' + member.name) == member.data) << tool.extract << " " << member.name.toStdString();
            }
        }
        QList<CabMember> read;
        QString error;
        ASSERT_TRUE(CabinetReader::read(readHost(cab), read, error)) << error.toStdString();
        ASSERT_EQ(read.size(), members.size());
        for (qsizetype i = 0; i < read.size(); ++i)
            EXPECT_TRUE(read[i].name == members[i].name && read[i].data == members[i].data);
    }
    EXPECT_EQ(run("file -b %d", {}, dir.filePath("0/Quillmos.000")).out,
              "Microsoft WinCE install header, StrongARM, 1 file, 6 registry entries\n");
    // The package's icon and application manager description beside the cabinet.
    const ToolRun icon = run("icotool -l %c", Built + "package/Quillmoss.ico");
    EXPECT_EQ(icon.out, "--icon --index=1 --width=16 --height=16 --bit-depth=8 --palette-size=256\n"
                        "--icon --index=2 --width=32 --height=32 --bit-depth=8 --palette-size=256\n");
    EXPECT_EQ(icon.err, "");
    EXPECT_EQ(readHost(Built + "package/Quillmoss.ini"),
              "; Brindlecove Quillmoss for Pocket PC: application manager description\r\n\r\n"
              "[CEAppManager]\r\nVersion = 1.0\r\nComponent = Quillmoss\r\n\r\n"
              "[Quillmoss]\r\nDescription = Quillmoss\r\nIconFile = Quillmoss.ico\r\nIconIndex = 0\r\n"
              "DeviceFile = quillmoss.exe\r\nCabFiles = \"Quillmoss.CAB\"\r\nUninstall = Quillmoss ");
    // Our readers refuse damaged and hostile cabinets and setup files, whose header sized() makes agree
    // with their length so that only the fault shows.
    const auto sized = [](QByteArray cab) {
        QByteArray le;
        appendU32(le, quint32(cab.size()));
        return cab.replace(8, 4, le);
    };
    const QByteArray good = Cabinet::write(edgeMembers());
    const auto patched = [&](qsizetype offset, QByteArray bytes) { return QByteArray(good).replace(offset, bytes.size(), bytes); };
    const auto named = [](const QByteArray &name) { return Cabinet::write({{name, "x", {}}}); };
    const QByteArray empty = Cabinet::write({{"a.001", "", {}}}); // its entries end the file
    const auto refusal = [](const QByteArray &cab) {
        QList<CabMember> members;
        QString error;
        return CabinetReader::read(cab, members, error) ? std::string("accepted") : error.toStdString();
    };
    const struct { const char *what; QByteArray cab; const char *error; } cases[] = {
        {"cut short", good.chopped(1), "The cabinet is truncated."},
        {"cut in the entries", sized(good.left(60)), "The cabinet is truncated."},
        {"file count 65535", QByteArray(empty).replace(28, 2, "\xff\xff"), "The cabinet is truncated."},
        {"block count 65535", sized(patched(40, "\xff\xff")), "The cabinet is truncated."},
        {"data byte flipped", patched(good.size() - 1, "Y"), "The cabinet has a checksum error."},
        {"member past the data", patched(88, QByteArray::fromHex("00001000")), "The cabinet's files do not match its data."},
        {"not a cabinet", "MSCF", "This is not a cabinet file."},
        {"a long name", named(QByteArray(256, 'n')), "The cabinet is truncated or holds a name that is too long."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.cab), c.error) << c.what;
    for (const QByteArray &name : QByteArrayList{"..\\x", "\\x", "a\\..\\b", "C:\\x", "/etc/x", "a\\\\b", "."})
        EXPECT_EQ(refusal(named(name)), "The cabinet holds a member whose name leads outside its folder.") << name.toStdString();
    // The setup file inside reads back as written, and cut short is refused.
    const SetupFile setup = QuillmossPackage::setupFile();
    const QByteArray bytes = setup.write();
    SetupFile read;
    QString error;
    ASSERT_TRUE(SetupFileReader::read(bytes, read, error)) << error.toStdString();
    EXPECT_TRUE(read == setup);
    for (qsizetype size : {qsizetype(99), bytes.size() - 1, qsizetype(200)}) {
        EXPECT_FALSE(SetupFileReader::read(sized(bytes.left(size)), read, error)) << size;
        EXPECT_EQ(error, "The setup file is damaged.");
    }
}

} // namespace
