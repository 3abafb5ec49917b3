// The Rename dialog and the file list's Rename command.
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "fileops/CRenameDlg.h"
#include "fileops/RenameCommand.h"
#include "list/CFileListViewEx.h"
#include "platform/DosAttributes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RenameCommandTest : public WithQtApp, public ::testing::Test
{
protected:
    // Renames the entry through the dialog: types newName, then presses the button.
    void rename(const QString &name, const QString &newName, int button = IDOK)
    {
        ASSERT_TRUE(m_list.SelectByName(name));
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
        RenameSelectedEntry(m_list);
    }

    QStringList rows() const
    {
        QStringList names;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            names << m_list.GetItemText(row, CFileListCore::NameColumn);
        names.sort();
        return names;
    }

    TempDevice m_device;
    ScriptedSink m_sink;
    CFileListViewEx m_list;
    int m_opened = 0;
};

} // namespace

TEST_F(RenameCommandTest, RenamesInTheListFolderAndRefreshes)
{
    m_device.make({"\\Docs\\a.txt", "\\Docs\\b.txt"});
    m_list.ShowFolder("\\Docs\\", true);

    rename("a.txt", "c.txt");

    EXPECT_EQ(m_opened, 1);
    EXPECT_TRUE(m_device.exists("\\Docs\\c.txt"));
    EXPECT_FALSE(m_device.exists("\\Docs\\a.txt"));
    EXPECT_EQ(rows(), (QStringList{"b.txt", "c.txt"}));
}

TEST_F(RenameCommandTest, RenamesInTheRoot)
{
    m_device.make({"\\top.txt"});
    m_list.ShowFolder("\\", true);
    ASSERT_EQ(m_list.GetCurrentFolder(), "");

    rename("top.txt", "Top.TXT");

    EXPECT_EQ(QDir(m_device.host("\\")).entryList({"top*"}, QDir::Files, QDir::Name), QStringList{"Top.TXT"});
}

TEST_F(RenameCommandTest, UnchangedNameOrCancelAttemptsNothing)
{
    // A file in ROM refuses every rename: an attempt would show a message.
    m_device.make({"\\Windows\\rom.dll"});
    ASSERT_TRUE(DosAttributes::write(QFile::encodeName(m_device.host("\\Windows\\rom.dll")).constData(),
                                     FILE_ATTRIBUTE_INROM));
    m_list.ShowFolder("\\Windows\\", true);

    rename("rom.dll", "rom.dll");
    rename("rom.dll", "other.dll", IDCANCEL);

    EXPECT_EQ(m_opened, 2);
    EXPECT_TRUE(m_device.exists("\\Windows\\rom.dll"));
    EXPECT_FALSE(m_device.exists("\\Windows\\other.dll"));
}

TEST_F(RenameCommandTest, FailedRenameReportsAndKeepsBothFiles)
{
    m_device.writeFile("\\Docs\\a.txt", "first");
    m_device.writeFile("\\Docs\\b.txt", "second");
    m_list.ShowFolder("\\Docs\\", true);
    m_sink.expect("Failed to rename", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);

    rename("a.txt", "b.txt");

    EXPECT_EQ(m_sink.pending(), 0);
    EXPECT_EQ(m_sink.lastOwner(), m_list.window());
    EXPECT_EQ(m_device.readFile("\\Docs\\a.txt"), "first");
    EXPECT_EQ(m_device.readFile("\\Docs\\b.txt"), "second");
    EXPECT_EQ(rows(), (QStringList{"a.txt", "b.txt"}));
}

TEST_F(RenameCommandTest, NoSelectionOpensNoDialog)
{
    m_device.make({"\\Docs\\a.txt"});
    m_list.ShowFolder("\\Docs\\", true);
    ScopedModalHook hook([&](CDialog &) { ++m_opened; });

    RenameSelectedEntry(m_list);

    EXPECT_EQ(m_opened, 0);
}

TEST_F(RenameCommandTest, EnterInTheNewNameIsOk)
{
    CRenameDlg dialog("a.txt");
    ScopedModalHook hook([](CDialog &open) {
        auto *newEdit = open.GetDlgItem<QLineEdit>(CRenameDlg::IDC_NEW_NAME);
        newEdit->setText("b.txt");
        QTest::keyClick(newEdit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.oldName(), "a.txt");
    EXPECT_EQ(dialog.newName(), "b.txt");
}
