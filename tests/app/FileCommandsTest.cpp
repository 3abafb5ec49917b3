#include "ScriptedSink.h"
#include "ShownFrame.h"

#include "res/ResourceIds.h"

namespace {

// The frame's file commands reach the engine with the right pane's data.
class FileCommands : public ShownFrame
{
protected:
    void SetUp() override
    {
        device.make({QStringLiteral("\\My Documents\\Report.txt"), QStringLiteral("\\My Documents\\b.txt"),
                     QStringLiteral("\\Temp\\Old\\x.txt")});
        showFrame();
    }
    bool run(UINT id) { return frame->router().execute(id); }

    ScriptedSink sink;
};

TEST_F(FileCommands, DeleteInTheListAsksThenDeletesAndReloads)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("Report.txt"), QStringLiteral("b.txt")});
    sink.expect(QStringLiteral("Delete all selected files?"), QStringLiteral("Delete files"),
                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES);
    EXPECT_TRUE(run(ID_FILE_DELETE));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\Report.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\b.txt")));
    EXPECT_EQ(frame->listView()->GetItemCount(), 0);
}

TEST_F(FileCommands, DeleteInTheTreeRemovesTheFolderAndRefreshes)
{
    focusTree(QStringLiteral("\\Temp\\Old\\"));
    sink.expect(QStringLiteral("Delete '\\Temp\\Old' and everything in it?"), QStringLiteral("Quillmoss"),
                MB_YESNO | MB_ICONQUESTION, IDYES);
    EXPECT_TRUE(run(ID_FILE_DELETE));
    EXPECT_FALSE(device.exists(QStringLiteral("\\Temp\\Old")));
    EXPECT_EQ(frame->treeView()->FindItemByPath(QStringLiteral("\\Temp\\Old")), nullptr);
}

TEST_F(FileCommands, CutInTheListThenPasteInAnotherFolderMoves)
{
    EXPECT_FALSE(frame->router().isEnabled(ID_EDIT_PASTE));
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("b.txt")});
    EXPECT_TRUE(run(ID_EDIT_CUT));
    EXPECT_TRUE(frame->router().isEnabled(ID_EDIT_PASTE));
    focusTree(QStringLiteral("\\Temp\\"));
    EXPECT_TRUE(run(ID_EDIT_PASTE));
    EXPECT_TRUE(device.exists(QStringLiteral("\\Temp\\b.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\b.txt")));
}

TEST_F(FileCommands, ShortcutsGoToTheFolderAndToTheStartMenu)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("Report.txt")});
    EXPECT_FALSE(frame->router().isEnabled(ID_EDIT_PASTESHORTCUT));
    EXPECT_TRUE(run(ID_EDIT_COPY));
    focusTree(QStringLiteral("\\Temp\\"));
    EXPECT_TRUE(run(ID_EDIT_PASTESHORTCUT));
    const QByteArray expected = QByteArray("26#\"\\My Documents\\Report.txt\"") + '\0';
    EXPECT_EQ(device.readFile(QStringLiteral("\\Temp\\Report.lnk")), expected);

    // The start menu folder is named "\Windows\Start menu\" and found whatever its spelling.
    EXPECT_TRUE(run(ID_EDIT_PASTEINMENU));
    EXPECT_EQ(device.readFile(QStringLiteral("\\Windows\\Start Menu\\Report.lnk")), expected);

    // An existing shortcut is only replaced after a Yes.
    device.writeFile(QStringLiteral("\\Temp\\Report.lnk"), "keep");
    sink.expect(QStringLiteral("Overwrite existing file ?"), QStringLiteral("Create Shortcut"),
                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO);
    EXPECT_TRUE(run(ID_EDIT_PASTESHORTCUT));
    EXPECT_EQ(device.readFile(QStringLiteral("\\Temp\\Report.lnk")), "keep");
}

} // namespace
