#include "Panes.h"

#include <sys/stat.h>

namespace {

void makeReadOnly(const TempDevice &device, const QString &path)
{
    ::chmod(QFile::encodeName(device.host(path)).constData(), 0444);
}

// The answer to the question decides; Yes deletes read-only files too.
class DeleteFolder : public Panes, public ::testing::WithParamInterface<int>
{
};

TEST_P(DeleteFolder, AsksThenDeletesTheWholeTree)
{
    device.make({"\\My Documents\\A\\B\\deep.txt", "\\My Documents\\A\\ro.txt", "\\My Documents\\keep.txt"});
    makeReadOnly(device, "\\My Documents\\A\\ro.txt");
    start();
    open("\\My Documents\\A\\");
    sink.expect("Delete '\\My Documents\\A' and everything in it?", App, Question, GetParam());
    ops().DeleteFolder();
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_EQ(exists("\\My Documents\\A\\B\\deep.txt"), GetParam() == IDNO);
    EXPECT_EQ(tree().FindItemByPath("\\My Documents\\A") != nullptr, GetParam() == IDNO) << "the tree was refreshed";
    EXPECT_TRUE(exists("\\My Documents\\keep.txt"));
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteFolder, ::testing::Values(IDYES, IDNO));

// The root is never deleted, nor asked about; a file that cannot go stops the delete.
TEST_F(Panes, DeleteFolderStopsAtTheRootAndAtAFileThatCannotGo)
{
    device.make({"\\A\\rom.txt"});
    device.putInRom("\\A\\rom.txt");
    start();
    ops().DeleteFolder();
    EXPECT_TRUE(exists("\\Windows"));
    open("\\A\\");
    sink.expect("Delete '\\A' and everything in it?", App, Question, IDYES);
    sink.expect("Failed to delete:\r\n\\A\\rom.txt", App, Exclamation, IDOK);
    ops().DeleteFolder();
    EXPECT_TRUE(exists("\\A\\rom.txt"));
}

class DeleteFiles : public Panes, public ::testing::WithParamInterface<int>
{
};

// No deletes nothing; Yes deletes read-only files too and refreshes the list.
TEST_P(DeleteFiles, AsksFirst)
{
    device.make({"\\A\\a.txt", "\\A\\b.txt", "\\A\\c.txt"});
    makeReadOnly(device, "\\A\\b.txt");
    start();
    select("\\A\\", GetParam() == IDYES ? QStringList{"a.txt", "b.txt"} : QStringList{"b.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, GetParam());
    EXPECT_EQ(ops().DeleteSelectedFiles(), GetParam() == IDYES);
    EXPECT_EQ(sink.lastOwner(), &list());
    EXPECT_EQ(list().GetItemCount(), GetParam() == IDYES ? 1 : 3);
    EXPECT_EQ(exists("\\A\\a.txt"), GetParam() == IDNO);
    EXPECT_EQ(exists("\\A\\b.txt"), GetParam() == IDNO);
}

// The second of three files cannot be deleted; the answer decides the third.
TEST_P(DeleteFiles, FailureInTheMiddleAsksToContinue)
{
    device.make({"\\A\\1.txt", "\\A\\2.txt", "\\A\\3.txt"});
    device.putInRom("\\A\\2.txt");
    start();
    select("\\A\\", {"1.txt", "2.txt", "3.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
    sink.expect("Failed to delete 2.txt. Continue deleting?", "Continue?", QuestionNoDefault, GetParam());
    EXPECT_TRUE(ops().DeleteSelectedFiles()) << "several were selected";
    EXPECT_EQ(sink.lastOwner(), &list());
    EXPECT_FALSE(exists("\\A\\1.txt"));
    EXPECT_TRUE(exists("\\A\\2.txt"));
    EXPECT_EQ(exists("\\A\\3.txt"), GetParam() == IDNO);
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteFiles, ::testing::Values(IDYES, IDNO));

// With nothing selected nothing is asked (the clipboard test sees the delete
// forget the clipboard); one file that fails is reported without asking to go on.
TEST_F(Panes, DeleteFilesOfNothingOrOfOneFileThatCannotGo)
{
    device.make({"\\A\\a.txt", "\\A\\rom.txt", "\\A\\Sub\\"});
    device.putInRom("\\A\\rom.txt");
    start();
    select("\\A\\", {});
    EXPECT_TRUE(ops().DeleteSelectedFiles());
    EXPECT_TRUE(exists("\\A\\a.txt"));

    selectRows(list(), {"rom.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
    sink.expect("Failed to delete rom.txt", "Delete", Exclamation, IDOK);
    EXPECT_FALSE(ops().DeleteSelectedFiles()) << "one entry, stopped";
    EXPECT_EQ(sink.lastOwner(), &list());
    EXPECT_TRUE(exists("\\A\\rom.txt"));
}

} // namespace
