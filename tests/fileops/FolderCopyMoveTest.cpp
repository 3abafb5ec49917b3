#include "FileSizeLimit.h"
#include "Panes.h"

#include "platform/Files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

// Files under folder in the order a depth-first walk meets them, as the
// platform enumerates each folder.
QStringList walk(const QString &folder)
{
    QStringList files;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide(folder + "\\*.*"), &data);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do {
        const QString path = folder + '\\' + fromWide(data.cFileName);
        files += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? walk(path) : QStringList{path};
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return files;
}

class FolderCopy : public Panes
{
protected:
    void TearDown() override { EXPECT_EQ(CFileOperations::copyDepth(), 0); }
    void expectFailedCopy(const QString &path, int answer)
    {
        sink.expect("Failed to copy " + path + "\nContinue Copy?", "Error", MB_YESNO, answer);
    }
};

// Never into itself or its subfolders, nor into its own parent; an empty
// folder is created; a nested folder of another spelling is reported, not merged.
TEST_F(FolderCopy, RefusesItselfAndItsSubfoldersAndReportsFoldersItCannotCreate)
{
    device.make({"\\A\\f.txt", "\\A\\B\\g.txt", "\\AB\\", "\\E\\", "\\D\\", "\\F\\Dir\\a.txt", "\\F\\dir\\b.txt",
                 "\\T\\"});
    start();
    const std::tuple<const char *, const char *, const char *> cases[] = { // source, destination, message
        {"\\A\\", "\\A\\", "Cannot copy into source."},
        {"\\A", "\\A\\", "Cannot copy into source."},
        {"\\A\\", "\\A\\B\\", "Cannot copy \\A:\r\nThe destination folder is a subfolder of the source folder."},
        {"\\A\\B\\", "\\A\\", "Failed to create folder:\r\n\\A\\B"},
        {"\\A\\", "\\AB\\", ""},
        {"\\E\\", "\\D\\", ""},
    };
    for (const auto &[source, destination, message] : cases) {
        SCOPED_TRACE(destination);
        if (*message) // else the copy is allowed
            sink.expect(message, App, Exclamation, IDOK);
        EXPECT_EQ(ops().CopyFolderTree(source, destination), !*message);
        EXPECT_TRUE(!*message || sink.lastOwner() == frame.get());
    }
    EXPECT_FALSE(exists("\\A\\A") || exists("\\A\\B\\A"));
    EXPECT_EQ(device.readFile("\\A\\B\\g.txt") + '|' + device.readFile("\\AB\\A\\f.txt") + '|'
                  + device.readFile("\\AB\\A\\B\\g.txt"), "x|x|x");
    EXPECT_TRUE(isFolder("\\D\\E"));

    const QStringList files = walk("\\F");
    ASSERT_EQ(files.size(), 2);
    sink.expect("Failed to create folder:\r\n\\T\\F\\" + files[1].section('\\', 2, 2), App, Exclamation, IDOK);
    ops().CopyFolderTree("\\F", "\\T");
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_EQ(walk("\\T\\F"), QStringList({"\\T" + files[0]}));
}

// Every file of a three-level tree fails to copy; the answer to the first
// question decides whether the copy goes on at every level. The copy keeps
// each file's attribute bits and last write time, and never gives one folder
// two names that differ only in letter case.
TEST_F(FolderCopy, NoDeepInsideEndsEveryLevelYesGoesOnAndAttributesTimesAndOneSpellingAreKept)
{
    for (const char *path : {"\\A\\B\\C\\1.bin", "\\A\\B\\2.bin", "\\A\\3.bin", "\\A\\D\\4.bin"})
        device.writeFile(path, QByteArray(256 * 1024, 'b'));
    device.make({"\\T1\\", "\\T2\\", "\\S\\plain.txt", "\\S\\marked.txt", "\\S\\Same.txt", "\\S\\same.TXT", "\\T\\"});
    start();
    const QStringList files = walk("\\A");
    ASSERT_EQ(files.size(), 4);
    FileSizeLimit limit(64 * 1024);

    expectFailedCopy(files[0], IDNO);
    EXPECT_FALSE(ops().CopyFolderTree("\\A\\", "\\T1\\"));
    EXPECT_EQ(sink.lastOwner(), nullptr);
    EXPECT_FALSE(CFileOperations::continueCopy());
    EXPECT_EQ(walk("\\T1"), QStringList());

    for (const QString &file : files)
        expectFailedCopy(file, IDYES);
    EXPECT_FALSE(ops().CopyFolderTree("\\A\\", "\\T2\\"));
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_TRUE(isFolder("\\T2\\A\\B\\C") && isFolder("\\T2\\A\\D")) << "every folder was still made";

    constexpr DWORD marked = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(wide("\\S\\marked.txt"), marked));
    const QDateTime past = QDateTime::fromSecsSinceEpoch(1000000000);
    QFile plain(device.host("\\S\\plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::ReadWrite) && plain.setFileTime(past, QFileDevice::FileModificationTime));
    plain.close();
    QStringList same = walk("\\S").filter("same.txt", Qt::CaseInsensitive);
    ASSERT_EQ(same.size(), 2);

    expectFailedCopy(same[1], IDYES);
    ops().CopyFolderTree("\\S", "\\T");
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_EQ(std::pair(GetFileAttributesW(wide("\\T\\S\\marked.txt")), GetFileAttributesW(wide("\\T\\S\\plain.txt"))),
              std::pair(marked, DWORD(0)));
    EXPECT_EQ(QFileInfo(device.host("\\T\\S\\plain.txt")).lastModified(), past);
    QStringList expected({same[0].section('\\', -1), "marked.txt", "plain.txt"});
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(QDir(device.host("\\T\\S")).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), expected);
}

// Within a top-level folder a move is one rename; across them, a copy and a
// delete. A copy that left a file behind keeps the whole source, also when
// Yes let it go on and its last entry was copied (which makes the copy itself
// report success).
TEST_F(FolderCopy, MoveRenamesWithinATopLevelFolderElseCopiesThenDeletesWhenWhole)
{
    device.make({"\\My Documents\\X\\f.txt", "\\My Documents\\Y\\", "\\A\\X\\", "\\A\\Y\\X\\", "\\Windows\\X\\f.txt",
                 "\\Windows\\X\\Sub\\g.txt"});
    device.make({"\\Windows\\No\\a.txt", "\\Windows\\No\\b.txt", "\\Windows\\No\\c.txt", "\\Windows\\Yes\\a.txt",
                 "\\Windows\\Yes\\b.txt", "\\Windows\\Yes\\c.txt"});
    start();
    open("\\My Documents\\X\\");
    struct stat before {}, after {};
    ::stat(QFile::encodeName(device.host("\\My Documents\\X")).constData(), &before);
    EXPECT_TRUE(ops().MoveFolderTree("\\My Documents\\X\\", "\\My Documents\\Y\\"));
    EXPECT_FALSE(exists("\\My Documents\\X"));
    ::stat(QFile::encodeName(device.host("\\My Documents\\Y\\X")).constData(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(tree().FindItemByPath("\\My Documents\\X"), nullptr) << "the tree was refreshed";

    sink.expect("Error moving directory X", App, MB_OK, IDOK);
    EXPECT_FALSE(ops().MoveFolderTree("\\A\\X", "\\A\\Y"));
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_TRUE(exists("\\A\\X"));

    EXPECT_TRUE(ops().MoveFolderTree("\\Windows\\X\\", "\\My Documents\\"));
    EXPECT_FALSE(exists("\\Windows\\X"));
    EXPECT_EQ(device.readFile("\\My Documents\\X\\f.txt") + device.readFile("\\My Documents\\X\\Sub\\g.txt"), "xx");

    for (const auto &[answer, name] : {std::pair{IDNO, "No"}, {IDYES, "Yes"}}) {
        const QString source = QString("\\Windows\\") + name;
        const QStringList files = walk(source); // the first file met fails; the last one is copied
        ASSERT_EQ(files.size(), 3);
        device.writeFile(files[0], QByteArray(256 * 1024, 'b'));
        expectFailedCopy(files[0], answer);
        sink.expect(QString("Error moving directory ") + name, App, MB_OK, IDOK);
        {
            FileSizeLimit limit(64 * 1024);
            EXPECT_FALSE(ops().MoveFolderTree(source, "\\My Documents"));
        }
        EXPECT_EQ(walk(source), files) << "the source is whole";
        EXPECT_EQ(device.readFile(files[0]).size(), 256 * 1024);
        EXPECT_EQ(walk(QString("\\My Documents\\") + name).size(), answer == IDYES ? 2 : 0) << "copied what could be";
    }
}

} // namespace
