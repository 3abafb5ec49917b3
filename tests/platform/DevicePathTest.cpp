#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include <QDir>
#include <QTemporaryDir>
#include <sys/inotify.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QByteArray buffer(16, 0);
    DWORD n = 0;
    const HANDLE file = CreateFileW(wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ReadFile(file, buffer.data(), 16, &n, nullptr);
    CloseHandle(file);
    return buffer.left(int(n));
}

TEST(DevicePath, LookupIgnoresCaseButPrefersExactSpelling)
{
    TempDevice t;
    t.writeFile("\\x\\a.txt", "lower");
    t.writeFile("\\x\\A.TXT", "upper");
    t.writeFile("\\x\\Mixed.Txt", "mixed");
    t.writeFile("\\x\\Ünïcødé.txt", "wide");
    // A new device is laid out.
    EXPECT_EQ(GetFileAttributesW(u"\\windows\\START MENU\\programs"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(findNames("\\Windows\\Start menu\\*"), QStringList({"Programs"}));
    EXPECT_EQ(readAll("\\x\\a.txt"), "lower");
    EXPECT_EQ(readAll("\\x\\A.TXT"), "upper");
    EXPECT_EQ(readAll("\\X\\MIXED.TXT"), "mixed");
    EXPECT_EQ(readAll("\\x\\ÜNÏCØDÉ.TXT"), "wide");

    // A new name that differs only in case is the existing object.
    expectRefused({REFUSES(CreateDirectoryW(u"\\MY DOCUMENTS", nullptr), ERROR_ALREADY_EXISTS),
                   REFUSES(CopyFileW(u"\\x\\a.txt", u"\\x\\mixed.TXT", TRUE), ERROR_FILE_EXISTS)});
    ASSERT_TRUE(MoveFileW(u"\\x\\Mixed.Txt", u"\\x\\MIXED.txt"));
    EXPECT_EQ(findNames("\\x\\m*"), QStringList({"MIXED.txt"}));
}

TEST(DevicePath, NamesAreChecked)
{
    TempDevice t;
    const struct {
        QString path;
        DWORD error;
    } cases[] = {
        {"\\..\\x", ERROR_INVALID_NAME},          {"\\Windows\\..\\..\\etc", ERROR_INVALID_NAME},
        {"\\.\\Windows", ERROR_INVALID_NAME},     {"\\a/b", ERROR_INVALID_NAME},
        {"\\a*b", ERROR_INVALID_NAME},            {"\\" + QString(270, 'n'), ERROR_FILENAME_EXCED_RANGE},
        {"\\nothing\\here", ERROR_PATH_NOT_FOUND}, {"\\nothing", ERROR_FILE_NOT_FOUND},
    };
    for (const auto &c : cases) {
        expectRefused({REFUSES(hasAttributes(c.path), c.error)});
        if (c.error != ERROR_FILE_NOT_FOUND)
            expectRefused({REFUSES(opens(c.path, GENERIC_WRITE, CREATE_ALWAYS), AnyError)});
    }
    EXPECT_FALSE(QFileInfo::exists(t.dir() + "/x"));
    EXPECT_FALSE(QFileInfo::exists(t.dir() + "/etc"));
}

// Links out of the store (to a folder, a file and /etc) with a victim file
// outside, and one link that stays inside.
class Confinement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        victim = outside.path() + "/victim.txt";
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("secret");
        file.close();
        ASSERT_TRUE(QFile::link(outside.path(), t.host("\\My Documents\\out")));
        ASSERT_TRUE(QFile::link(victim, t.host("\\My Documents\\secret.txt")));
        ASSERT_TRUE(QFile::link("/etc", t.host("\\My Documents\\evil")));
        ASSERT_TRUE(QFile::link(t.host("\\Windows"), t.host("\\My Documents\\win")));
        t.make({"\\Windows\\inside.txt", "\\plain.txt"});
    }

    void expectVictimUntouched()
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "secret");
        EXPECT_TRUE(file.permissions() & QFileDevice::WriteOwner);
        char value[16];
        EXPECT_LT(::getxattr(victim.toLocal8Bit().constData(), "user.DOSATTRIB", value, sizeof value), 0);
        EXPECT_EQ(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList({"victim.txt"}));
    }

    QTemporaryDir outside;
    QString victim;
    TempDevice t;
};

// The outside folder is never even opened (watched with inotify); the link
// that stays inside works.
TEST_F(Confinement, LinksLeadingOutAreNeitherListedNorFollowedLinksInsideAre)
{
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(outside.path()), IN_OPEN), 0);
    EXPECT_EQ(findNames("\\My Documents\\*"), QStringList({"win"}));
    DWORD error = 0;
    for (const char *folder : {"\\My Documents\\evil\\*", "\\My Documents\\out\\*"}) {
        EXPECT_TRUE(findNames(folder, &error).isEmpty()) << folder;
        EXPECT_EQ(error, ERROR_ACCESS_DENIED) << folder;
    }
    expectRefused({REFUSES(hasAttributes("\\My Documents\\evil\\passwd"), AnyError),
                   REFUSES(hasAttributes("\\My Documents\\out\\victim.txt"), AnyError),
                   REFUSES(hasAttributes("\\My Documents\\secret.txt"), AnyError),
                   REFUSES(opens("\\My Documents\\secret.txt", GENERIC_READ), AnyError),
                   REFUSES(CopyFileW(u"\\My Documents\\secret.txt", u"\\copy.txt", FALSE), AnyError)});
    EXPECT_FALSE(t.exists("\\copy.txt"));
    char events[256];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "opened outside";
    ::close(watch);

    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\win"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(findNames("\\My Documents\\win\\*").contains("inside.txt"));
    EXPECT_TRUE(CopyFileW(u"\\My Documents\\win\\inside.txt", u"\\copied.txt", TRUE));
    EXPECT_EQ(t.readFile("\\copied.txt"), "x");
}

TEST_F(Confinement, NothingOutsideIsWrittenOrDeleted)
{
    expectRefused({
        REFUSES(opens("\\My Documents\\secret.txt", GENERIC_WRITE, CREATE_ALWAYS), AnyError),
        REFUSES(opens("\\My Documents\\out\\new.txt", GENERIC_WRITE, CREATE_ALWAYS), AnyError),
        REFUSES(SetFileAttributesW(u"\\My Documents\\secret.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), AnyError),
        REFUSES(DeleteFileW(u"\\My Documents\\out\\victim.txt"), AnyError),
        REFUSES(CopyFileW(u"\\plain.txt", u"\\My Documents\\out\\victim.txt", FALSE), AnyError),
        REFUSES(CopyFileW(u"\\plain.txt", u"\\My Documents\\secret.txt", FALSE), AnyError),
        REFUSES(MoveFileW(u"\\plain.txt", u"\\My Documents\\out\\moved.txt"), AnyError),
        REFUSES(MoveFileW(u"\\My Documents\\out\\victim.txt", u"\\stolen.txt"), AnyError),
        REFUSES(CreateDirectoryW(u"\\My Documents\\out\\dir", nullptr), AnyError),
        REFUSES(RemoveDirectoryW(u"\\My Documents\\out"), AnyError),
    });
    expectVictimUntouched();
    EXPECT_TRUE(t.exists("\\plain.txt"));
}

TEST_F(Confinement, StorageCardConfinesToItsTarget)
{
    QTemporaryDir card;
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")));
    ASSERT_TRUE(QFile::link(outside.path(), card.path() + "/escape"));
    ASSERT_TRUE(QFile::link(t.host("\\Windows"), card.path() + "/back"));
    EXPECT_TRUE(findNames("\\Storage Card\\*").isEmpty());
    expectRefused({REFUSES(DeleteFileW(u"\\Storage Card\\escape\\victim.txt"), AnyError),
                   REFUSES(hasAttributes("\\Storage Card\\back\\inside.txt"), AnyError)});
    expectVictimUntouched();
}

} // namespace
