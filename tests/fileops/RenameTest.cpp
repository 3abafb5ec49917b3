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
        list().ShowFolder(folder, true);
        ASSERT_TRUE(list().SelectByName(name));
        act = [=](CDialog &open) {
            auto *oldEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_OLD_NAME);
            auto *newEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_NEW_NAME);
            ASSERT_TRUE(oldEdit && newEdit);
            EXPECT_EQ(std::tuple(open.templateId(), open.windowTitle(), oldEdit->text(), oldEdit->isEnabled(),
                                 newEdit->text()),
                      std::tuple(UINT(CRenameDlg::IDD), QString("Rename"), name, false, name));
            newEdit->setText(newName);
            QTest::mouseClick(open.GetDlgItem<QPushButton>(button), Qt::LeftButton);
        };
        RenameSelectedEntry(list());
    }
};

// Renames in the list's folder or the root and refreshes; with no selection,
// an unchanged name or Cancel it attempts nothing (a file in ROM refuses every
// rename: an attempt would show a message); a failed rename is reported and
// keeps both files. In the dialog Enter is Ok.
TEST_F(RenameCommandTest, RenamesInTheListFolderReportsFailuresAndAttemptsNothingUnchanged)
{
    device.make({"\\Docs\\a.txt", "\\top.txt", "\\Windows\\rom.dll"});
    device.writeFile("\\Docs\\b.txt", "second");
    device.putInRom("\\Windows\\rom.dll");
    start();
    RenameSelectedEntry(list());
    EXPECT_EQ(opened, 0) << "nothing selected";
    rename("\\Docs\\", "a.txt", "c.txt");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(exists("\\Docs\\c.txt") && !exists("\\Docs\\a.txt"));
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
    EXPECT_EQ(opened, 5);
    EXPECT_TRUE(exists("\\Windows\\rom.dll") && !exists("\\Windows\\other.dll"));

    act = [](CDialog &open) {
        auto *newEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_NEW_NAME);
        newEdit->setText("b.txt");
        QTest::keyClick(newEdit, Qt::Key_Return);
    };
    CRenameDlg dialog("a.txt");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.oldName(), "a.txt");
    EXPECT_EQ(dialog.newName(), "b.txt");
}

} // namespace
