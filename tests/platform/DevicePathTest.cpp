#include "PlatformTestUtil.h"
#include "RunDeviceProgram.h"
#include "TempDevice.h"

#include "platform/DeviceFolder.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/StandIns.h"

#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <future>
#include <sys/inotify.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// What a file holds, read through the platform (at most 16 bytes).
QByteArray readAll(const QString &path)
{
    char buffer[16];
    DWORD n = 0;
    const HANDLE file = openFile(path, GENERIC_READ);
    const bool read = ReadFile(file, buffer, sizeof buffer, &n, nullptr) && CloseHandle(file);
    return read ? QByteArray(buffer, int(n)) : "<unreadable>";
}

// Attacks from outside (also run as nobody): links out of the store (to a
// folder, a file and /etc) with a victim file outside, one link that stays
// inside; races, odd names and stale handles.
class Confinement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        victim = out("victim.txt", "secret");
        link(out(""), "\\My Documents\\out");
        link(victim, "\\My Documents\\secret.txt");
        link("/etc", "\\My Documents\\evil");
        link(t.host("\\Windows"), "\\My Documents\\win");
        t.make({"\\Windows\\inside.txt", "\\plain.txt"});
    }
    // A host folder, or file with content, out of the store.
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
    QString victim;
};
using Hardening = Confinement;
using DevicePath = Confinement;

// The outside folder is never even opened (watched with inotify); the link inside works.
TEST_F(Confinement, LinksLeadingOutAreNeitherListedNorFollowedNorWrittenThroughLinksInsideAre)
{
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(out("")), IN_OPEN), 0);
    EXPECT_EQ(findNames("\\My Documents\\*"), QStringList({"win"}));
    expectRefused({REFUSES(finds("\\My Documents\\evil\\*"), ERROR_ACCESS_DENIED),
                   REFUSES(finds("\\My Documents\\out\\*"), ERROR_ACCESS_DENIED),
                   REFUSES(hasAttributes("\\My Documents\\evil\\passwd"), AnyError),
                   REFUSES(hasAttributes("\\My Documents\\out\\victim.txt"), AnyError),
                   REFUSES(hasAttributes("\\My Documents\\secret.txt"), AnyError),
                   REFUSES(opens("\\My Documents\\secret.txt", GENERIC_READ), AnyError),
                   REFUSES(CopyFileW(u"\\My Documents\\secret.txt", u"\\copy.txt", FALSE), AnyError)});
    EXPECT_FALSE(t.exists("\\copy.txt"));
    char events[256];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "opened outside";
    ::close(watch);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\win"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(findNames("\\My Documents\\win\\*").contains("inside.txt")
                && CopyFileW(u"\\My Documents\\win\\inside.txt", u"\\copied.txt", TRUE));
    EXPECT_EQ(t.readFile("\\copied.txt"), "x");
    // Nothing outside is written or deleted, neither through the links nor through a card, whose
    // own links stay inside its target.
    QTemporaryDir card;
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")) && QFile::link(out(""), card.path() + "/escape")
                && QFile::link(t.host("\\Windows"), card.path() + "/back"));
    EXPECT_TRUE(findNames("\\Storage Card\\*").isEmpty());
    expectRefused({
        REFUSES(opens("\\My Documents\\secret.txt", GENERIC_WRITE, CREATE_ALWAYS), AnyError),
        REFUSES(opens("\\My Documents\\out\\new.txt", GENERIC_WRITE, CREATE_ALWAYS), AnyError),
        REFUSES(SetFileAttributesW(u"\\My Documents\\secret.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                AnyError),
        REFUSES(DeleteFileW(u"\\My Documents\\out\\victim.txt"), AnyError),
        REFUSES(CopyFileW(u"\\plain.txt", u"\\My Documents\\out\\victim.txt", FALSE), AnyError),
        REFUSES(CopyFileW(u"\\plain.txt", u"\\My Documents\\secret.txt", FALSE), AnyError),
        REFUSES(MoveFileW(u"\\plain.txt", u"\\My Documents\\out\\moved.txt"), AnyError),
        REFUSES(MoveFileW(u"\\My Documents\\out\\victim.txt", u"\\stolen.txt"), AnyError),
        REFUSES(CreateDirectoryW(u"\\My Documents\\out\\dir", nullptr), AnyError),
        REFUSES(RemoveDirectoryW(u"\\My Documents\\out"), AnyError),
        REFUSES(DeleteFileW(u"\\Storage Card\\escape\\victim.txt"), AnyError),
        REFUSES(hasAttributes("\\Storage Card\\back\\inside.txt"), AnyError),
    });
    EXPECT_EQ(t.readFile("\\..\\out\\victim.txt"), "secret");
    EXPECT_TRUE(QFile::permissions(victim) & QFileDevice::WriteOwner);
    char value[16];
    EXPECT_LT(::getxattr(victim.toLocal8Bit().constData(), "user.DOSATTRIB", value, sizeof value), 0);
    EXPECT_EQ(QDir(out("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"victim.txt"}));
    EXPECT_TRUE(t.exists("\\plain.txt"));
}

// Lookup ignores case but prefers the exact spelling; bad names passed in are refused; names the
// device cannot spell are neither listed nor reached.
TEST_F(DevicePath, LookupIgnoresCaseButPrefersExactSpellingAndNamesAreChecked)
{
    t.writeFile("\\x\\a.txt", "lower");
    t.writeFile("\\x\\A.TXT", "upper");
    t.writeFile("\\x\\Mixed.Txt", "mixed");
    t.writeFile("\\x\\Ünïcødé.txt", "wide");
    // A new device is laid out.
    EXPECT_EQ(GetFileAttributesW(u"\\windows\\START MENU\\programs"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(findNames("\\Windows\\Start menu\\*"), QStringList({"Programs"}));
    EXPECT_EQ(QList<QByteArray>({readAll("\\x\\a.txt"), readAll("\\x\\A.TXT"), readAll("\\X\\MIXED.TXT"),
                                 readAll("\\x\\ÜNÏCØDÉ.TXT")}),
              QList<QByteArray>({"lower", "upper", "mixed", "wide"}));
    // A new name that differs only in case is the existing object.
    expectRefused({REFUSES(CreateDirectoryW(u"\\MY DOCUMENTS", nullptr), ERROR_ALREADY_EXISTS),
                   REFUSES(CopyFileW(u"\\x\\a.txt", u"\\x\\mixed.TXT", TRUE), ERROR_FILE_EXISTS)});
    ASSERT_TRUE(MoveFileW(u"\\x\\Mixed.Txt", u"\\x\\MIXED.txt"));
    EXPECT_EQ(findNames("\\x\\m*"), QStringList({"MIXED.txt"}));
    const std::pair<QString, DWORD> cases[] = {
        {"\\..\\x", ERROR_INVALID_NAME},          {"\\Windows\\..\\..\\etc", ERROR_INVALID_NAME},
        {"\\.\\Windows", ERROR_INVALID_NAME},     {"\\a/b", ERROR_INVALID_NAME},
        {"\\a*b", ERROR_INVALID_NAME},            {"\\" + QString(270, 'n'), ERROR_FILENAME_EXCED_RANGE},
        {"\\nothing\\here", ERROR_PATH_NOT_FOUND}, {"\\nothing", ERROR_FILE_NOT_FOUND},
    };
    for (const auto &[path, error] : cases) {
        expectRefused({REFUSES(hasAttributes(path), error)});
        if (error != ERROR_FILE_NOT_FOUND)
            expectRefused({REFUSES(opens(path, GENERIC_WRITE, CREATE_ALWAYS), AnyError)});
    }
    EXPECT_FALSE(QFileInfo::exists(t.dir() + "/x") || QFileInfo::exists(t.dir() + "/etc"));
    t.make({"\\w\\x\\y", "\\w\\ok"});
    const QByteArray folder = QFile::encodeName(t.host("\\w\\"));
    for (const char *name : {"x\\y", "a*b", "q?", "bad\xff"})
        ::close(::open(folder + name, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    EXPECT_EQ(findNames("\\w\\*"), QStringList({"ok", "x"}));
    EXPECT_EQ(GetFileAttributesW(wide(QString("\\w\\bad") + QChar::ReplacementCharacter)), INVALID_FILE_ATTRIBUTES);
    ::unlink(folder + "bad\xff"); // a name Qt cannot remove
}

// Links and ROM folders stay where they resolve; stale handles and a fifo give errors.
TEST_F(Hardening, LinksRomFoldersStaleHandlesAndSwappedInObjects)
{
    t.make({"\\a\\f", "\\b\\", "\\c\\", "\\p\\rom", "\\s\\f", "\\d\\"});
    link("..", "\\a\\up");
    ASSERT_EQ(::link(QFile::encodeName(t.host("\\a\\f")), QFile::encodeName(t.host("\\b\\f"))), 0);
    link("../a/f", "\\c\\f");
    t.putInRom("\\p\\rom");
    expectRefused({REFUSES(MoveFileW(u"\\a\\up", u"\\up"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\a\\f", u"\\b\\f"), ERROR_ALREADY_EXISTS),
                   REFUSES(MoveFileW(u"\\a\\f", u"\\c\\f"), ERROR_ALREADY_EXISTS),
                   REFUSES(MoveFileW(u"\\Windows", u"\\Gone"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\p", u"\\Gone"), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(MoveFileW(u"\\a\\up", u"\\a\\UP"));
    ASSERT_TRUE(QDir(t.host("\\Windows")).removeRecursively() && QDir().mkpath(t.host("\\Windows")));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"K", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
    for (HKEY stale : {key, reinterpret_cast<HKEY>(std::uintptr_t(0x1234))})
        EXPECT_EQ(RegQueryValueExW(stale, u"v", nullptr, nullptr, nullptr, nullptr), LONG(ERROR_INVALID_HANDLE));
    const HANDLE closed = openFile("\\a\\f", GENERIC_READ);
    CloseHandle(closed);
    const HANDLE open = openFile("\\b\\f", GENERIC_READ); // may take the closed one's number
    char byte;
    expectRefused({REFUSES(RemoveDirectoryW(u"\\Windows"), ERROR_ACCESS_DENIED),
                   REFUSES(ReadFile(closed, &byte, 1, nullptr, nullptr), ERROR_INVALID_HANDLE)});
    CloseHandle(open);
    // A tree copy refuses a fifo put in the place of the file it listed, and
    // copies all of a file grown since.
    DeviceFolder source = DeviceFolder::open("\\s"), target = DeviceFolder::open("\\d");
    DeviceFolder::Entry entry;
    t.writeFile("\\s\\g", "1");
    source.listOnly("g");
    ASSERT_TRUE(source.next(entry));
    t.writeFile("\\s\\g", "123");
    EXPECT_EQ(source.copyFile(entry, target), ERROR_SUCCESS);
    EXPECT_EQ(t.readFile("\\d\\g"), "123");
    source.listOnly("f");
    ASSERT_TRUE(source.next(entry));
    const QByteArray fifo = QFile::encodeName(t.host("\\s\\f"));
    ASSERT_TRUE(::unlink(fifo) == 0 && ::mkfifo(fifo, 0666) == 0);
    auto copy = std::async(std::launch::async, [&] { return source.copyFile(entry, target); });
    if (copy.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        ::close(::open(fifo, O_WRONLY)); // ends the hung copy
    EXPECT_EQ(copy.get(), ERROR_ACCESS_DENIED);
    // A copy of its path or a paste of its name never even opens it (a
    // writer is there, so a faulty open would not hang).
    const int writer = ::open(fifo, O_RDWR | O_CLOEXEC), watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, fifo, IN_OPEN), 0);
    expectRefused({REFUSES(CopyFileW(u"\\s\\f", u"\\d\\x", TRUE), ERROR_ACCESS_DENIED)});
    EXPECT_EQ(source.copyFileTo("f", target, FileCopy::Existing::Fail, FileCopy::Flush::No), ERROR_ACCESS_DENIED);
    char events[256];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "opened the fifo";
    ::close(watch);
    ::close(writer);
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

// Stand-ins are not written through links; a process starts the image it checked.
TEST_F(Hardening, StandInsAndProcessesWriteAndStartOnlyWhatTheyChecked)
{
    QFile::setPermissions(out("bin/iexplore", ""), QFile::ExeOwner);
    link(out("victim", "keep"), "\\Windows\\iexplore.exe");
    EXPECT_TRUE(StandIns::install(t.device(), out("bin")));
    EXPECT_EQ(t.readFile("\\..\\out\\victim"), "keep");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\iexplore.exe"), FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);
    SwappingLauncher launcher;
    launcher.image = t.host("\\Windows\\tool.exe");
    launcher.outside = out("tool", "#!/bin/sh\necho out > \"$QUILLMOSS_DEVICE/ran\"\n");
    t.writeFile("\\Windows\\tool.exe", "#!/bin/sh\necho in > \"$QUILLMOSS_DEVICE/ran\"\n");
    for (const QString &file : {launcher.image, launcher.outside})
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(runDeviceProgram(u"tool", ""), 0);
    EXPECT_EQ(t.readFile("\\..\\ran"), "in\n");
    ASSERT_TRUE(QDir(t.host("\\Windows")).removeRecursively());
    link(out("system"), "\\Windows"); // a card
    EXPECT_FALSE(StandIns::install(t.device(), out("bin")));
    EXPECT_TRUE(QDir(out("system")).isEmpty());
}

} // namespace
