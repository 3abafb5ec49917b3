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
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(from + "\\*"), &data);
    if (find == INVALID_HANDLE_VALUE) {
        ASSERT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES)) << from.toStdString();
        return;
    }
    do {
        const QString name = fromWide(data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copyTree(from + "\\" + name, to + "\\" + name);
        else
            EXPECT_TRUE(CopyFileW(wide(from + "\\" + name), wide(to + "\\" + name), TRUE)) << GetLastError();
    } while (FindNextFileW(find, &data));
    FindClose(find);
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
    QFile onServer(server.shareFolder() + "/src/sub/b.bin");
    ASSERT_TRUE(onServer.open(QIODevice::ReadOnly));
    EXPECT_TRUE(onServer.readAll() == big) << "the server holds the very bytes";

    copyTree(share() + "\\src", "\\back");
    EXPECT_TRUE(t.readFile("\\back\\a.txt") == small);
    EXPECT_TRUE(t.readFile("\\back\\sub\\b.bin") == big);
    EXPECT_TRUE(QDir(t.host("\\back\\empty")).exists());
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

    // A handle read to its end through the share.
    const HANDLE file = CreateFileW(wide(share() + "\\src\\sub\\b.bin"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), DWORD(big.size()));
    EXPECT_EQ(SetFilePointer(file, -10, nullptr, FILE_END), DWORD(big.size() - 10));
    char tail[20];
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(file, tail, sizeof tail, &got, nullptr));
    EXPECT_EQ(QByteArray(tail, int(got)), big.right(10));
    EXPECT_TRUE(CloseHandle(file));

    const HANDLE written = CreateFileW(wide(share() + "\\src\\a.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(written, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(WriteFile(written, "new", 3, &got, nullptr) && got == 3);
    EXPECT_TRUE(CloseHandle(written));
    QFile rewritten(server.shareFolder() + "/src/a.txt");
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    EXPECT_EQ(rewritten.readAll(), "new") << "CREATE_ALWAYS truncates";
}

TEST_F(SmbShareTest, RenamesDeletesAndReportsTheDevicesErrors)
{
    REQUIRE_SAMBA(server);
    const QString s = share();
    t.writeFile("\\a.txt", "first");
    t.writeFile("\\b.txt", "second");
    ASSERT_TRUE(CreateDirectoryW(wide(s + "\\dir"), nullptr));
    ASSERT_TRUE(CopyFileW(u"\\a.txt", wide(s + "\\dir\\a.txt"), TRUE));
    ASSERT_TRUE(CopyFileW(u"\\b.txt", wide(s + "\\dir\\b.txt"), TRUE));

    EXPECT_FALSE(MoveFileW(wide(s + "\\dir\\a.txt"), wide(s + "\\dir\\b.txt")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    QFile kept(server.shareFolder() + "/dir/b.txt");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "second") << "a refused rename leaves the target alone";
    EXPECT_TRUE(MoveFileW(wide(s + "\\dir\\a.txt"), wide(s + "\\dir\\A.TXT")));
    EXPECT_TRUE(MoveFileW(wide(s + "\\dir\\A.TXT"), wide(s + "\\c.txt")));
    EXPECT_EQ(findNames(s + "\\dir\\*"), QStringList({"b.txt"}));
    EXPECT_TRUE(MoveFileW(wide(s + "\\c.txt"), u"\\moved.txt")) << "a move out of the share";
    EXPECT_EQ(t.readFile("\\moved.txt"), "first");
    EXPECT_EQ(GetFileAttributesW(wide(s + "\\c.txt")), INVALID_FILE_ATTRIBUTES);

    const struct {
        std::function<BOOL()> call;
        DWORD error;
    } failures[] = {
        {[&] { return GetFileAttributesW(wide(s + "\\missing")) != INVALID_FILE_ATTRIBUTES; }, ERROR_FILE_NOT_FOUND},
        {[&] { return DeleteFileW(wide(s + "\\nodir\\x")); }, ERROR_PATH_NOT_FOUND},
        {[&] { return FindExists(wide(s + "\\dir\\*.none")); }, ERROR_FILE_NOT_FOUND},
        {[&] { return CreateDirectoryW(wide(s + "\\dir"), nullptr); }, ERROR_ALREADY_EXISTS},
        {[&] { return RemoveDirectoryW(wide(s + "\\dir")); }, ERROR_DIR_NOT_EMPTY},
        {[&] { return RemoveDirectoryW(wide(s + "\\dir\\b.txt")); }, ERROR_DIRECTORY},
        {[&] { return DeleteFileW(wide(s + "\\dir")); }, ERROR_ACCESS_DENIED},
        {[&] { return opens(s + "\\dir\\b.txt", GENERIC_WRITE, CREATE_NEW); }, ERROR_FILE_EXISTS},
        {[&] { return CopyFileW(u"\\b.txt", wide(s + "\\dir\\b.txt"), TRUE); }, ERROR_FILE_EXISTS},
        {[&] { return MoveFileW(u"\\b.txt", wide(s + "\\dir\\b.txt")); }, ERROR_ALREADY_EXISTS},
        {[&] { return MoveFileW(wide(s + "\\nothing"), u"\\x"); }, ERROR_FILE_NOT_FOUND},
        {[&] { return GetFileAttributesW(wide(s + "\\..\\x")) != INVALID_FILE_ATTRIBUTES; }, ERROR_INVALID_NAME},
    };
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        SetLastError(0);
        EXPECT_FALSE(failures[i].call()) << "case " << i;
        EXPECT_EQ(GetLastError(), failures[i].error) << "case " << i;
    }
    EXPECT_EQ(t.readFile("\\b.txt"), "second");

    EXPECT_TRUE(DeleteFileW(wide(s + "\\dir\\b.txt")));
    EXPECT_TRUE(RemoveDirectoryW(wide(s + "\\dir")));
    EXPECT_FALSE(QDir(server.shareFolder() + "/dir").exists());
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(wide(s), &available, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(available.QuadPart, total.QuadPart);
}

TEST_F(SmbShareTest, AttributesAgreeWithSamba)
{
    REQUIRE_SAMBA(server);
    const QString s = share();
    for (const char *name : {"\\set.txt", "\\shown.txt"})
        ASSERT_TRUE(opens(s + name, GENERIC_WRITE, CREATE_NEW));
    ASSERT_TRUE(CreateDirectoryW(wide(s + "\\folder"), nullptr));

    ASSERT_TRUE(SetFileAttributesW(wide(s + "\\set.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(sambaAttributes(server, "set.txt"), unsigned(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW(wide(s + "\\set.txt"), FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(sambaAttributes(server, "set.txt"), unsigned(FILE_ATTRIBUTE_ARCHIVE));

    server.client("setmode shown.txt -a; setmode shown.txt +hr; setmode folder +s");
    const DWORD shown = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(GetFileAttributesW(wide(s + "\\shown.txt")), shown);
    EXPECT_EQ(GetFileAttributesW(wide(s + "\\folder")), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
    QHash<QString, DWORD> listed;
    findNames(s + "\\*", nullptr, &listed);
    EXPECT_EQ(listed.value("shown.txt"), shown);
    EXPECT_EQ(listed.value("folder"), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_FALSE(DeleteFileW(wide(s + "\\shown.txt"))) << "read-only refuses delete, as on the device";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
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
    ASSERT_TRUE(SetFileAttributesW(u"\\Shared\\d.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(sambaAttributes(server, "d.txt"), unsigned(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(wide(server.computer() + "\\public\\d.txt")), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
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
            DWORD error = 0;
            EXPECT_TRUE(findNames(QString("\\\\127.0.0.1:%1\\*").arg(port), &error).isEmpty());
            EXPECT_EQ(error, DWORD(ERROR_BAD_NETPATH)) << port;
            EXPECT_LT(timer.elapsed(), attempt == 0 ? 10000 : 1000) << "a second try does not wait again";
        }
    }
}

} // namespace
