#include "FileOpsFixture.h"

#include <sys/stat.h>

namespace {

using DeleteFolder = FileOps;

TEST_F(DeleteFolder, RootAsksNothing)
{
    start();
    tree()->setCurrentItem(tree()->DeviceRoot());
    ops.DeleteFolder();
    EXPECT_TRUE(exists("\\Windows"));
}

TEST_F(DeleteFolder, YesDeletesTheTreeWithReadOnlyFiles)
{
    device.make({"\\My Documents\\A\\B\\deep.txt", "\\My Documents\\A\\ro.txt", "\\My Documents\\keep.txt"});
    ::chmod(QFile::encodeName(device.host("\\My Documents\\A\\ro.txt")).constData(), 0444);
    start();
    open("\\My Documents\\A\\");
    sink.expect("Delete '\\My Documents\\A' and everything in it?", App, Question, IDYES);
    ops.DeleteFolder();
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_FALSE(exists("\\My Documents\\A"));
    EXPECT_TRUE(exists("\\My Documents\\keep.txt"));
    EXPECT_EQ(tree()->FindItemByPath("\\My Documents\\A"), nullptr) << "the tree was refreshed";
}

TEST_F(DeleteFolder, NoLeavesEverything)
{
    device.make({"\\My Documents\\A\\f.txt"});
    start();
    open("\\My Documents\\A\\");
    sink.expect("Delete '\\My Documents\\A' and everything in it?", App, Question, IDNO);
    ops.DeleteFolder();
    EXPECT_TRUE(exists("\\My Documents\\A\\f.txt"));
}

TEST_F(DeleteFolder, StopsAtAFileThatCannotGo)
{
    device.make({"\\A\\rom.txt"});
    putInRom("\\A\\rom.txt");
    start();
    open("\\A\\");
    sink.expect("Delete '\\A' and everything in it?", App, Question, IDYES);
    sink.expect("Failed to delete:\r\n\\A\\rom.txt", App, Exclamation, IDOK);
    ops.DeleteFolder();
    EXPECT_TRUE(exists("\\A\\rom.txt"));
}

using DeleteFiles = FileOps;

TEST_F(DeleteFiles, NothingSelectedAsksNothingAndForgetsTheClipboard)
{
    device.make({"\\A\\a.txt"});
    start();
    open("\\A\\");
    select({"a.txt"});
    ops.CopyFiles();
    select({});
    EXPECT_TRUE(ops.DeleteSelectedFiles());
    EXPECT_TRUE(ops.names().isEmpty());
    EXPECT_FALSE(ops.CanPaste());
    EXPECT_TRUE(exists("\\A\\a.txt"));
}

TEST_F(DeleteFiles, NoDeletesNothing)
{
    device.make({"\\A\\a.txt"});
    start();
    open("\\A\\");
    select({"a.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDNO);
    EXPECT_FALSE(ops.DeleteSelectedFiles());
    EXPECT_EQ(sink.lastOwner(), list());
    EXPECT_TRUE(exists("\\A\\a.txt"));
}

TEST_F(DeleteFiles, YesDeletesReadOnlyFilesAndRefreshes)
{
    device.make({"\\A\\a.txt", "\\A\\b.txt", "\\A\\c.txt"});
    ::chmod(QFile::encodeName(device.host("\\A\\b.txt")).constData(), 0444);
    start();
    open("\\A\\");
    select({"a.txt", "b.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
    EXPECT_TRUE(ops.DeleteSelectedFiles());
    EXPECT_FALSE(exists("\\A\\a.txt"));
    EXPECT_FALSE(exists("\\A\\b.txt"));
    EXPECT_EQ(list()->GetItemCount(), 1);
    EXPECT_EQ(list()->GetItemText(0, 0), "c.txt");
}

// The second of three files cannot be deleted; the answer decides the third.
TEST_F(DeleteFiles, FailureInTheMiddleAsksToContinue)
{
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer);
        device.make({"\\A\\1.txt", "\\A\\2.txt", "\\A\\3.txt"});
        putInRom("\\A\\2.txt");
        if (!frame)
            start();
        open("\\A\\");
        list()->RefreshFolder();
        select({"1.txt", "2.txt", "3.txt"});
        sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
        sink.expect("Failed to delete 2.txt. Continue deleting?", "Continue?", QuestionNoDefault, answer);
        EXPECT_TRUE(ops.DeleteSelectedFiles()) << "several were selected";
        EXPECT_EQ(sink.lastOwner(), list());
        EXPECT_FALSE(exists("\\A\\1.txt"));
        EXPECT_TRUE(exists("\\A\\2.txt"));
        EXPECT_EQ(exists("\\A\\3.txt"), answer == IDNO);
        ::removexattr(QFile::encodeName(device.host("\\A\\2.txt")).constData(), "user.DOSATTRIB");
        QFile::remove(device.host("\\A\\2.txt"));
        QFile::remove(device.host("\\A\\3.txt"));
    }
}

TEST_F(DeleteFiles, LastFileFailingIsReportedWithoutQuestion)
{
    device.make({"\\A\\rom.txt", "\\A\\Sub\\"});
    putInRom("\\A\\rom.txt");
    start();
    open("\\A\\");
    select({"rom.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
    sink.expect("Failed to delete rom.txt", "Delete", Exclamation, IDOK);
    EXPECT_FALSE(ops.DeleteSelectedFiles()) << "one entry, stopped";
    EXPECT_EQ(sink.lastOwner(), list());
    EXPECT_TRUE(exists("\\A\\rom.txt"));
}

} // namespace
