#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

namespace {

QStringList hostEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

TEST(FileOperations, CreateFileDispositions)
{
    TempDevice t;
    t.make({"\\have.txt"}, "old");
    const struct
    {
        const char16_t *path;
        DWORD disposition;
        bool opens;
        DWORD error;
    } cases[] = {
        {u"\\have.txt", CREATE_NEW, false, ERROR_FILE_EXISTS},
        {u"\\have.txt", OPEN_EXISTING, true, ERROR_SUCCESS},
        {u"\\have.txt", OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS},
        {u"\\have.txt", CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS},
        {u"\\none.txt", OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND},
        {u"\\none.txt", TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND},
        {u"\\no\\none.txt", CREATE_ALWAYS, false, ERROR_PATH_NOT_FOUND},
        {u"\\Windows", OPEN_EXISTING, false, ERROR_ACCESS_DENIED},
        {u"\\new1.txt", CREATE_NEW, true, ERROR_SUCCESS},
        {u"\\new2.txt", OPEN_ALWAYS, true, ERROR_SUCCESS},
    };
    for (const auto &c : cases) {
        const HANDLE file = CreateFileW(c.path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, 0, nullptr);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << QString::fromUtf16(c.path).toStdString() << c.disposition;
        EXPECT_EQ(GetLastError(), c.error) << QString::fromUtf16(c.path).toStdString() << c.disposition;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    EXPECT_EQ(t.readFile("\\have.txt"), ""); // CREATE_ALWAYS truncated it
    EXPECT_TRUE(t.exists("\\new1.txt") && t.exists("\\new2.txt"));
}

TEST(FileOperations, ReadWriteSeekAndSize)
{
    TempDevice t;
    const HANDLE file = CreateFileW(u"\\f.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &n, nullptr));
    EXPECT_EQ(n, 11u);
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 11u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(QByteArray(buffer, int(n)), "world");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    LONG distanceHigh = 1;
    EXPECT_EQ(SetFilePointer(file, 0, &distanceHigh, FILE_BEGIN), 0u);
    EXPECT_EQ(distanceHigh, 1);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    const HANDLE reader = CreateFileW(u"\\f.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(reader);
    const HANDLE truncating = CreateFileW(u"\\f.bin", GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    EXPECT_EQ(GetFileSize(truncating, nullptr), 0u);
    CloseHandle(truncating);
}

TEST(FileOperations, CopyFileRules)
{
    TempDevice t;
    t.make({"\\src.txt"}, "source");
    t.make({"\\dst.txt"}, "target");
    EXPECT_FALSE(CopyFileW(u"\\src.txt", u"\\dst.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(t.readFile("\\dst.txt"), "target");
    EXPECT_TRUE(CopyFileW(u"\\src.txt", u"\\dst.txt", FALSE));
    EXPECT_EQ(t.readFile("\\dst.txt"), "source");
    EXPECT_FALSE(CopyFileW(u"\\missing.txt", u"\\x.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(u"\\src.txt", u"\\nofolder\\x.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(u"\\Windows", u"\\w", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    // Onto itself, under the same or another spelling: fails and keeps the content.
    EXPECT_FALSE(CopyFileW(u"\\src.txt", u"\\src.txt", FALSE));
    EXPECT_FALSE(CopyFileW(u"\\src.txt", u"\\SRC.TXT", FALSE));
    EXPECT_EQ(t.readFile("\\src.txt"), "source");
    EXPECT_EQ(hostEntries(t.host("\\")).filter(".~qm"), QStringList());
}

TEST(FileOperations, FailedCopyLeavesNoTemporaryAndOldTargetIntact)
{
    TempDevice t;
    t.writeFile("\\big.bin", QByteArray(1 << 20, 'b'));
    t.writeFile("\\old.bin", "old");
    // A file-size limit makes the copy fail part-way, as a full disk would.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const BOOL overwrite = CopyFileW(u"\\big.bin", u"\\old.bin", FALSE);
    const DWORD overwriteError = GetLastError();
    const BOOL fresh = CopyFileW(u"\\big.bin", u"\\new.bin", FALSE);
    const DWORD freshError = GetLastError();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(overwrite);
    EXPECT_EQ(overwriteError, ERROR_DISK_FULL);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(freshError, ERROR_DISK_FULL);
    EXPECT_EQ(t.readFile("\\old.bin"), "old");
    EXPECT_FALSE(t.exists("\\new.bin"));
    EXPECT_EQ(hostEntries(t.host("\\")).filter(".~qm"), QStringList());
}

TEST(FileOperations, MoveFileRules)
{
    TempDevice t;
    t.make({"\\a\\tree\\deep\\f.txt", "\\a\\one.txt", "\\a\\two.txt"});
    EXPECT_FALSE(MoveFileW(u"\\a\\one.txt", u"\\a\\TWO.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(MoveFileW(u"\\a\\none.txt", u"\\a\\x.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(MoveFileW(u"\\a\\one.txt", u"\\b\\one.txt"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(MoveFileW(u"\\a\\tree", u"\\My Documents\\tree"));
    EXPECT_TRUE(t.exists("\\My Documents\\tree\\deep\\f.txt"));
    EXPECT_FALSE(t.exists("\\a\\tree"));
}

TEST(FileOperations, MoveAcrossFileSystemsCopiesFilesAndRefusesFolders)
{
    TempDevice t;
    QTemporaryDir card(QStringLiteral("/dev/shm/qmcard-XXXXXX"));
    struct stat shm, store;
    if (!card.isValid() || ::stat(card.path().toLocal8Bit().constData(), &shm) != 0
        || ::stat(t.host("\\").toLocal8Bit().constData(), &store) != 0 || shm.st_dev == store.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Card")));
    t.make({"\\f.txt", "\\folder\\inner.txt"}, "moved");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", FILE_ATTRIBUTE_HIDDEN));

    ASSERT_TRUE(MoveFileW(u"\\f.txt", u"\\Card\\f.txt"));
    EXPECT_FALSE(t.exists("\\f.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\Card\\f.txt") & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(MoveFileW(u"\\folder", u"\\Card\\folder"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
    EXPECT_TRUE(t.exists("\\folder\\inner.txt"));
}

TEST(FileOperations, DeleteAndFolderRules)
{
    TempDevice t;
    t.make({"\\full\\f.txt", "\\file.txt"});
    EXPECT_FALSE(DeleteFileW(u"\\missing.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileW(u"\\full"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CreateDirectoryW(u"\\full", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryW(u"\\no\\new", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(RemoveDirectoryW(u"\\full"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(RemoveDirectoryW(u"\\file.txt"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(RemoveDirectoryW(u"\\missing"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(DeleteFileW(u"\\FULL\\F.TXT"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\full"));
    EXPECT_TRUE(CreateDirectoryW(u"\\made", nullptr));
    EXPECT_EQ(GetFileAttributesW(u"\\made\\"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileOperations, DiskFreeSpaceOfTheStore)
{
    TempDevice t;
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(u"\\My Documents\\", &available, &total, &free));
    struct statvfs fs;
    ASSERT_EQ(::statvfs(t.host("\\").toLocal8Bit().constData(), &fs), 0);
    EXPECT_EQ(total.QuadPart, std::uint64_t(fs.f_blocks) * fs.f_frsize);
    EXPECT_LE(available.QuadPart, free.QuadPart);
    EXPECT_FALSE(GetDiskFreeSpaceExW(u"\\nowhere", &available, &total, &free));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

} // namespace
