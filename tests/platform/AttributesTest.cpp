#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/DosAttributes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/xattr.h>

namespace {

constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN, System = FILE_ATTRIBUTE_SYSTEM, ReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD Card = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

class Attributes : public ::testing::Test
{
protected:
    // Attribute bits, the stored text as getfattr reads it ("-": none), the owner's write bit.
    std::string facts(const QString &devicePath)
    {
        QProcess getfattr;
        getfattr.start("getfattr", {"--only-values", "-n", "user.DOSATTRIB", "--absolute-names", t.host(devicePath)});
        getfattr.waitForFinished();
        const QByteArray stored = getfattr.readAllStandardOutput();
        return QString("%1 stored %2 %3")
            .arg(QString::number(GetFileAttributesW(wide(devicePath)), 16), stored.isEmpty() ? "-" : stored,
                 writable(t.host(devicePath)) ? "writable" : "locked")
            .toStdString();
    }
    static bool writable(const QString &host) { return QFile::permissions(host) & QFile::WriteOwner; }
    TempDevice t;
};

// Bits are stored as Samba's text; read-only is the owner's write bit on files (not on folders)
// and blocks writing; new and written files get Archive; copies and moves keep the bits. Samba's
// binary forms are read too.
TEST_F(Attributes, StoredAsSambaTextWithReadOnlyAsTheWriteBitAndRomFilesRefuseEveryChange)
{
    t.make({"\\f.txt", "\\d\\"}, "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", Hidden | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(facts("\\f.txt"), "22 stored 0x22 writable");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", ReadOnly | Hidden));
    EXPECT_EQ(facts("\\f.txt"), "3 stored 0x3 locked");
    expectRefused({REFUSES(opens("\\f.txt", GENERIC_WRITE), ERROR_ACCESS_DENIED),
                   REFUSES(opens("\\f.txt", GENERIC_WRITE, TRUNCATE_EXISTING), ERROR_ACCESS_DENIED),
                   REFUSES(DeleteFileW(u"\\f.txt"), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(opens("\\f.txt", GENERIC_READ));
    EXPECT_EQ(t.readFile("\\f.txt"), "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", 0));
    EXPECT_EQ(facts("\\f.txt"), "0 stored - writable");
    const HANDLE written = openFile("\\f.txt", GENERIC_WRITE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(written, "abc", 3, &n, nullptr) && CloseHandle(written));
    EXPECT_EQ(facts("\\f.txt"), "20 stored 0x20 writable");
    EXPECT_TRUE(DeleteFileW(u"\\f.txt") && !t.exists("\\f.txt"));
    CloseHandle(CreateFileW(u"\\n", GENERIC_WRITE, 0, nullptr, CREATE_NEW, ReadOnly | Hidden | System, nullptr));
    EXPECT_EQ(facts("\\n"), "27 stored 0x27 locked");
    ASSERT_TRUE(SetFileAttributesW(u"\\n", Hidden | System | ReadOnly));
    ASSERT_TRUE(CopyFileW(u"\\n", u"\\d\\copy", TRUE) && MoveFileW(u"\\n", u"\\d\\moved"));
    EXPECT_EQ(facts("\\d\\copy"), "7 stored 0x7 locked");
    EXPECT_EQ(facts("\\d\\moved"), "7 stored 0x7 locked");
    ASSERT_TRUE(SetFileAttributesW(u"\\d", ReadOnly));
    EXPECT_EQ(facts("\\d"), "11 stored 0x1 writable");
    // Files in ROM refuse every change; ROM bits stay.
    t.make({"\\Windows\\rom.exe"}, "rom");
    ASSERT_EQ(::setxattr(QFile::encodeName(t.host("\\Windows\\rom.exe")), "user.DOSATTRIB", "0x2040", 6, 0), 0);
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\rom.exe"), FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_ROMMODULE);
    expectRefused({REFUSES(DeleteFileW(u"\\Windows\\rom.exe"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\Windows\\rom.exe", u"\\Windows\\moved.exe"), ERROR_ACCESS_DENIED),
                   REFUSES(opens("\\Windows\\rom.exe", GENERIC_WRITE), ERROR_ACCESS_DENIED),
                   REFUSES(SetFileAttributesW(u"\\Windows\\rom.exe", 0), ERROR_ACCESS_DENIED)});
    EXPECT_EQ(t.readFile("\\Windows\\rom.exe"), "rom");
    // Only the settable bits change; a stored compressed bit stays.
    t.make({"\\c.dll"});
    ASSERT_EQ(::setxattr(QFile::encodeName(t.host("\\c.dll")), "user.DOSATTRIB", "0x800", 5, 0), 0);
    ASSERT_TRUE(SetFileAttributesW(u"\\c.dll", System | FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(u"\\c.dll"), System | FILE_ATTRIBUTE_COMPRESSED);
    // Samba's binary forms decode too.
    const std::pair<QByteArray, std::optional<DWORD>> cases[] = {
        {"0x22", 0x22}, {QByteArray("0x20\0", 5), 0x20}, {QByteArray("\0\0\7\0", 4), std::nullopt},
        // Version 5: empty text, version and level, valid flags, attributes, create time.
        {QByteArray::fromHex("000005000500000011000000220000000000000000000000"), 0x22},
        // Version 3 after the text "0x20": the body starts at 12.
        {QByteArray::fromHex("3078323000000300030000000100000024000000") + QByteArray(36, '\0'), 0x24},
        // Version 3 with the attribute field marked invalid: the text holds it.
        {QByteArray::fromHex("3078323000000300030000000000000024000000") + QByteArray(36, '\0'), 0x20},
    };
    for (const auto &[blob, bits] : cases)
        EXPECT_EQ(DosAttributes::decode(blob.constData(), std::size_t(blob.size())), bits) << blob.toHex().data();
}

// The card itself (like the root) takes no attributes and cannot be removed or moved.
TEST_F(Attributes, StorageCardFolderIsTemporaryListedAndKeptInPlace)
{
    QTemporaryDir card;
    QDir().mkpath(card.path() + "/Photos");
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")));
    QHash<QString, DWORD> listed;
    findNames("\\*", nullptr, &listed);
    EXPECT_EQ(QList<DWORD>({GetFileAttributesW(u"\\Storage Card"), GetFileAttributesW(u"\\storage card\\"),
                            listed.value("Storage Card")}), QList<DWORD>({Card, Card, Card}));
    EXPECT_EQ(findNames("\\Storage Card\\*"), QStringList({"Photos"}));
    EXPECT_TRUE(CreateDirectoryW(u"\\Storage Card\\New", nullptr) && QFileInfo(card.path() + "/New").isDir());
    expectRefused({REFUSES(RemoveDirectoryW(u"\\Storage Card"), ERROR_ACCESS_DENIED),
                   REFUSES(MoveFileW(u"\\Storage Card", u"\\Card2"), AnyError),
                   REFUSES(SetFileAttributesW(u"\\Storage Card", ReadOnly), ERROR_ACCESS_DENIED),
                   REFUSES(SetFileAttributesW(u"\\", ReadOnly), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(QFileInfo(card.path() + "/Photos").isDir() && writable(t.host("\\")) && writable(card.path()));
}

} // namespace
