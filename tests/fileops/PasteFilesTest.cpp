#include "FileOpsFixture.h"

#include <QDir>

namespace {

class PasteFiles : public FileOps
{
protected:
    // Cuts or copies names from folder \S\ into the clipboard.
    void take(const QStringList &names, bool cut)
    {
        open("\\S\\");
        select(names);
        cut ? ops.CutFiles() : ops.CopyFiles();
    }
    QStringList leftovers(const QString &folder) const
    {
        return QDir(device.host(folder)).entryList(QDir::Files | QDir::Hidden).filter(".~qm");
    }
};

TEST_F(PasteFiles, CopyPastesIntoTwoFoldersAndRefreshesTheList)
{
    device.make({"\\S\\a.txt", "\\S\\b.txt", "\\D1\\", "\\D2\\"});
    start();
    take({"a.txt", "b.txt"}, false);
    open("\\D1\\");
    ops.Paste("\\D1\\");
    EXPECT_EQ(list()->GetItemCount(), 2);
    ops.Paste("\\D2\\");
    for (const char *path : {"\\D1\\a.txt", "\\D1\\b.txt", "\\D2\\a.txt", "\\D2\\b.txt", "\\S\\a.txt"})
        EXPECT_TRUE(exists(path)) << path;
    EXPECT_TRUE(ops.CanPaste());
    EXPECT_EQ(ops.destinationFolder(), "\\D2\\");
}

TEST_F(PasteFiles, CutMovesOnceAndNoLongerOffersPaste)
{
    device.make({"\\S\\a.txt", "\\D\\"});
    start();
    take({"a.txt"}, true);
    ops.Paste("\\D\\");
    EXPECT_TRUE(exists("\\D\\a.txt"));
    EXPECT_FALSE(exists("\\S\\a.txt"));
    EXPECT_EQ(ops.mode(), CFileOperations::OpFiles | CFileOperations::OpCut);
    EXPECT_FALSE(ops.CanPaste());
}

// No to the overwrite question for the second of three stops the paste there.
TEST_F(PasteFiles, NoToOverwriteEndsThePaste)
{
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut);
        QDir(device.host("\\D")).removeRecursively();
        device.make({"\\S\\1.txt", "\\S\\2.txt", "\\S\\3.txt"}, "new");
        if (!frame)
            start();
        list()->RefreshFolder();
        take({"1.txt", "2.txt", "3.txt"}, cut);
        const QStringList n = ops.names(); // in list order
        device.writeFile("\\D\\" + n[1], "old");
        sink.expect("\\D\\" + n[1] + " already exists, do you want to overwrite it?", App, Question, IDNO);
        ops.Paste("\\D\\");
        EXPECT_EQ(sink.lastOwner(), list());
        EXPECT_EQ(device.readFile("\\D\\" + n[0]), "new");
        EXPECT_EQ(device.readFile("\\D\\" + n[1]), "old");
        EXPECT_FALSE(exists("\\D\\" + n[2]));
        EXPECT_EQ(exists("\\S\\" + n[0]), !cut);
        EXPECT_TRUE(exists("\\S\\" + n[1]));
        EXPECT_TRUE(exists("\\S\\" + n[2]));
        EXPECT_EQ(ops.CanPaste(), !cut) << "a cut is pasted once, also when stopped";
    }
}

TEST_F(PasteFiles, YesToOverwriteReplacesTheTarget)
{
    device.make({"\\S\\a.txt"}, "new");
    device.make({"\\D\\a.txt"}, "old");
    start();
    take({"a.txt"}, false);
    sink.expect("\\D\\a.txt already exists, do you want to overwrite it?", App, Question, IDYES);
    ops.Paste("\\D\\");
    EXPECT_EQ(device.readFile("\\D\\a.txt"), "new");
}

// Pasting into the folder the files came from: each is a copy onto itself,
// which the platform refuses; the file keeps its bytes, a cut keeps its source.
TEST_F(PasteFiles, IntoTheSourceFolderLosesNothing)
{
    device.make({"\\S\\a.txt"}, "alpha");
    device.make({"\\S\\b.txt"}, "beta");
    start();
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut);
        take({"a.txt", "b.txt"}, cut);
        for (const QString &name : ops.names()) {
            sink.expect("\\S\\" + name + " already exists, do you want to overwrite it?", App, Question, IDYES);
            sink.expect("Failed to copy \\S\\" + name + "\nContinue Copy?", Err, MB_YESNO, IDYES);
        }
        ops.Paste("\\S\\");
        EXPECT_EQ(device.readFile("\\S\\a.txt"), "alpha");
        EXPECT_EQ(device.readFile("\\S\\b.txt"), "beta");
        EXPECT_EQ(leftovers("\\S"), QStringList());
    }
    // A single file: the plain failure message.
    take({"a.txt"}, true);
    sink.expect("\\S\\a.txt already exists, do you want to overwrite it?", App, Question, IDYES);
    sink.expect("Failed to copy \\S\\a.txt", Err, MB_OK, IDOK);
    ops.Paste("\\S\\");
    EXPECT_EQ(sink.lastOwner(), nullptr);
    EXPECT_EQ(device.readFile("\\S\\a.txt"), "alpha");
}

// A copy that fails part-way is reported, leaves no partial target, and a cut
// keeps its source.
TEST_F(PasteFiles, CopyFailingPartWayIsReportedAndLeavesNoTarget)
{
    device.make({"\\S\\a.bin", "\\S\\b.bin", "\\D\\"});
    start();
    take({"a.bin", "b.bin"}, true);
    // The first name pasted is too big to copy.
    const QStringList n = ops.names();
    device.writeFile("\\S\\" + n[0], QByteArray(1 << 20, 'b'));
    sink.expect("Failed to copy \\S\\" + n[0] + "\nContinue Copy?", Err, MB_YESNO, IDNO);
    {
        FileSizeLimit limit(64 * 1024);
        ops.Paste("\\D\\");
    }
    EXPECT_FALSE(exists("\\D\\" + n[0]));
    EXPECT_FALSE(exists("\\D\\" + n[1])) << "No ended the paste";
    EXPECT_EQ(device.readFile("\\S\\" + n[0]).size(), 1 << 20);
    EXPECT_EQ(leftovers("\\D"), QStringList());
    EXPECT_EQ(sink.waitDepth(), 0);
    EXPECT_GE(sink.waitCount(), 1) << "each copy runs under the wait cursor";
}

TEST_F(PasteFiles, SourceThatCannotBeDeletedStaysInBothFolders)
{
    device.make({"\\S\\rom.txt", "\\S\\b.txt", "\\D\\"});
    putInRom("\\S\\rom.txt");
    start();
    take({"rom.txt", "b.txt"}, true);
    sink.expect("Could not delete file \\S\\rom.txt", App, MB_OK, IDOK);
    ops.Paste("\\D\\");
    EXPECT_EQ(sink.lastOwner(), list());
    EXPECT_TRUE(exists("\\S\\rom.txt"));
    EXPECT_TRUE(exists("\\D\\rom.txt"));
    EXPECT_TRUE(exists("\\D\\b.txt")) << "the paste goes on";
    EXPECT_FALSE(exists("\\S\\b.txt"));
}

} // namespace
