#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/DosAttributes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/xattr.h>

namespace {

constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN, Archive = FILE_ATTRIBUTE_ARCHIVE, ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Card = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

class Attributes : public ::testing::Test
{
protected:
    void setStored(const QString &devicePath, const QByteArray &value)
    {
        ASSERT_EQ(::setxattr(t.host(devicePath).toLocal8Bit().constData(), "user.DOSATTRIB", value.constData(),
                             value.size(), 0), 0);
    }
    TempDevice t;
};

TEST_F(Attributes, StoredBitsUseSambaTextForm)
{
    t.make({"\\f.txt"});
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", Hidden | Archive | FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), Hidden | Archive);
    QProcess getfattr;
    getfattr.start("getfattr", {"-n", "user.DOSATTRIB", "-e", "text", "--absolute-names", t.host("\\f.txt")});
    ASSERT_TRUE(getfattr.waitForFinished());
    EXPECT_TRUE(getfattr.readAllStandardOutput().contains("user.DOSATTRIB=\"0x22\"\n"));
}

TEST(DosAttributes, SambaBinaryFormsDecode)
{
    const struct {
        QByteArray blob;
        DWORD bits;
    } cases[] = {
        {"0x22", 0x22},
        {QByteArray("0x20\0", 5), 0x20},
        // Version 5: empty text, version and level, valid flags, attributes, create time.
        {QByteArray::fromHex("000005000500000011000000220000000000000000000000"), 0x22},
        // Version 3 after the text "0x20": the body starts at 12.
        {QByteArray::fromHex("3078323000000300030000000100000024000000") + QByteArray(36, '\0'), 0x24},
        // Version 3 with the attribute field marked invalid: the text holds it.
        {QByteArray::fromHex("3078323000000300030000000000000024000000") + QByteArray(36, '\0'), 0x20},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DosAttributes::decode(c.blob.constData(), std::size_t(c.blob.size())), std::optional<DWORD>(c.bits))
            << c.blob.toHex().toStdString();
    EXPECT_FALSE(DosAttributes::decode("\0\0\7\0", 4).has_value());
}

TEST_F(Attributes, ReadOnlyFollowsOwnerWriteBitAndBlocksWriting)
{
    t.make({"\\ro.txt"}, "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\ro.txt", ReadOnly));
    EXPECT_FALSE(QFileInfo(t.host("\\ro.txt")).permissions() & QFileDevice::WriteOwner);
    EXPECT_EQ(GetFileAttributesW(u"\\ro.txt"), ReadOnly);
    expectRefused({REFUSES(opens("\\ro.txt", GENERIC_WRITE), ERROR_ACCESS_DENIED),
                   REFUSES(opens("\\ro.txt", GENERIC_WRITE, TRUNCATE_EXISTING), ERROR_ACCESS_DENIED),
                   REFUSES(DeleteFileW(u"\\ro.txt"), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(opens("\\ro.txt", GENERIC_READ));
    EXPECT_EQ(t.readFile("\\ro.txt"), "keep");

    ASSERT_TRUE(SetFileAttributesW(u"\\ro.txt", 0));
    EXPECT_EQ(GetFileAttributesW(u"\\ro.txt"), 0u);
    EXPECT_TRUE(DeleteFileW(u"\\ro.txt"));
    EXPECT_FALSE(t.exists("\\ro.txt"));
}

TEST_F(Attributes, RomFilesRefuseEveryChangeAndRomBitsStay)
{
    t.make({"\\Windows\\rom.exe"}, "rom");
    setStored("\\Windows\\rom.exe", "0x2040");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\rom.exe"), FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_ROMMODULE);
    expectRefused({REFUSES(DeleteFileW(u"\\Windows\\rom.exe"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\Windows\\rom.exe", u"\\Windows\\moved.exe"), ERROR_ACCESS_DENIED),
                   REFUSES(opens("\\Windows\\rom.exe", GENERIC_WRITE), ERROR_ACCESS_DENIED),
                   REFUSES(SetFileAttributesW(u"\\Windows\\rom.exe", 0), ERROR_ACCESS_DENIED)});
    EXPECT_EQ(t.readFile("\\Windows\\rom.exe"), "rom");

    // Only the settable bits change; a stored compressed bit stays.
    t.make({"\\c.dll"});
    setStored("\\c.dll", "0x800");
    ASSERT_TRUE(SetFileAttributesW(u"\\c.dll", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(u"\\c.dll"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_COMPRESSED);
}

TEST_F(Attributes, NewAndWrittenFilesGetArchive)
{
    HANDLE file = CreateFileW(u"\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, Hidden, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(u"\\new.txt"), Hidden | Archive);

    t.make({"\\old.txt"});
    EXPECT_EQ(GetFileAttributesW(u"\\old.txt"), 0u);
    file = CreateFileW(u"\\old.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(u"\\old.txt"), Archive);
}

TEST_F(Attributes, SurviveCopyAndMove)
{
    t.make({"\\a.txt", "\\dst\\"}, "content");
    const DWORD bits = Hidden | FILE_ATTRIBUTE_SYSTEM | ReadOnly;
    ASSERT_TRUE(SetFileAttributesW(u"\\a.txt", bits));
    WIN32_FIND_DATAW before, after;
    ASSERT_TRUE(findOne("\\a.txt", before));

    ASSERT_TRUE(CopyFileW(u"\\a.txt", u"\\dst\\copy.txt", TRUE));
    ASSERT_TRUE(findOne("\\dst\\copy.txt", after));
    EXPECT_EQ(after.dwFileAttributes, bits);
    EXPECT_EQ(after.ftLastWriteTime.dwLowDateTime, before.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(after.ftLastWriteTime.dwHighDateTime, before.ftLastWriteTime.dwHighDateTime);
    EXPECT_EQ(t.readFile("\\dst\\copy.txt"), "content");

    ASSERT_TRUE(MoveFileW(u"\\a.txt", u"\\dst\\moved.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\dst\\moved.txt"), bits);
    expectRefused({REFUSES(hasAttributes("\\a.txt"), ERROR_FILE_NOT_FOUND)});
}

TEST_F(Attributes, StorageCardFolderIsTemporaryListedAndKeptInPlace)
{
    QTemporaryDir card;
    QDir().mkpath(card.path() + "/Photos");
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")));

    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card"), Card);
    EXPECT_EQ(GetFileAttributesW(u"\\storage card\\"), Card);
    QHash<QString, DWORD> listed;
    findNames("\\*", nullptr, &listed);
    EXPECT_EQ(listed.value("Storage Card"), Card);
    EXPECT_EQ(findNames("\\Storage Card\\*"), QStringList({"Photos"}));
    EXPECT_TRUE(CreateDirectoryW(u"\\Storage Card\\New", nullptr));
    EXPECT_TRUE(QFileInfo(card.path() + "/New").isDir());

    // The card itself cannot be removed or moved; the link is never followed into.
    expectRefused({REFUSES(RemoveDirectoryW(u"\\Storage Card"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\Storage Card", u"\\Card2"), AnyError)});
    EXPECT_TRUE(QFileInfo(card.path() + "/Photos").isDir());
}

} // namespace
