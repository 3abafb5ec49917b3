#include "../platform/PlatformTestUtil.h"
#include "SambaServer.h"
#include "TempDevice.h"

#include "platform/DeviceFileReader.h"
#include "platform/FileTime.h"
#include "platform/TcpSocket.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <sys/stat.h>

namespace {

QByteArray randomBytes(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

// Copies a folder tree through the platform calls only.
void copyTree(const QString &from, const QString &to)
{
    ASSERT_TRUE(CreateDirectoryW(wide(to), nullptr)) << to.toStdString() << " " << GetLastError();
    DWORD error = 0;
    QHash<QString, DWORD> entries;
    findNames(from + "\\*", &error, &entries);
    EXPECT_EQ(error, DWORD(ERROR_NO_MORE_FILES)) << from.toStdString();
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        const QString name = "\\" + entry.key();
        if (entry.value() & FILE_ATTRIBUTE_DIRECTORY)
            copyTree(from + name, to + name);
        else
            EXPECT_TRUE(CopyFileW(wide(from + name), wide(to + name), TRUE)) << GetLastError();
    }
}

// The attribute word smbclient's allinfo reports for name.
unsigned sambaAttributes(const SambaServer &server, const QString &name)
{
    const QByteArray out = server.client("allinfo \"" + name + "\"");
    const auto match = QRegularExpression("attributes: \\S* \\(([0-9a-f]+)\\)").match(QString::fromUtf8(out));
    return match.hasMatch() ? match.captured(1).toUInt(nullptr, 16) : 0xFFFFFFFF;
}

class SmbShareTest : public ::testing::Test
{
protected:
    QString share() const { return server.computer() + "\\public"; }
    // A file as the server holds it.
    QByteArray onServer(const QString &path) const
    {
        QFile file(server.shareFolder() + path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
    TempDevice t;
    SambaServer server;
};

TEST_F(SmbShareTest, ListsDiskSharesAndCopiesAFolderInAndOut)
{
    REQUIRE_SAMBA(server);
    EXPECT_EQ(findNames(server.computer() + "\\*"), QStringList({"public"})) << "IPC$ is no disk share";
    EXPECT_EQ(GetFileAttributesW(wide(share())), FILE_ATTRIBUTE_DIRECTORY);
    const QByteArray small = randomBytes(100000), big = randomBytes(5 << 20); // more than one block
    t.writeFile("\\src\\a.txt", small);
    t.writeFile("\\src\\sub\\b.bin", big);
    t.make({"\\src\\empty\\"});
    copyTree("\\src", share() + "\\src");
    EXPECT_EQ(findNames(share() + "\\src\\*"), QStringList({"a.txt", "empty", "sub"}));
    EXPECT_TRUE(onServer("/src/sub/b.bin") == big) << "the server holds the very bytes";
    copyTree(share() + "\\src", "\\back");
    EXPECT_TRUE(t.readFile("\\back\\a.txt") == small && t.readFile("\\back\\sub\\b.bin") == big
                && QDir(t.host("\\back\\empty")).exists());
    WIN32_FIND_DATAW there, back;
    ASSERT_TRUE(findOne(share() + "\\src\\a.txt", there) && findOne("\\back\\a.txt", back));
    EXPECT_EQ(back.nFileSizeLow, DWORD(small.size()));
    EXPECT_EQ(FileTime::ticks(back.ftLastWriteTime) / FileTime::TicksPerSecond,
              FileTime::ticks(there.ftLastWriteTime) / FileTime::TicksPerSecond) << "copies keep the write time";
    DeviceFileReader reader; // what a content search reads with
    ASSERT_EQ(reader.open(share() + "\\src", "a.txt"), ERROR_SUCCESS);
    QByteArray read(small.size() + 1, 0);
    EXPECT_EQ(reader.read(read.data(), std::size_t(read.size())), small.size());
    EXPECT_TRUE(read.left(small.size()) == small);
    QDirIterator leftovers(server.shareFolder(), {".~qm*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_FALSE(leftovers.hasNext()) << "no temporary file is left";
    // A handle read to its end through the share, one that replaces a file.
    const HANDLE file = openFile(share() + "\\src\\sub\\b.bin", GENERIC_READ);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0, got = 0;
    // The size, then the position 10 bytes before the end.
    EXPECT_EQ((std::vector<DWORD>{GetFileSize(file, &high), SetFilePointer(file, -10, nullptr, FILE_END)}),
              (std::vector<DWORD>{DWORD(big.size()), DWORD(big.size() - 10)}));
    char tail[20];
    EXPECT_TRUE(ReadFile(file, tail, sizeof tail, &got, nullptr) && CloseHandle(file));
    EXPECT_EQ(QByteArray(tail, int(got)), big.right(10));
    const HANDLE written = openFile(share() + "\\src\\a.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(written, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(WriteFile(written, "new", 3, &got, nullptr) && got == 3 && CloseHandle(written));
    EXPECT_EQ(onServer("/src/a.txt"), "new") << "CREATE_ALWAYS truncates";
}

// The device's rules and errors over a share, and the attributes Samba keeps.
TEST_F(SmbShareTest, RenamesDeletesReportsTheDevicesErrorsAndAgreesOnAttributes)
{
    REQUIRE_SAMBA(server);
    const QString s = share();
    t.writeFile("\\a.txt", "first");
    t.writeFile("\\b.txt", "second");
    ASSERT_TRUE(CreateDirectoryW(wide(s + "\\dir"), nullptr) && CopyFileW(u"\\a.txt", wide(s + "\\dir\\a.txt"), TRUE)
                && CopyFileW(u"\\b.txt", wide(s + "\\dir\\b.txt"), TRUE));
    expectRefused({REFUSES(MoveFileW(wide(s + "\\dir\\a.txt"), wide(s + "\\dir\\b.txt")), ERROR_ALREADY_EXISTS)});
    EXPECT_EQ(onServer("/dir/b.txt"), "second") << "a refused rename leaves the target alone";
    EXPECT_TRUE(MoveFileW(wide(s + "\\dir\\a.txt"), wide(s + "\\dir\\A.TXT"))
                && MoveFileW(wide(s + "\\dir\\A.TXT"), wide(s + "\\c.txt")));
    EXPECT_EQ(findNames(s + "\\dir\\*"), QStringList({"b.txt"}));
    EXPECT_TRUE(MoveFileW(wide(s + "\\c.txt"), u"\\moved.txt")) << "a move out of the share";
    EXPECT_EQ(t.readFile("\\moved.txt"), "first");
    EXPECT_EQ(GetFileAttributesW(wide(s + "\\c.txt")), INVALID_FILE_ATTRIBUTES);
    expectRefused({
        REFUSES(hasAttributes(s + "\\missing"), ERROR_FILE_NOT_FOUND),
        REFUSES(DeleteFileW(wide(s + "\\nodir\\x")), ERROR_PATH_NOT_FOUND),
        REFUSES(FindExists(wide(s + "\\dir\\*.none")), ERROR_FILE_NOT_FOUND),
        REFUSES(CreateDirectoryW(wide(s + "\\dir"), nullptr), ERROR_ALREADY_EXISTS),
        REFUSES(RemoveDirectoryW(wide(s + "\\dir")), ERROR_DIR_NOT_EMPTY),
        REFUSES(RemoveDirectoryW(wide(s + "\\dir\\b.txt")), ERROR_DIRECTORY),
        REFUSES(DeleteFileW(wide(s + "\\dir")), ERROR_ACCESS_DENIED),
        REFUSES(opens(s + "\\dir\\b.txt", GENERIC_WRITE, CREATE_NEW), ERROR_FILE_EXISTS),
        REFUSES(CopyFileW(u"\\b.txt", wide(s + "\\dir\\b.txt"), TRUE), ERROR_FILE_EXISTS),
        REFUSES(MoveFileW(u"\\b.txt", wide(s + "\\dir\\b.txt")), ERROR_ALREADY_EXISTS),
        REFUSES(MoveFileW(wide(s + "\\nothing"), u"\\x"), ERROR_FILE_NOT_FOUND),
        REFUSES(hasAttributes(s + "\\..\\x"), ERROR_INVALID_NAME),
    });
    EXPECT_EQ(t.readFile("\\b.txt"), "second");
    EXPECT_TRUE(DeleteFileW(wide(s + "\\dir\\b.txt")) && RemoveDirectoryW(wide(s + "\\dir")));
    EXPECT_FALSE(QDir(server.shareFolder() + "/dir").exists());
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(wide(s), &available, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(available.QuadPart, total.QuadPart);
    ASSERT_TRUE(opens(s + "\\set.txt", GENERIC_WRITE, CREATE_NEW) && opens(s + "\\shown.txt", GENERIC_WRITE, CREATE_NEW)
                && CreateDirectoryW(wide(s + "\\folder"), nullptr));
    const DWORD hidden = FILE_ATTRIBUTE_HIDDEN, system = FILE_ATTRIBUTE_SYSTEM, readOnly = FILE_ATTRIBUTE_READONLY;
    for (const DWORD bits : {hidden | system | readOnly, DWORD(FILE_ATTRIBUTE_ARCHIVE)}) {
        ASSERT_TRUE(SetFileAttributesW(wide(s + "\\set.txt"), bits));
        EXPECT_EQ(sambaAttributes(server, "set.txt"), bits);
    }
    server.client("setmode shown.txt -a; setmode shown.txt +hr; setmode folder +s");
    QHash<QString, DWORD> listed;
    findNames(s + "\\*", nullptr, &listed);
    EXPECT_EQ((std::vector<DWORD>{GetFileAttributesW(wide(s + "\\shown.txt")), listed.value("shown.txt"),
                                  GetFileAttributesW(wide(s + "\\folder")), listed.value("folder")}),
              (std::vector<DWORD>{hidden | readOnly, hidden | readOnly, FILE_ATTRIBUTE_DIRECTORY | system,
                                  FILE_ATTRIBUTE_DIRECTORY | system}));
    // Read-only refuses delete, as on the device.
    expectRefused({REFUSES(DeleteFileW(wide(s + "\\shown.txt")), ERROR_ACCESS_DENIED)});
}

TEST(SmbDeviceFolder, AttributesSetOnTheDeviceAreWhatSambaServes)
{
    TempDevice t;
    t.make({"\\Shared\\d.txt"});
    // The guest account must be able to reach the device folder.
    for (const QString &dir : {t.dir(), t.device().storeRoot(), t.host("\\Shared")})
        ::chmod(QFile::encodeName(dir).constData(), 0777);
    SambaServer server(t.host("\\Shared"));
    REQUIRE_SAMBA(server);
    const DWORD bits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(u"\\Shared\\d.txt", bits));
    const DWORD served = GetFileAttributesW(wide(server.computer() + "\\public\\d.txt"));
    EXPECT_EQ(std::pair(sambaAttributes(server, "d.txt"), served), std::pair(bits, bits));
}

TEST(SmbUnreachable, AComputerThatDoesNotAnswerFailsWithinTheBound)
{
    TempDevice t;
    TcpListener silent; // accepts connections (the kernel does) and never says a word
    ASSERT_TRUE(silent.listen("127.0.0.1", 0));
    TcpListener closed;
    ASSERT_TRUE(closed.listen("127.0.0.1", 0));
    const int nothing = closed.port();
    closed = TcpListener(); // nothing listens there now
    for (const int port : {int(silent.port()), nothing}) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            QElapsedTimer timer;
            timer.start();
            expectRefused({REFUSES(finds(QString("\\\\127.0.0.1:%1\\*").arg(port)), ERROR_BAD_NETPATH)});
            EXPECT_LT(timer.elapsed(), attempt == 0 ? 10000 : 1000) << port << ": a second try does not wait again";
        }
    }
}

} // namespace
