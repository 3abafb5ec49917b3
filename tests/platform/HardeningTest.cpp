// Attacks on the platform layer from outside: links, races, odd host names,
// stale handles, and a user who is not root (the suite also runs as nobody).
#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/DeviceFolder.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/StandIns.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray storedText(const QString &host)
{
    char buffer[32] = {};
    const ssize_t n = ::getxattr(QFile::encodeName(host).constData(), "user.DOSATTRIB", buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
}

bool ownerWritable(const QString &host)
{
    return QFileInfo(host).permissions() & QFileDevice::WriteOwner;
}

class Hardening : public ::testing::Test
{
protected:
    // A host folder beside the store, outside the device.
    QString outside(const QString &name) const
    {
        const QString path = t.dir() + "/outside/" + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        return path;
    }
    void link(const QString &target, const QString &devicePath)
    {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(t.host(devicePath)).constData()), 0);
    }

    TempDevice t;
};

TEST_F(Hardening, ReadOnlyLivesInTheXattrAndTheOwnerWriteBit)
{
    t.make({"\\f.txt", "\\d\\"});
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(storedText(t.host("\\f.txt")), "0x3");
    EXPECT_FALSE(ownerWritable(t.host("\\f.txt")));
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", 0));
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), 0u);
    EXPECT_TRUE(ownerWritable(t.host("\\f.txt")));

    const DWORD asked = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const HANDLE created = CreateFileW(u"\\n.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, asked, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);
    EXPECT_EQ(GetFileAttributesW(u"\\n.txt"), asked | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(storedText(t.host("\\n.txt")), "0x27");

    // A read-only folder still takes new files: the bit is only in the xattr.
    ASSERT_TRUE(SetFileAttributesW(u"\\d", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(u"\\d"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ownerWritable(t.host("\\d")));
    EXPECT_TRUE(CopyFileW(u"\\f.txt", u"\\d\\f.txt", TRUE));
}

TEST_F(Hardening, RootAndCardsKeepTheirHostFolders)
{
    QDir().mkpath(outside("card"));
    link(outside("card"), "\\Card");
    for (const char16_t *path : {u"\\", u"\\Card"}) {
        EXPECT_FALSE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    EXPECT_TRUE(ownerWritable(t.host("\\")));
    EXPECT_TRUE(ownerWritable(outside("card")));
    EXPECT_EQ(storedText(outside("card")), "");
}

TEST_F(Hardening, LinksMoveOnlyWhereTheyResolveTheSame)
{
    t.make({"\\a\\f.txt", "\\b\\", "\\c\\"});
    link("..", "\\a\\up");
    EXPECT_FALSE(MoveFileW(u"\\a\\up", u"\\up"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileW(u"\\a\\up", u"\\b\\up"));
    EXPECT_TRUE(MoveFileW(u"\\a\\up", u"\\a\\UP"));
    EXPECT_FALSE(t.exists("\\up") || t.exists("\\b\\up"));

    // Onto another link of itself elsewhere: nothing moved is no success.
    ASSERT_EQ(::link(QFile::encodeName(t.host("\\a\\f.txt")), QFile::encodeName(t.host("\\b\\f.txt"))), 0);
    link("../a/f.txt", "\\c\\f.txt");
    for (const char16_t *target : {u"\\b\\f.txt", u"\\c\\f.txt"}) {
        EXPECT_FALSE(MoveFileW(u"\\a\\f.txt", target));
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    }
    EXPECT_TRUE(MoveFileW(u"\\a\\f.txt", u"\\a\\f.txt"));
}

TEST_F(Hardening, FoldersHoldingRomFilesStay)
{
    t.make({"\\p\\rom.dll", "\\Windows\\Start Menu\\x.lnk"});
    ASSERT_EQ(::setxattr(QFile::encodeName(t.host("\\p\\rom.dll")), "user.DOSATTRIB", "0x40", 4, 0), 0);
    for (const char16_t *folder : {u"\\Windows", u"\\p"}) {
        EXPECT_FALSE(MoveFileW(folder, u"\\Gone"));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    ASSERT_TRUE(DeleteFileW(u"\\Windows\\Start Menu\\x.lnk"));
    ASSERT_TRUE(RemoveDirectoryW(u"\\Windows\\Start Menu\\Programs"));
    ASSERT_TRUE(RemoveDirectoryW(u"\\Windows\\Start Menu"));
    ASSERT_TRUE(RemoveDirectoryW(u"\\Windows\\Desktop"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\Windows"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(t.exists("\\Windows"));
}

TEST_F(Hardening, NamesTheDeviceCannotSpellAreNeitherListedNorReached)
{
    t.make({"\\w2\\x\\y", "\\w2\\ok"});
    for (const char *name : {"x\\y", "a*b", "q?", "bad\xff"})
        ::close(::open(QFile::encodeName(t.host("\\w2\\")) + name, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    EXPECT_EQ(findNames("\\w2\\*"), QStringList({"ok", "x"}));
    EXPECT_EQ(GetFileAttributesW(wide(QString("\\w2\\bad") + QChar::ReplacementCharacter)), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Hardening, StaleHandlesGiveErrorsNotOtherObjects)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Stale", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    for (HKEY stale : {key, reinterpret_cast<HKEY>(std::uintptr_t(0x1234))}) {
        EXPECT_EQ(RegQueryValueExW(stale, u"v", nullptr, nullptr, nullptr, nullptr), LONG(ERROR_INVALID_HANDLE));
        EXPECT_EQ(RegCloseKey(stale), LONG(ERROR_INVALID_HANDLE));
    }

    t.writeFile("\\a.txt", "a");
    t.writeFile("\\b.txt", "b");
    const HANDLE first = CreateFileW(u"\\a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(CloseHandle(first));
    const HANDLE second = CreateFileW(u"\\b.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char byte = 0;
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(first, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(second);
}

TEST_F(Hardening, TreeCopySkipsAFifoSwappedIn)
{
    t.make({"\\src\\f.txt", "\\dst\\"});
    DeviceFolder source = DeviceFolder::open("\\src");
    DeviceFolder target = DeviceFolder::open("\\dst");
    DeviceFolder::Entry entry;
    ASSERT_TRUE(source.list() && source.next(entry));
    const QByteArray fifo = QFile::encodeName(t.host("\\src\\f.txt"));
    ASSERT_TRUE(::unlink(fifo) == 0 && ::mkfifo(fifo, 0666) == 0);
    auto copy = std::async(std::launch::async, [&] { return source.copyFile(entry, target); });
    if (copy.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(fifo, O_WRONLY)); // let the hung copy end
        FAIL() << "the copy waited on the FIFO";
    }
    EXPECT_EQ(copy.get(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(findNames("\\dst\\*"), QStringList());
}

TEST_F(Hardening, LinkOutIsRefusedWithoutOpeningItsTarget)
{
    const QString secret = outside("secret");
    QDir().mkpath(secret);
    t.make({"\\a\\"});
    link(secret, "\\a\\out");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(secret).constData(), IN_OPEN), 0);
    EXPECT_EQ(GetFileAttributesW(u"\\a\\out\\x"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    char events[256];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the folder outside was opened";
    ::close(watch);
}

TEST_F(Hardening, StandInsAreNotWrittenThroughLinks)
{
    QTemporaryDir bin;
    QFile program(bin.filePath("iexplore"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    program.close();
    const QString victim = outside("victim");
    QFile::remove(t.host("\\Windows\\iexplore.exe"));
    t.writeFile("\\..\\outside\\victim", "keep");
    link(victim, "\\Windows\\iexplore.exe");

    EXPECT_TRUE(StandIns::install(t.device(), bin.path()));
    EXPECT_EQ(t.readFile("\\..\\outside\\victim"), "keep");
    EXPECT_FALSE(QFileInfo(t.host("\\Windows\\iexplore.exe")).isSymLink());
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\iexplore.exe"), FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);

    // \Windows itself linked out is a card: nothing is installed there.
    ASSERT_TRUE(QDir(t.host("\\Windows")).removeRecursively());
    QDir().mkpath(outside("system"));
    link(outside("system"), "\\Windows");
    EXPECT_FALSE(StandIns::install(t.device(), bin.path()));
    EXPECT_EQ(QDir(outside("system")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// Swaps the checked image for a link out just before the start, as a racing
// program could.
class SwappingLauncher final : public ProcessLauncher
{
public:
    SwappingLauncher(QString image, QString outside) : m_image(image), m_outside(outside) { setCurrent(this); }
    ~SwappingLauncher() override { setCurrent(m_real); }
    std::unique_ptr<HostProcess> start(int image, const QString &program, const QStringList &arguments,
                                       const QStringList &environment) override
    {
        QFile::remove(m_image);
        QFile::link(m_outside, m_image);
        return m_real->start(image, program, arguments, environment);
    }

private:
    ProcessLauncher *m_real = &current();
    QString m_image, m_outside;
};

TEST_F(Hardening, ProcessStartsTheImageItChecked)
{
    const QByteArray record = "#!/bin/sh\necho $0 > \"$QUILLMOSS_DEVICE/ran\"\n";
    t.writeFile("\\Windows\\tool.exe", record);
    const QString outsider = outside("tool");
    t.writeFile("\\..\\outside\\tool", "#!/bin/sh\necho outside > \"$QUILLMOSS_DEVICE/ran\"\n");
    for (const QString &file : {t.host("\\Windows\\tool.exe"), outsider})
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    SwappingLauncher launcher(t.host("\\Windows\\tool.exe"), outsider);
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcessW(u"tool", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    EXPECT_TRUE(QFile::exists(t.dir() + "/ran"));
    EXPECT_FALSE(t.readFile("\\..\\ran").startsWith("outside"));
}

} // namespace
