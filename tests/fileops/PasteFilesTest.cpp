#include "FileSizeLimit.h"
#include "Panes.h"
#include "platform/FileCopy.h"

#include <QDir>
#include <unistd.h>

namespace {

// Stands in for the flush of each copy: notes the flushed content, which
// names its source file in sourceFolder, and whether that source was still there.
QString sourceFolder;
QStringList flushes;
int noteFlush(int fd)
{
    QFile flushed("/proc/self/fd/" + QString::number(fd));
    const QString name = flushed.open(QIODevice::ReadOnly) ? QString(flushed.readAll()) : "?";
    flushes << name + (QFile::exists(sourceFolder + "/" + name) ? " kept" : " gone");
    return 0;
}

class PasteFiles : public Panes, public ::testing::WithParamInterface<bool>
{
protected:
    // Cuts or copies names from folder \S\ into the clipboard.
    void take(const QStringList &names, bool cut)
    {
        select("\\S\\", names);
        cut ? ops().CutFiles() : ops().CopyFiles();
    }
    QStringList leftovers(const QString &folder) const
    {
        return QDir(device.host(folder)).entryList(QDir::Files | QDir::Hidden).filter(".~qm");
    }
    void expectOverwrite(const QString &path, int answer)
    {
        sink.expect(path + " already exists, do you want to overwrite it?", App, Question, answer);
    }
};

using PasteCutOrCopy = PasteFiles;

// No to the overwrite question for the second of three stops the paste there;
// a cut is pasted once, also when stopped. A cut's copies reach the disk
// before their sources go; a copy is flushed only where it replaces a file.
TEST_P(PasteCutOrCopy, NoToOverwriteEndsThePasteAndCopiesAreFlushedWhereTheyMustBe)
{
    const bool cut = GetParam();
    device.make({"\\S\\1.txt", "\\S\\2.txt", "\\S\\3.txt"}, "new");
    device.make({"\\S\\a.txt"}, "a.txt");
    device.make({"\\S\\b.txt"}, "b.txt");
    device.make({"\\E\\B.TXT"}, "old");
    start();
    take({"1.txt", "2.txt", "3.txt"}, cut);
    const QStringList n = ops().names(); // in list order
    device.writeFile("\\D\\" + n[1], "old");
    expectOverwrite("\\D\\" + n[1], IDNO);
    ops().Paste("\\D\\");
    EXPECT_EQ(sink.lastOwner(), &list());
    EXPECT_EQ(device.readFile("\\D\\" + n[0]) + '|' + device.readFile("\\D\\" + n[1]), "new|old");
    EXPECT_FALSE(exists("\\D\\" + n[2]));
    EXPECT_EQ(exists("\\S\\" + n[0]), !cut);
    EXPECT_TRUE(exists("\\S\\" + n[1]) && exists("\\S\\" + n[2]));
    EXPECT_EQ(ops().CanPaste(), !cut);
    EXPECT_EQ(ops().mode(), CFileOperations::OpFiles | (cut ? CFileOperations::OpCut : CFileOperations::OpCopy));

    take({"a.txt", "b.txt"}, cut);
    expectOverwrite("\\E\\b.txt", IDYES);
    sourceFolder = device.host("\\S");
    flushes.clear();
    FileCopy::flushCall = noteFlush;
    ops().Paste("\\E\\");
    FileCopy::flushCall = ::fsync;
    flushes.sort();
    EXPECT_EQ(flushes, cut ? QStringList({"a.txt kept", "b.txt kept"}) : QStringList({"b.txt kept"}));
    EXPECT_EQ(device.readFile("\\E\\B.TXT"), "b.txt");
    EXPECT_EQ(device.readFile("\\E\\a.txt"), "a.txt");
    EXPECT_EQ(exists("\\S\\a.txt"), !cut);
    EXPECT_EQ(leftovers("\\E"), QStringList());
}

// Into the folder the files came from each paste is a copy onto itself,
// which the platform refuses: the file keeps its bytes, a cut keeps its
// source, no temporary file is left. Elsewhere Yes replaces the target.
TEST_P(PasteCutOrCopy, YesToOverwriteReplacesTheTargetButNeverTheSource)
{
    device.make({"\\S\\a.txt"}, "alpha");
    device.make({"\\S\\b.txt"}, "beta");
    device.make({"\\D\\a.txt"}, "old");
    device.make({"\\S\\x.txt"}, "lower");
    device.make({"\\S\\X.TXT"}, "upper");
    device.make({"\\F\\"});
    start();
    take({"a.txt", "b.txt"}, GetParam());
    for (const QString &name : ops().names()) {
        expectOverwrite("\\S\\" + name, IDYES);
        sink.expect("Failed to copy \\S\\" + name + "\nContinue Copy?", "Error", MB_YESNO, IDYES);
    }
    ops().Paste("\\S\\");
    EXPECT_EQ(device.readFile("\\S\\a.txt") + '|' + device.readFile("\\S\\b.txt"), "alpha|beta");
    EXPECT_EQ(leftovers("\\S"), QStringList());

    // A single file: the plain failure message.
    take({"a.txt"}, GetParam());
    expectOverwrite("\\S\\a.txt", IDYES);
    sink.expect("Failed to copy \\S\\a.txt", "Error", MB_OK, IDOK);
    ops().Paste("\\S\\");
    EXPECT_EQ(sink.lastOwner(), nullptr);
    EXPECT_EQ(device.readFile("\\S\\a.txt"), "alpha");

    take({"a.txt"}, GetParam());
    expectOverwrite("\\D\\a.txt", IDYES);
    ops().Paste("\\D\\");
    EXPECT_EQ(device.readFile("\\D\\a.txt"), "alpha");

    // A source spelt otherwise since it was taken is still found.
    take({"b.txt"}, GetParam());
    ASSERT_TRUE(QFile::rename(device.host("\\S\\b.txt"), device.host("\\S\\B.TXT")));
    ops().Paste("\\D\\");
    EXPECT_EQ(device.readFile("\\D\\b.txt"), "beta");

    // Two sources the same but for case: the second one's copy asks to
    // replace the first one's.
    take({"x.txt", "X.TXT"}, GetParam());
    const QStringList n = ops().names();
    expectOverwrite("\\F\\" + n[1], IDYES);
    ops().Paste("\\F\\");
    EXPECT_EQ(QDir(device.host("\\F")).entryList(QDir::Files), QStringList{n[0]});
    EXPECT_EQ(device.readFile("\\F\\" + n[0]), n[1] == "x.txt" ? "lower" : "upper");
}

INSTANTIATE_TEST_SUITE_P(CutCopy, PasteCutOrCopy, ::testing::Values(true, false));

// A copy that fails part-way is reported, leaves no partial target, and a cut
// keeps its source. A source that cannot be deleted stays in both folders.
TEST_F(PasteFiles, FailuresKeepTheCutsSource)
{
    device.make({"\\S\\a.bin", "\\S\\b.bin", "\\S\\rom.txt", "\\S\\c.txt", "\\D\\"});
    device.putInRom("\\S\\rom.txt");
    start();
    take({"a.bin", "b.bin"}, true);
    const QStringList n = ops().names(); // the first name pasted is too big to copy
    device.writeFile("\\S\\" + n[0], QByteArray(1 << 20, 'b'));
    sink.expect("Failed to copy \\S\\" + n[0] + "\nContinue Copy?", "Error", MB_YESNO, IDNO);
    {
        FileSizeLimit limit(64 * 1024);
        ops().Paste("\\D\\");
    }
    EXPECT_FALSE(exists("\\D\\" + n[0]));
    EXPECT_FALSE(exists("\\D\\" + n[1])) << "No ended the paste";
    EXPECT_EQ(device.readFile("\\S\\" + n[0]).size(), 1 << 20);
    EXPECT_EQ(leftovers("\\D"), QStringList());
    EXPECT_GE(sink.waitCount(), 1) << "each copy runs under the wait cursor";

    take({"rom.txt", "c.txt"}, true);
    sink.expect("Could not delete file \\S\\rom.txt", App, MB_OK, IDOK);
    ops().Paste("\\D\\");
    EXPECT_EQ(sink.lastOwner(), &list());
    EXPECT_TRUE(exists("\\S\\rom.txt") && exists("\\D\\rom.txt"));
    EXPECT_TRUE(exists("\\D\\c.txt")) << "the paste goes on";
    EXPECT_FALSE(exists("\\S\\c.txt"));
}

} // namespace
