#include "FileOpsFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include "platform/Files.h"
#include <sys/stat.h>

namespace {

using FolderCopy = FileOps;

struct Refusal {
    const char *source;
    const char *destination;
    const char *message; // empty: the copy is allowed
};

TEST_F(FolderCopy, RefusesItselfAndItsSubfolders)
{
    device.make({"\\A\\f.txt", "\\A\\B\\", "\\AB\\"});
    start();
    const Refusal cases[] = {
        {"\\A\\", "\\A\\", "Cannot copy into source."},
        {"\\A", "\\A\\", "Cannot copy into source."},
        {"\\A\\", "\\A\\B\\", "Cannot copy \\A:\r\nThe destination folder is a subfolder of the source folder."},
        {"\\A\\", "\\AB\\", ""},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.destination);
        if (*c.message)
            sink.expect(c.message, App, Exclamation, IDOK);
        EXPECT_EQ(ops.CopyFolderTree(c.source, c.destination), !*c.message);
        if (*c.message) {
            EXPECT_EQ(sink.lastOwner(), frame.get());
        }
        EXPECT_EQ(CFileOperations::copyDepth(), 0);
    }
    EXPECT_FALSE(exists("\\A\\A"));
    EXPECT_FALSE(exists("\\A\\B\\A"));
    EXPECT_EQ(device.readFile("\\AB\\A\\f.txt"), "x");
    EXPECT_TRUE(exists("\\AB\\A\\B"));
}

TEST_F(FolderCopy, EmptyFolderIsCreated)
{
    device.make({"\\E\\", "\\D\\"});
    start();
    EXPECT_TRUE(ops.CopyFolderTree("\\E\\", "\\D\\"));
    EXPECT_TRUE(QFileInfo(device.host("\\D\\E")).isDir());
    EXPECT_EQ(CFileOperations::copyDepth(), 0);
}

TEST_F(FolderCopy, IntoItsOwnParentFailsToCreateTheFolder)
{
    device.make({"\\P\\A\\f.txt"});
    start();
    sink.expect("Failed to create folder:\r\n\\P\\A", App, Exclamation, IDOK);
    EXPECT_FALSE(ops.CopyFolderTree("\\P\\A\\", "\\P\\"));
    EXPECT_EQ(device.readFile("\\P\\A\\f.txt"), "x");
}

// Files under folder in the order a depth-first walk meets them, as the
// platform enumerates each folder.
QStringList walk(const QString &folder)
{
    QStringList files;
    WIN32_FIND_DATAW data;
    const QString pattern = folder + QStringLiteral("\\*.*");
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.utf16()), &data);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do {
        const QString path = folder + QLatin1Char('\\') + fromWide(data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            files += walk(path);
        else
            files << path;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return files;
}

// Every file of a three-level tree fails to copy; the answer to the first
// question decides whether the copy goes on at every level.
TEST_F(FolderCopy, NoDeepInsideEndsEveryLevelYesGoesOn)
{
    const QByteArray big(256 * 1024, 'b');
    for (const char *path : {"\\A\\B\\C\\1.bin", "\\A\\B\\2.bin", "\\A\\3.bin", "\\A\\D\\4.bin"})
        device.writeFile(path, big);
    device.make({"\\T1\\", "\\T2\\"});
    start();
    const QStringList files = walk("\\A");
    ASSERT_EQ(files.size(), 4);

    sink.expect(QStringLiteral("Failed to copy %1\nContinue Copy?").arg(files[0]), Err, MB_YESNO, IDNO);
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(ops.CopyFolderTree("\\A\\", "\\T1\\"));
    }
    EXPECT_EQ(sink.lastOwner(), nullptr);
    EXPECT_FALSE(CFileOperations::continueCopy());
    EXPECT_EQ(CFileOperations::copyDepth(), 0);
    EXPECT_EQ(walk("\\T1"), QStringList());

    for (const QString &file : files)
        sink.expect(QStringLiteral("Failed to copy %1\nContinue Copy?").arg(file), Err, MB_YESNO, IDYES);
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(ops.CopyFolderTree("\\A\\", "\\T2\\"));
    }
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_TRUE(QFileInfo(device.host("\\T2\\A\\B\\C")).isDir()) << "every folder was still made";
    EXPECT_TRUE(QFileInfo(device.host("\\T2\\A\\D")).isDir());
    EXPECT_EQ(CFileOperations::copyDepth(), 0);
}

// The copy keeps each file's attribute bits and last write time, and never
// gives one folder two names that differ only in letter case.
TEST_F(FolderCopy, KeepsAttributesAndTimesAndOneSpellingOfEachName)
{
    device.make({"\\S\\plain.txt", "\\S\\marked.txt", "\\S\\Same.txt", "\\S\\same.TXT", "\\T\\"});
    start();
    ASSERT_TRUE(SetFileAttributesW(wide("\\S\\marked.txt"),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const QDateTime past = QDateTime::fromSecsSinceEpoch(1000000000);
    QFile plain(device.host("\\S\\plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::ReadWrite) && plain.setFileTime(past, QFileDevice::FileModificationTime));
    plain.close();
    const QStringList files = walk("\\S");
    const qsizetype first = files.indexOf(QRegularExpression(".*Same\\.txt", QRegularExpression::CaseInsensitiveOption));
    const qsizetype second = files.lastIndexOf(QRegularExpression(".*Same\\.txt", QRegularExpression::CaseInsensitiveOption));
    ASSERT_LT(first, second);

    sink.expect(QStringLiteral("Failed to copy %1\nContinue Copy?").arg(files[second]), Err, MB_YESNO, IDYES);
    ops.CopyFolderTree("\\S", "\\T");
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_EQ(GetFileAttributesW(wide("\\T\\S\\marked.txt")),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(wide("\\T\\S\\plain.txt")), 0u);
    EXPECT_EQ(QFileInfo(device.host("\\T\\S\\plain.txt")).lastModified(), past);
    const QString kept = files[first].mid(files[first].lastIndexOf(QLatin1Char('\\')) + 1);
    QStringList expected({kept, "marked.txt", "plain.txt"});
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(QDir(device.host("\\T\\S")).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), expected);
}

TEST_F(FolderCopy, NestedFolderOfAnotherSpellingIsReportedNotMerged)
{
    device.make({"\\F\\Dir\\a.txt", "\\F\\dir\\b.txt", "\\T\\"});
    start();
    const QStringList files = walk("\\F");
    ASSERT_EQ(files.size(), 2);
    const QString second = files[1].section(QLatin1Char('\\'), 2, 2);

    sink.expect(QStringLiteral("Failed to create folder:\r\n\\T\\F\\%1").arg(second), App, Exclamation, IDOK);
    ops.CopyFolderTree("\\F", "\\T");
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_EQ(walk("\\T\\F"), QStringList({"\\T" + files[0]}));
}

using FolderMove = FileOps;

ino_t inode(const QString &hostPath)
{
    struct stat st {};
    ::stat(QFile::encodeName(hostPath).constData(), &st);
    return st.st_ino;
}

TEST_F(FolderMove, WithinATopLevelFolderIsOneRename)
{
    device.make({"\\My Documents\\X\\f.txt", "\\My Documents\\Y\\"});
    start();
    open("\\My Documents\\X\\");
    const ino_t before = inode(device.host("\\My Documents\\X"));
    EXPECT_TRUE(ops.MoveFolderTree("\\My Documents\\X\\", "\\My Documents\\Y\\"));
    EXPECT_FALSE(exists("\\My Documents\\X"));
    EXPECT_EQ(inode(device.host("\\My Documents\\Y\\X")), before);
    EXPECT_EQ(tree()->FindItemByPath("\\My Documents\\X"), nullptr) << "the tree was refreshed";
}

TEST_F(FolderMove, AcrossTopLevelFoldersCopiesThenDeletes)
{
    device.make({"\\Windows\\X\\f.txt", "\\Windows\\X\\Sub\\g.txt"});
    start();
    EXPECT_TRUE(ops.MoveFolderTree("\\Windows\\X\\", "\\My Documents\\"));
    EXPECT_FALSE(exists("\\Windows\\X"));
    EXPECT_EQ(device.readFile("\\My Documents\\X\\f.txt"), "x");
    EXPECT_EQ(device.readFile("\\My Documents\\X\\Sub\\g.txt"), "x");
}

TEST_F(FolderMove, FailedRenameIsReported)
{
    device.make({"\\A\\X\\", "\\A\\Y\\X\\"});
    start();
    sink.expect("Error moving directory X", App, MB_OK, IDOK);
    EXPECT_FALSE(ops.MoveFolderTree("\\A\\X", "\\A\\Y"));
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_TRUE(exists("\\A\\X"));
}

// A copy across top-level folders that left a file behind keeps the whole
// source, also when Yes let it go on and its last entry was copied (which
// makes the copy itself report success).
TEST_F(FolderMove, IncompleteCopyKeepsTheWholeSource)
{
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        device.make({"\\Windows\\X\\a.txt", "\\Windows\\X\\b.txt", "\\Windows\\X\\c.txt"});
        if (!frame)
            start();
        QDir(device.host("\\My Documents\\X")).removeRecursively();
        // The first file met fails; the last one is copied.
        const QStringList files = walk("\\Windows\\X");
        ASSERT_EQ(files.size(), 3);
        device.writeFile(files[0], QByteArray(256 * 1024, 'b'));
        sink.expect(QStringLiteral("Failed to copy %1\nContinue Copy?").arg(files[0]), Err, MB_YESNO, answer);
        sink.expect("Error moving directory X", App, MB_OK, IDOK);
        {
            FileSizeLimit limit(64 * 1024);
            EXPECT_FALSE(ops.MoveFolderTree("\\Windows\\X", "\\My Documents"));
        }
        EXPECT_EQ(walk("\\Windows\\X"), files) << "the source is whole";
        EXPECT_EQ(device.readFile(files[0]).size(), 256 * 1024);
        if (answer == IDYES) {
            EXPECT_EQ(walk("\\My Documents\\X").size(), 2) << "what could be copied was";
        }
    }
}

} // namespace
