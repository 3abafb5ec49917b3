// Attacks from outside: links, races, odd names, stale handles (also run as nobody).
#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/DeviceFolder.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/StandIns.h"

#include <QDir>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

bool fails(BOOL result, DWORD error) { return !result && GetLastError() == error; }

struct Hardening : ::testing::Test {
    // A host folder, or file with content, out of the device.
    QString out(const QString &name, const QByteArray &content = {})
    {
        if (content.isNull())
            QDir().mkpath(t.dir() + "/out/" + name);
        else
            t.writeFile("\\..\\out\\" + name, content);
        return t.dir() + "/out/" + name;
    }
    void link(const QString &target, const QString &at) { ASSERT_TRUE(QFile::link(target, t.host(at))); }
    TempDevice t;
};

TEST_F(Hardening, LinksAndRomFoldersStayWhereTheyResolve)
{
    t.make({"\\a\\f", "\\b\\", "\\c\\", "\\p\\rom"});
    link("..", "\\a\\up");
    EXPECT_TRUE(fails(MoveFileW(u"\\a\\up", u"\\up"), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(MoveFileW(u"\\a\\up", u"\\a\\UP"));
    ASSERT_EQ(::link(QFile::encodeName(t.host("\\a\\f")), QFile::encodeName(t.host("\\b\\f"))), 0);
    link("../a/f", "\\c\\f");
    for (const char16_t *other : {u"\\b\\f", u"\\c\\f"})
        EXPECT_TRUE(fails(MoveFileW(u"\\a\\f", other), ERROR_ALREADY_EXISTS));

    t.putInRom("\\p\\rom");
    for (const char16_t *folder : {u"\\Windows", u"\\p"})
        EXPECT_TRUE(fails(MoveFileW(folder, u"\\Gone"), ERROR_ACCESS_DENIED));
    ASSERT_TRUE(QDir(t.host("\\Windows")).removeRecursively() && QDir().mkpath(t.host("\\Windows")));
    EXPECT_TRUE(fails(RemoveDirectoryW(u"\\Windows"), ERROR_ACCESS_DENIED));
}

TEST_F(Hardening, NamesTheDeviceCannotSpellAreNeitherListedNorReached)
{
    t.make({"\\w\\x\\y", "\\w\\ok"});
    const QByteArray folder = QFile::encodeName(t.host("\\w\\"));
    for (const char *name : {"x\\y", "a*b", "q?", "bad\xff"})
        ::close(::open(folder + name, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    EXPECT_EQ(findNames("\\w\\*"), QStringList({"ok", "x"}));
    EXPECT_EQ(GetFileAttributesW(wide(QString("\\w\\bad") + QChar::ReplacementCharacter)), INVALID_FILE_ATTRIBUTES);
    ::unlink(folder + "bad\xff"); // a name Qt cannot remove
}

TEST_F(Hardening, StaleHandlesGiveErrorsNotOtherObjects)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"K", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
    for (HKEY stale : {key, reinterpret_cast<HKEY>(std::uintptr_t(0x1234))})
        EXPECT_EQ(RegQueryValueExW(stale, u"v", nullptr, nullptr, nullptr, nullptr), LONG(ERROR_INVALID_HANDLE));
    t.make({"\\a", "\\b"});
    const HANDLE closed = CreateFileW(u"\\a", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CloseHandle(closed);
    const HANDLE open = CreateFileW(u"\\b", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char byte;
    EXPECT_TRUE(fails(ReadFile(closed, &byte, 1, nullptr, nullptr), ERROR_INVALID_HANDLE));
    CloseHandle(open);
}

TEST_F(Hardening, TreeCopyRefusesAFifoSwappedIn)
{
    t.make({"\\s\\f", "\\d\\"});
    DeviceFolder source = DeviceFolder::open("\\s"), target = DeviceFolder::open("\\d");
    DeviceFolder::Entry entry;
    ASSERT_TRUE(source.list() && source.next(entry));
    const QByteArray fifo = QFile::encodeName(t.host("\\s\\f"));
    ASSERT_TRUE(::unlink(fifo) == 0 && ::mkfifo(fifo, 0666) == 0);
    auto copy = std::async(std::launch::async, [&] { return source.copyFile(entry, target); });
    if (copy.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        ::close(::open(fifo, O_WRONLY)); // ends the hung copy
    EXPECT_EQ(copy.get(), ERROR_ACCESS_DENIED);
}

TEST_F(Hardening, StandInsAreNotWrittenThroughLinks)
{
    QFile::setPermissions(out("bin/iexplore", ""), QFile::ExeOwner);
    link(out("victim", "keep"), "\\Windows\\iexplore.exe");
    EXPECT_TRUE(StandIns::install(t.device(), out("bin")));
    EXPECT_EQ(t.readFile("\\..\\out\\victim"), "keep");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\iexplore.exe"), FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(QDir(t.host("\\Windows")).removeRecursively());
    link(out("system"), "\\Windows"); // a card
    EXPECT_FALSE(StandIns::install(t.device(), out("bin")));
    EXPECT_TRUE(QDir(out("system")).isEmpty());
}

// Swaps the image for a link out just before it starts, as a racing program could.
struct SwappingLauncher final : ProcessLauncher {
    SwappingLauncher() { setCurrent(this); }
    ~SwappingLauncher() override { setCurrent(real); }
    std::unique_ptr<HostProcess> start(int fd, const QString &p, const QStringList &a, const QStringList &e) override
    {
        QFile::remove(image);
        QFile::link(outside, image);
        return real->start(fd, p, a, e);
    }
    ProcessLauncher *real = &current();
    QString image, outside;
};

TEST_F(Hardening, ProcessStartsTheImageItChecked)
{
    SwappingLauncher launcher;
    launcher.image = t.host("\\Windows\\tool.exe");
    launcher.outside = out("tool", "#!/bin/sh\necho out > \"$QUILLMOSS_DEVICE/ran\"\n");
    t.writeFile("\\Windows\\tool.exe", "#!/bin/sh\necho in > \"$QUILLMOSS_DEVICE/ran\"\n");
    for (const QString &file : {launcher.image, launcher.outside})
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ExeOwner);
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcessW(u"tool", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    WaitForSingleObject(info.hProcess, 20000);
    CloseHandle(info.hProcess);
    EXPECT_EQ(t.readFile("\\..\\ran"), "in\n");
}

} // namespace
