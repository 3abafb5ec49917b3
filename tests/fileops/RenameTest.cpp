// The Rename dialog and the file list's Rename command.
#include "Panes.h"

#include "fileops/CRenameDlg.h"
#include "fileops/RenameCommand.h"

#include <QDir>
#include <QPushButton>

namespace {

class RenameCommandTest : public Panes
{
protected:
    // Renames the entry of folder through the dialog: types newName, then presses the button.
    void rename(const QString &folder, const QString &name, const QString &newName, int button = IDOK)
    {
        if (!frame)
            start();
        list().ShowFolder(folder, true);
        ASSERT_TRUE(list().SelectByName(name));
        ScopedModalHook hook([&](CDialog &open) {
            ++m_opened;
            EXPECT_EQ(open.templateId(), CRenameDlg::IDD);
            EXPECT_EQ(open.windowTitle(), "Rename");
            auto *oldEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_OLD_NAME);
            auto *newEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_NEW_NAME);
            ASSERT_TRUE(oldEdit && newEdit);
            EXPECT_EQ(oldEdit->text(), name);
            EXPECT_FALSE(oldEdit->isEnabled());
            EXPECT_EQ(newEdit->text(), name);
            newEdit->setText(newName);
            QTest::mouseClick(open.GetDlgItem<QPushButton>(button), Qt::LeftButton);
        });
        RenameSelectedEntry(list());
    }
    int m_opened = 0;
};

// Renames in the list's folder or the root and refreshes; an unchanged name or
// Cancel attempts nothing (a file in ROM refuses every rename: an attempt
// would show a message); a failed rename is reported and keeps both files.
TEST_F(RenameCommandTest, RenamesInTheListFolderReportsFailuresAndAttemptsNothingUnchanged)
{
    device.make({"\\Docs\\a.txt", "\\top.txt", "\\Windows\\rom.dll"});
    device.writeFile("\\Docs\\b.txt", "second");
    device.putInRom("\\Windows\\rom.dll");
    rename("\\Docs\\", "a.txt", "c.txt");
    EXPECT_EQ(m_opened, 1);
    EXPECT_TRUE(exists("\\Docs\\c.txt"));
    EXPECT_FALSE(exists("\\Docs\\a.txt"));
    EXPECT_EQ(sorted(rows(list())), (QStringList{"b.txt", "c.txt"}));

    sink.expect("Failed to rename", App, Exclamation, IDOK);
    rename("\\Docs\\", "c.txt", "b.txt");
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_EQ(device.readFile("\\Docs\\c.txt"), "x");
    EXPECT_EQ(device.readFile("\\Docs\\b.txt"), "second");
    EXPECT_EQ(sorted(rows(list())), (QStringList{"b.txt", "c.txt"}));

    rename("\\", "top.txt", "Top.TXT");
    EXPECT_EQ(list().GetCurrentFolder(), "");
    EXPECT_EQ(QDir(device.host("\\")).entryList({"top*"}, QDir::Files), QStringList{"Top.TXT"});

    rename("\\Windows\\", "rom.dll", "rom.dll");
    rename("\\Windows\\", "rom.dll", "other.dll", IDCANCEL);
    EXPECT_EQ(m_opened, 5);
    EXPECT_TRUE(exists("\\Windows\\rom.dll"));
    EXPECT_FALSE(exists("\\Windows\\other.dll"));
}

TEST_F(RenameCommandTest, NoSelectionOpensNoDialogAndEnterIsOk)
{
    start();
    ScopedModalHook hook([&](CDialog &open) {
        ++m_opened;
        auto *newEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_NEW_NAME);
        newEdit->setText("b.txt");
        QTest::keyClick(newEdit, Qt::Key_Return);
    });
    RenameSelectedEntry(list());
    EXPECT_EQ(m_opened, 0);

    CRenameDlg dialog("a.txt");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.oldName(), "a.txt");
    EXPECT_EQ(dialog.newName(), "b.txt");
}

} // namespace
