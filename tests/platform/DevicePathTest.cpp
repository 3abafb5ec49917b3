#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace {

TEST(DevicePath, LookupIgnoresCaseButPrefersExactSpelling)
{
    TempDevice t;
    t.writeFile("\\x\\a.txt", "lower");
    t.writeFile("\\x\\A.TXT", "upper");
    t.writeFile("\\x\\Mixed.Txt", "mixed");
    EXPECT_EQ(GetFileAttributesW(u"\\windows\\START MENU\\programs"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(findNames("\\Windows\\Start menu\\*"), QStringList({"Programs"}));

    const auto read = [](const QString &path) {
        QByteArray buffer(16, 0);
        DWORD n = 0;
        const HANDLE file = CreateFileW(wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ReadFile(file, buffer.data(), 16, &n, nullptr);
        CloseHandle(file);
        return buffer.left(int(n));
    };
    EXPECT_EQ(read("\\x\\a.txt"), "lower");
    EXPECT_EQ(read("\\x\\A.TXT"), "upper");
    EXPECT_EQ(read("\\X\\MIXED.TXT"), "mixed");

    // A new name that differs only in case is the existing object.
    EXPECT_FALSE(CreateDirectoryW(u"\\MY DOCUMENTS", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CopyFileW(u"\\x\\a.txt", u"\\x\\mixed.TXT", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    ASSERT_TRUE(MoveFileW(u"\\x\\Mixed.Txt", u"\\x\\MIXED.txt"));
    EXPECT_EQ(findNames("\\x\\m*"), QStringList({"MIXED.txt"}));
}

TEST(DevicePath, NamesAreChecked)
{
    TempDevice t;
    const struct
    {
        QString path;
        DWORD error;
    } cases[] = {
        {"\\..\\x", ERROR_INVALID_NAME},
        {"\\Windows\\..\\..\\etc", ERROR_INVALID_NAME},
        {"\\.\\Windows", ERROR_INVALID_NAME},
        {"\\a/b", ERROR_INVALID_NAME},
        {"\\a*b", ERROR_INVALID_NAME},
        {"\\" + QString(270, 'n'), ERROR_FILENAME_EXCED_RANGE},
        {"\\nothing\\here", ERROR_PATH_NOT_FOUND},
        {"\\nothing", ERROR_FILE_NOT_FOUND},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(GetFileAttributesW(wide(c.path)), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetLastError(), c.error) << c.path.toStdString();
        if (c.error != ERROR_FILE_NOT_FOUND) {
            EXPECT_EQ(CreateFileW(wide(c.path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
                      INVALID_HANDLE_VALUE);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(t.dir() + "/x"));
    EXPECT_FALSE(QFileInfo::exists(t.dir() + "/etc"));
}

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

TEST_F(Confinement, LinksLeadingOutAreNeitherListedNorFollowed)
{
    EXPECT_EQ(findNames("\\My Documents\\*"), QStringList({"win"}));
    DWORD error = 0;
    EXPECT_TRUE(findNames("\\My Documents\\evil\\*", &error).isEmpty());
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(findNames("\\My Documents\\out\\*", &error).isEmpty());
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\evil\\passwd"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\secret.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(CreateFileW(u"\\My Documents\\secret.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\secret.txt", u"\\copy.txt", FALSE));
    EXPECT_FALSE(t.exists("\\copy.txt"));
}

TEST_F(Confinement, NothingOutsideIsWrittenOrDeleted)
{
    EXPECT_EQ(CreateFileW(u"\\My Documents\\secret.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileW(u"\\My Documents\\out\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SetFileAttributesW(u"\\My Documents\\secret.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(DeleteFileW(u"\\My Documents\\out\\victim.txt"));
    EXPECT_FALSE(CopyFileW(u"\\plain.txt", u"\\My Documents\\out\\victim.txt", FALSE));
    EXPECT_FALSE(CopyFileW(u"\\plain.txt", u"\\My Documents\\secret.txt", FALSE));
    EXPECT_FALSE(MoveFileW(u"\\plain.txt", u"\\My Documents\\out\\moved.txt"));
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\out\\victim.txt", u"\\stolen.txt"));
    EXPECT_FALSE(CreateDirectoryW(u"\\My Documents\\out\\dir", nullptr));
    EXPECT_FALSE(RemoveDirectoryW(u"\\My Documents\\out"));
    expectVictimUntouched();
    EXPECT_TRUE(t.exists("\\plain.txt"));
}

TEST_F(Confinement, LinksInsideTheStoreAreFollowed)
{
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\win"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(findNames("\\My Documents\\win\\*").contains("inside.txt"));
    EXPECT_TRUE(CopyFileW(u"\\My Documents\\win\\inside.txt", u"\\copied.txt", TRUE));
    EXPECT_EQ(t.readFile("\\copied.txt"), "x");
}

TEST_F(Confinement, StorageCardConfinesToItsTarget)
{
    QTemporaryDir card;
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")));
    ASSERT_TRUE(QFile::link(outside.path(), card.path() + "/escape"));
    ASSERT_TRUE(QFile::link(t.host("\\Windows"), card.path() + "/back"));
    EXPECT_TRUE(findNames("\\Storage Card\\*").isEmpty());
    EXPECT_FALSE(DeleteFileW(u"\\Storage Card\\escape\\victim.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card\\back\\inside.txt"), INVALID_FILE_ATTRIBUTES);
    expectVictimUntouched();
}

} // namespace
