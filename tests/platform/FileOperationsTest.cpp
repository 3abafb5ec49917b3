#include "PlatformTestUtil.h"
#include "FileSizeLimit.h"
#include "TempDevice.h"

#include "platform/FileCopy.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

class FileOperations : public ::testing::Test
{
protected:
    // Temporary copies left behind in the store's root.
    QStringList leftovers() const
    {
        return QDir(t.host("\\")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).filter(".~qm");
    }
    TempDevice t;
};

TEST_F(FileOperations, CreateFileDispositionsAndReadWriteSeekAndSize)
{
    t.make({"\\have.txt"}, "old");
    // Opened exactly when the error left is none or "already exists".
    const struct { const char *path; DWORD disposition, error; } cases[] = {
        {"\\have.txt", CREATE_NEW, ERROR_FILE_EXISTS},        {"\\have.txt", OPEN_EXISTING, ERROR_SUCCESS},
        {"\\have.txt", OPEN_ALWAYS, ERROR_ALREADY_EXISTS},    {"\\have.txt", CREATE_ALWAYS, ERROR_ALREADY_EXISTS},
        {"\\none.txt", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},  {"\\none.txt", TRUNCATE_EXISTING, ERROR_FILE_NOT_FOUND},
        {"\\no\\none.txt", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND}, {"\\Windows", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"\\new1.txt", CREATE_NEW, ERROR_SUCCESS},            {"\\new2.txt", OPEN_ALWAYS, ERROR_SUCCESS},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(bool(opens(c.path, GENERIC_READ | GENERIC_WRITE, c.disposition)),
                  c.error == ERROR_SUCCESS || c.error == ERROR_ALREADY_EXISTS) << c.path << " " << c.disposition;
        EXPECT_EQ(GetLastError(), c.error) << c.path << " " << c.disposition;
    }
    EXPECT_EQ(t.readFile("\\have.txt"), ""); // CREATE_ALWAYS truncated it
    EXPECT_TRUE(t.exists("\\new1.txt") && t.exists("\\new2.txt"));
    const HANDLE file = openFile("\\f.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD n = 0, high = 7;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &n, nullptr));
    // Written, size and its high word, position after seeking 5 back from the end.
    EXPECT_EQ((std::vector<DWORD>{n, GetFileSize(file, &high), high, SetFilePointer(file, -5, nullptr, FILE_END)}),
              (std::vector<DWORD>{11, 11, 0, 6}));
    const auto read = [&] {
        char buffer[16];
        return ReadFile(file, buffer, sizeof buffer, &n, nullptr) ? QByteArray(buffer, int(n)) : "<failed>";
    };
    EXPECT_EQ((QList<QByteArray>{read(), read()}), (QList<QByteArray>{"world", ""}));
    const HANDLE reader = openFile("\\f.bin", GENERIC_READ);
    expectRefused(
        {REFUSES(SetFilePointer(file, -1, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK),
         REFUSES(WriteFile(reader, "x", 1, &n, nullptr), ERROR_ACCESS_DENIED)});
    EXPECT_TRUE(CloseHandle(file) && CloseHandle(reader));
    const HANDLE truncating = openFile("\\f.bin", GENERIC_WRITE, TRUNCATE_EXISTING);
    EXPECT_EQ(GetFileSize(truncating, nullptr), 0u);
    CloseHandle(truncating);
}

// Stands in for the flush of every copy: fails when told to, else notes what
// the flushed file held and what the target name held at that moment.
struct FlushRecorder {
    FlushRecorder() { FileCopy::flushCall = record; }
    ~FlushRecorder() { FileCopy::flushCall = ::fsync; }
    static int record(int fd)
    {
        errno = EIO;
        if (s_fail)
            return -1;
        QFile flushed("/proc/self/fd/" + QString::number(fd)), target(s_target);
        const QByteArray before = target.open(QIODevice::ReadOnly) ? target.readAll() : "<none>";
        s_seen << (flushed.open(QIODevice::ReadOnly) ? flushed.readAll() : "?") + " over " + before;
        return 0;
    }
    static inline QString s_target;
    static inline bool s_fail = false;
    static inline QList<QByteArray> s_seen;
};

// A copy goes to a temporary name, is flushed, then renamed into place: a copy that fails
// (refused, disk full, failed flush) leaves the old target and no temporary file.
TEST_F(FileOperations, CopyReplacesTheTargetOnlyWhenWholeAndFlushedMoveDeleteAndFoldersKeepTheirRules)
{
    t.writeFile("\\src.txt", "source");
    t.writeFile("\\dst.txt", "target");
    t.writeFile("\\big.bin", QByteArray(1 << 20, 'b'));
    expectRefused({
        REFUSES(CopyFileW(u"\\src.txt", u"\\dst.txt", TRUE), ERROR_FILE_EXISTS),
        REFUSES(CopyFileW(u"\\missing.txt", u"\\x.txt", FALSE), ERROR_FILE_NOT_FOUND),
        REFUSES(CopyFileW(u"\\src.txt", u"\\nofolder\\x.txt", FALSE), ERROR_PATH_NOT_FOUND),
        REFUSES(CopyFileW(u"\\Windows", u"\\w", FALSE), ERROR_ACCESS_DENIED),
        // Onto itself, under the same or another spelling.
        REFUSES(CopyFileW(u"\\src.txt", u"\\src.txt", FALSE), AnyError),
        REFUSES(CopyFileW(u"\\src.txt", u"\\SRC.TXT", FALSE), AnyError),
    });
    {
        const FileSizeLimit limit(64 * 1024); // fails part-way, as a full disk would
        expectRefused({REFUSES(CopyFileW(u"\\big.bin", u"\\dst.txt", FALSE), ERROR_DISK_FULL)});
    }
    EXPECT_EQ(t.readFile("\\src.txt"), "source");
    {
        FlushRecorder recorder;
        FlushRecorder::s_fail = true;
        expectRefused({REFUSES(CopyFileW(u"\\src.txt", u"\\dst.txt", FALSE), AnyError),
                       REFUSES(CopyFileW(u"\\src.txt", u"\\none.txt", FALSE), AnyError)});
        FlushRecorder::s_fail = false;
        EXPECT_EQ(t.readFile("\\dst.txt"), "target");
        EXPECT_FALSE(t.exists("\\none.txt"));
        EXPECT_EQ(leftovers(), QStringList());
        FlushRecorder::s_target = t.host("\\dst.txt");
        ASSERT_TRUE(CopyFileW(u"\\src.txt", u"\\dst.txt", FALSE));
        FlushRecorder::s_target = t.host("\\new.txt");
        ASSERT_TRUE(CopyFileW(u"\\src.txt", u"\\new.txt", TRUE));
        EXPECT_EQ(FlushRecorder::s_seen, (QList<QByteArray>{"source over target", "source over <none>"}));
    }
    EXPECT_EQ(t.readFile("\\dst.txt"), "source");
    EXPECT_EQ(leftovers(), QStringList());
    // Moves, deletes and folders keep their rules.
    t.make({"\\a\\tree\\deep\\f.txt", "\\a\\one.txt", "\\a\\two.txt", "\\full\\f.txt", "\\file.txt"});
    expectRefused({
        REFUSES(MoveFileW(u"\\a\\one.txt", u"\\a\\TWO.txt"), ERROR_ALREADY_EXISTS),
        REFUSES(MoveFileW(u"\\a\\none.txt", u"\\a\\x.txt"), ERROR_FILE_NOT_FOUND),
        REFUSES(MoveFileW(u"\\a\\one.txt", u"\\b\\one.txt"), ERROR_PATH_NOT_FOUND),
        REFUSES(DeleteFileW(u"\\missing.txt"), ERROR_FILE_NOT_FOUND),
        REFUSES(DeleteFileW(u"\\full"), ERROR_ACCESS_DENIED),
        REFUSES(CreateDirectoryW(u"\\full", nullptr), ERROR_ALREADY_EXISTS),
        REFUSES(CreateDirectoryW(u"\\no\\new", nullptr), ERROR_PATH_NOT_FOUND),
        REFUSES(RemoveDirectoryW(u"\\full"), ERROR_DIR_NOT_EMPTY),
        REFUSES(RemoveDirectoryW(u"\\file.txt"), ERROR_DIRECTORY),
        REFUSES(RemoveDirectoryW(u"\\missing"), ERROR_FILE_NOT_FOUND),
        REFUSES(GetDiskFreeSpaceExW(u"\\nowhere", nullptr, nullptr, nullptr), ERROR_PATH_NOT_FOUND),
    });
    EXPECT_TRUE(MoveFileW(u"\\a\\tree", u"\\My Documents\\tree") && DeleteFileW(u"\\FULL\\F.TXT")
                && RemoveDirectoryW(u"\\full") && CreateDirectoryW(u"\\made", nullptr));
    EXPECT_EQ((QList<bool>{t.exists("\\My Documents\\tree\\deep\\f.txt"), t.exists("\\a\\tree"), t.exists("\\full")}),
              (QList<bool>{true, false, false}));
    EXPECT_EQ(GetFileAttributesW(u"\\made\\"), FILE_ATTRIBUTE_DIRECTORY);
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(u"\\My Documents\\", &available, &total, &free));
    struct statvfs fs;
    ASSERT_EQ(::statvfs(t.host("\\").toLocal8Bit().constData(), &fs), 0);
    EXPECT_EQ(total.QuadPart, std::uint64_t(fs.f_blocks) * fs.f_frsize);
    EXPECT_LE(available.QuadPart, free.QuadPart);
}

// Makes this process's kernel refuse to link a file by its descriptor, as
// kernels before 6.10 refuse a user.
bool refuseLinkByDescriptor()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_linkat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[4])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, AT_EMPTY_PATH, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOENT),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{sizeof filter / sizeof filter[0], filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// A new copy gets the source's permission bits whatever the umask or a
// folder's default ACL (owner rw, group r, others nothing) would give a new
// file, also where the kernel refuses to link by descriptor. Each case runs in
// a process of its own: the umask and that refusal are learnt once a process.
TEST_F(FileOperations, NewCopiesKeepTheSourcesModesUnderAnyUmaskFolderAndKernel)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    t.make({"\\src", "\\plain\\", "\\acl\\"});
    const char acl[] = "\x02\0\0\0" "\x01\0\x06\0\xff\xff\xff\xff" "\x04\0\x04\0\xff\xff\xff\xff"
                       "\x20\0\0\0\xff\xff\xff\xff";
    if (::setxattr(QFile::encodeName(t.host("\\acl")).constData(), "system.posix_acl_default", acl, sizeof acl - 1, 0))
        GTEST_SKIP() << "no ACLs here";
    const struct { mode_t umask, mode; const char *folder; bool refuse; } cases[] = {
        {022, 0644, "\\plain", false}, {077, 0644, "\\plain", false}, {002, 0775, "\\plain", true},
        {022, 0755, "\\acl", false},   {022, 0444, "\\plain", false},
    };
    for (const auto &c : cases) {
        const std::string expected = QByteArray::number(c.mode, 8).toStdString();
        EXPECT_EXIT(
            {
                ::umask(c.umask);
                ::chmod(QFile::encodeName(t.host("\\src")).constData(), c.mode);
                QByteArray modes = !c.refuse || refuseLinkByDescriptor() ? "modes" : "not refused";
                for (const char *name : {"\\a", "\\b"}) {
                    struct stat st;
                    const QString copy = c.folder + QString(name);
                    modes += CopyFileW(u"\\src", wide(copy), TRUE)
                            && ::stat(QFile::encodeName(t.host(copy)).constData(), &st) == 0
                        ? " " + QByteArray::number(st.st_mode & 07777, 8)
                        : " failed";
                }
                std::fprintf(stderr, "%s\n", modes.constData());
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "^modes " + expected + " " + expected + "\n")
            << c.folder << " umask " << c.umask;
    }
}

TEST_F(FileOperations, MoveAcrossFileSystemsCopiesFilesAndRefusesFolders)
{
    QTemporaryDir card("/dev/shm/qmcard-XXXXXX");
    struct stat shm, store;
    if (!card.isValid() || ::stat(card.path().toLocal8Bit().constData(), &shm) != 0
        || ::stat(t.host("\\").toLocal8Bit().constData(), &store) != 0 || shm.st_dev == store.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    ASSERT_TRUE(QFile::link(card.path(), t.host("\\Card")));
    t.make({"\\f.txt", "\\folder\\inner.txt"}, "moved");
    ASSERT_TRUE(SetFileAttributesW(u"\\f.txt", FILE_ATTRIBUTE_HIDDEN) && MoveFileW(u"\\f.txt", u"\\Card\\f.txt"));
    EXPECT_FALSE(t.exists("\\f.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\Card\\f.txt") & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    expectRefused({REFUSES(MoveFileW(u"\\folder", u"\\Card\\folder"), ERROR_NOT_SAME_DEVICE)});
    EXPECT_TRUE(t.exists("\\folder\\inner.txt"));
}

} // namespace
