// The frame's file commands reach the engine with the right pane's data (the
// engine's own tests check what it does on disk).
#include "Panes.h"

#include "res/ResourceIds.h"

namespace {

// Cut in the list, paste in the tree's folder; a shortcut to a copied file
// goes to the tree's folder and to the start menu, named "\Windows\Start
// menu\" and found whatever its spelling; an existing shortcut is only
// replaced after a Yes. Delete asks for the focused pane and refreshes it.
TEST_F(Panes, FileCommandsReachTheEngineWithTheFocusedPanesData)
{
    device.make({"\\My Documents\\Report.txt", "\\My Documents\\b.txt", "\\Temp\\Old\\x.txt"});
    start(true);
    EXPECT_FALSE(frame->router().isEnabled(ID_EDIT_PASTE) || frame->router().isEnabled(ID_EDIT_PASTESHORTCUT));
    focusList("\\My Documents\\", {"b.txt"});
    EXPECT_TRUE(run(ID_EDIT_CUT));
    EXPECT_EQ(ops().mode(), CFileOperations::OpFiles | CFileOperations::OpCut);
    EXPECT_EQ(ops().names(), QStringList{"b.txt"});
    EXPECT_TRUE(frame->router().isEnabled(ID_EDIT_PASTE));
    focusTree("\\Temp\\");
    EXPECT_TRUE(run(ID_EDIT_PASTE));
    EXPECT_EQ(ops().sourceFolder() + " to " + ops().destinationFolder(), "\\My Documents\\ to \\Temp\\");
    EXPECT_TRUE(ops().names().isEmpty()) << "the cut was pasted";
    EXPECT_TRUE(run(ID_EDIT_COPY));
    EXPECT_EQ(ops().mode(), CFileOperations::OpFolder | CFileOperations::OpCopy);
    EXPECT_EQ(ops().sourceFolder(), "\\Temp\\");

    focusList("\\My Documents\\", {"Report.txt"});
    EXPECT_TRUE(run(ID_EDIT_COPY));
    focusTree("\\Temp\\");
    EXPECT_TRUE(run(ID_EDIT_PASTESHORTCUT));
    EXPECT_TRUE(run(ID_EDIT_PASTEINMENU));
    const QByteArray expected = QByteArray("26#\"\\My Documents\\Report.txt\"") + '\0';
    EXPECT_EQ(device.readFile("\\Temp\\Report.lnk"), expected);
    EXPECT_EQ(device.readFile("\\Windows\\Start Menu\\Report.lnk"), expected);
    device.writeFile("\\Temp\\Report.lnk", "keep");
    sink.expect("Overwrite existing file ?", "Create Shortcut", QuestionNoDefault, IDNO);
    EXPECT_TRUE(run(ID_EDIT_PASTESHORTCUT));
    EXPECT_EQ(device.readFile("\\Temp\\Report.lnk"), "keep");

    focusList("\\My Documents\\", {"Report.txt"});
    sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDYES);
    EXPECT_TRUE(run(ID_FILE_DELETE));
    EXPECT_EQ(list().GetItemCount(), 0);
    focusTree("\\Temp\\Old\\");
    sink.expect("Delete '\\Temp\\Old' and everything in it?", App, Question, IDYES);
    EXPECT_TRUE(run(ID_FILE_DELETE));
    EXPECT_EQ(tree().FindItemByPath("\\Temp\\Old"), nullptr);
}

} // namespace
