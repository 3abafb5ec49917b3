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
        ASSERT_EQ(::setxattr(QFile::encodeName(t.host(devicePath)), "user.DOSATTRIB", value.constData(),
                             value.size(), 0), 0);
    }
    // The stored text as getfattr reads it.
    QByteArray stored(const QString &devicePath)
    {
        QProcess getfattr;
        getfattr.start("getfattr", {"--only-values", "-n", "user.DOSATTRIB", "--absolute-names", t.host(devicePath)});
        getfattr.waitForFinished();
        return getfattr.readAllStandardOutput();
    }
    bool writable(const QString &devicePath) { return permitsWrite(t.host(devicePath)); }
    static bool permitsWrite(const QString &host) { return QFile::permissions(host) & QFile::WriteOwner; }
    TempDevice t;
};

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

// Bits are stored as Samba's text; read-only is the owner's write bit on files
// (not on folders) and blocks writing; new and written files get Archive.
TEST_F(Attributes, StoredAsSambaTextWithReadOnlyAsTheWriteBit)
{
    t.make({"\\f.txt", "\\d\\"}, "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", Hidden | Archive | FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), Hidden | Archive);
    EXPECT_EQ(stored("\\f.txt"), "0x22");

    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", ReadOnly | Hidden));
    EXPECT_EQ(stored("\\f.txt"), "0x3");
    EXPECT_FALSE(writable("\\f.txt"));
    expectRefused({REFUSES(opens("\\f.txt", GENERIC_WRITE), ERROR_ACCESS_DENIED),
                   REFUSES(opens("\\f.txt", GENERIC_WRITE, TRUNCATE_EXISTING), ERROR_ACCESS_DENIED),
                   REFUSES(DeleteFileW(u"\\f.txt"), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(opens("\\f.txt", GENERIC_READ));
    EXPECT_EQ(t.readFile("\\f.txt"), "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", 0));
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), 0u);
    EXPECT_TRUE(writable("\\f.txt"));
    const HANDLE written = CreateFileW(u"\\f.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(written, "abc", 3, &n, nullptr));
    CloseHandle(written);
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), Archive);
    EXPECT_TRUE(DeleteFileW(u"\\f.txt"));
    EXPECT_FALSE(t.exists("\\f.txt"));

    CloseHandle(CreateFileW(u"\\n", GENERIC_WRITE, 0, nullptr, CREATE_NEW, ReadOnly | Hidden | FILE_ATTRIBUTE_SYSTEM, nullptr));
    EXPECT_EQ(GetFileAttributesW(u"\\n"), 0x27u);
    EXPECT_EQ(stored("\\n"), "0x27");
    ASSERT_TRUE(SetFileAttributesW(u"\\d", ReadOnly));
    EXPECT_EQ(GetFileAttributesW(u"\\d"), ReadOnly | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(writable("\\d"));
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

TEST_F(Attributes, SurviveCopyAndMove)
{
    t.make({"\\a.txt", "\\dst\\"}, "content");
    const DWORD bits = Hidden | FILE_ATTRIBUTE_SYSTEM | ReadOnly;
    ASSERT_TRUE(SetFileAttributesW(u"\\a.txt", bits));
    ASSERT_TRUE(CopyFileW(u"\\a.txt", u"\\dst\\copy.txt", TRUE));
    EXPECT_EQ(GetFileAttributesW(u"\\dst\\copy.txt"), bits);
    ASSERT_TRUE(MoveFileW(u"\\a.txt", u"\\dst\\moved.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\dst\\moved.txt"), bits);
}

// The card itself (like the root) takes no attributes and cannot be removed
// or moved; the link is never followed into.
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

    expectRefused({REFUSES(RemoveDirectoryW(u"\\Storage Card"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\Storage Card", u"\\Card2"), AnyError),
                   REFUSES(SetFileAttributesW(u"\\Storage Card", ReadOnly), ERROR_ACCESS_DENIED),
                   REFUSES(SetFileAttributesW(u"\\", ReadOnly), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(QFileInfo(card.path() + "/Photos").isDir());
    EXPECT_TRUE(writable("\\") && permitsWrite(card.path()));
}

} // namespace
