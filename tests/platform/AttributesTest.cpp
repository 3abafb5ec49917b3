#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/DosAttributes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace {

constexpr DWORD RomBits = FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_ROMMODULE;

QByteArray hostName(const QString &path)
{
    return path.toLocal8Bit();
}

void setStored(const QString &hostPath, const QByteArray &value)
{
    ASSERT_EQ(::setxattr(hostName(hostPath).constData(), "user.DOSATTRIB", value.constData(), value.size(), 0), 0);
}

TEST(Attributes, StoredBitsUseSambaTextForm)
{
    TempDevice t;
    t.make({"\\f.txt"});
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\f.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    QProcess getfattr;
    getfattr.start("getfattr", {"-n", "user.DOSATTRIB", "-e", "text", "--absolute-names", t.host("\\f.txt")});
    ASSERT_TRUE(getfattr.waitForFinished());
    EXPECT_TRUE(getfattr.readAllStandardOutput().contains("user.DOSATTRIB=\"0x22\"\n"));
}

TEST(Attributes, SambaBinaryFormsDecode)
{
    const struct
    {
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

TEST(Attributes, ReadOnlyFollowsOwnerWriteBitAndBlocksWriting)
{
    TempDevice t;
    t.make({"\\ro.txt"}, "keep");
    ASSERT_TRUE(SetFileAttributesW(u"\\ro.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(QFileInfo(t.host("\\ro.txt")).permissions() & QFileDevice::WriteOwner);
    EXPECT_EQ(GetFileAttributesW(u"\\ro.txt"), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(CreateFileW(u"\\ro.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFileW(u"\\ro.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    const HANDLE reader = CreateFileW(u"\\ro.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);

    ASSERT_TRUE(SetFileAttributesW(u"\\ro.txt", 0));
    EXPECT_EQ(GetFileAttributesW(u"\\ro.txt"), 0u);
    EXPECT_TRUE(DeleteFileW(u"\\ro.txt"));
    EXPECT_FALSE(t.exists("\\ro.txt"));
}

TEST(Attributes, RomFilesRefuseEveryChange)
{
    TempDevice t;
    t.make({"\\Windows\\rom.exe"}, "rom");
    setStored(t.host("\\Windows\\rom.exe"), "0x2040");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\rom.exe"), RomBits);

    EXPECT_FALSE(DeleteFileW(u"\\Windows\\rom.exe"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileW(u"\\Windows\\rom.exe", u"\\Windows\\moved.exe"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreateFileW(u"\\Windows\\rom.exe", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetFileAttributesW(u"\\Windows\\rom.exe", 0));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(t.readFile("\\Windows\\rom.exe"), "rom");
}

TEST(Attributes, OnlySettableBitsChangeAndRomBitsStay)
{
    TempDevice t;
    t.make({"\\c.dll"});
    setStored(t.host("\\c.dll"), "0x800");
    ASSERT_TRUE(SetFileAttributesW(u"\\c.dll", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(u"\\c.dll"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_COMPRESSED);
}

TEST(Attributes, NewAndWrittenFilesGetArchive)
{
    TempDevice t;
    HANDLE file = CreateFileW(u"\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(u"\\new.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    t.make({"\\old.txt"});
    EXPECT_EQ(GetFileAttributesW(u"\\old.txt"), 0u);
    file = CreateFileW(u"\\old.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(u"\\old.txt"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST(Attributes, SurviveCopyAndMove)
{
    TempDevice t;
    t.make({"\\a.txt", "\\dst\\"}, "content");
    ASSERT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    const DWORD expected = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    WIN32_FIND_DATAW before, after;
    ASSERT_TRUE(findOne("\\a.txt", before));

    ASSERT_TRUE(CopyFileW(u"\\a.txt", u"\\dst\\copy.txt", TRUE));
    ASSERT_TRUE(findOne("\\dst\\copy.txt", after));
    EXPECT_EQ(after.dwFileAttributes, expected);
    EXPECT_EQ(after.ftLastWriteTime.dwLowDateTime, before.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(after.ftLastWriteTime.dwHighDateTime, before.ftLastWriteTime.dwHighDateTime);
    EXPECT_EQ(t.readFile("\\dst\\copy.txt"), "content");

    ASSERT_TRUE(MoveFileW(u"\\a.txt", u"\\dst\\moved.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\dst\\moved.txt"), expected);
    EXPECT_EQ(GetFileAttributesW(u"\\a.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(Attributes, StorageCardFolderIsTemporaryAndListed)
{
    TempDevice t;
    QTemporaryDir card;
    QDir().mkpath(card.path() + "/Photos");
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Storage Card")));

    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
    EXPECT_EQ(GetFileAttributesW(u"\\storage card\\"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
    WIN32_FIND_DATAW data;
    bool seen = false;
    const HANDLE find = FindFirstFileW(u"\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        if (fromWide(data.cFileName) == "Storage Card") {
            seen = true;
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
        }
    while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_TRUE(seen);
    EXPECT_EQ(findNames("\\Storage Card\\*"), QStringList({"Photos"}));
    EXPECT_TRUE(CreateDirectoryW(u"\\Storage Card\\New", nullptr));
    EXPECT_TRUE(QFileInfo(card.path() + "/New").isDir());

    // The card itself cannot be removed or moved; the link is never followed into.
    EXPECT_FALSE(RemoveDirectoryW(u"\\Storage Card"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileW(u"\\Storage Card", u"\\Card2"));
    EXPECT_TRUE(QFileInfo(card.path() + "/Photos").isDir());
}

} // namespace
