// The Edit Shortcut dialog in both modes, driven through the modal hook, and
// the two commands that open it.
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "fileops/CEditShortcutDlg.h"
#include "fileops/ShortcutFile.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

QLineEdit *edit(CDialog &dialog, int id)
{
    return dialog.GetDlgItem<QLineEdit>(id);
}

void click(CDialog &dialog, int id)
{
    QPushButton *button = dialog.GetDlgItem<QPushButton>(id);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

class EditShortcutDlgTest : public WithQtApp, public ::testing::Test
{
protected:
    // Runs the dialog; act sees it open. Returns DoModal's result.
    int run(CEditShortcutDlg &dialog, const std::function<void(CDialog &)> &act)
    {
        ScopedModalHook hook([&](CDialog &open) {
            ++m_opened;
            act(open);
        });
        return dialog.DoModal();
    }

    // Types text into the target field and presses Ok.
    static std::function<void(CDialog &)> save(const QString &text)
    {
        return [text](CDialog &dialog) {
            edit(dialog, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->setText(text);
            click(dialog, CEditShortcutDlg::IDC_OK);
        };
    }

    TempDevice m_device;
    ScriptedSink m_sink; // no box is expected anywhere here
    int m_opened = 0;
};

} // namespace

TEST_F(EditShortcutDlgTest, CreateModeWritesTheDialogFormUnderTheGivenName)
{
    const struct {
        const char *typed;
        const char *written;
    } cases[] = {
        {"Calc", "Calc.lnk"},
        {"Calc.lnk", "Calc.lnk"},
        {"Calc.LNK", "Calc.LNK.lnk"},
    };
    int folder = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        const QString dir = QStringLiteral("\\Case%1\\").arg(++folder);
        m_device.make({dir});
        CEditShortcutDlg dialog(dir, QString());
        const int result = run(dialog, [&](CDialog &open) {
            EXPECT_EQ(open.windowTitle(), "Create shortcut");
            EXPECT_TRUE(edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->isEnabled());
            EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->text(), "");
            edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->setText(c.typed);
            save("\\Windows\\calc.exe")(open);
        });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(dialog.editMode());
        EXPECT_EQ(dialog.shortcutPath(), dir + c.written);
        EXPECT_EQ(m_device.readFile(dir + c.written), "17#\\Windows\\calc.exe");
        EXPECT_EQ(QDir(m_device.host(dir)).entryList(QDir::Files), QStringList{c.written});
    }
}

TEST_F(EditShortcutDlgTest, CreateReplacesAnExistingShortcutWithoutAsking)
{
    m_device.writeFile("\\Calc.lnk", "40#\\a much longer target that was there before");
    CEditShortcutDlg dialog("\\", QString());
    run(dialog, [](CDialog &open) {
        edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->setText("Calc");
        save("\\Windows\\calc.exe")(open);
    });
    EXPECT_EQ(m_device.readFile("\\Calc.lnk"), "17#\\Windows\\calc.exe");
}

TEST_F(EditShortcutDlgTest, EditingAPastedShortcutShowsItsQuotesAndSavesTheDialogForm)
{
    ASSERT_TRUE(ShortcutFile::WriteShortcutFile("\\My Documents\\Notes.txt", "\\Notes.lnk"));
    CEditShortcutDlg dialog("\\Notes.lnk", "Notes.lnk");
    run(dialog, [](CDialog &open) {
        EXPECT_EQ(open.windowTitle(), "Edit Shortcut");
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->text(), "Notes.lnk");
        EXPECT_FALSE(edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->isEnabled());
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->text(), "\"\\My Documents\\Notes.txt\"");
        click(open, CEditShortcutDlg::IDC_OK);
    });
    EXPECT_TRUE(dialog.editMode());
    EXPECT_EQ(m_device.readFile("\\Notes.lnk"), "25#\"\\My Documents\\Notes.txt\"");
}

TEST_F(EditShortcutDlgTest, TextWithoutACountIsShownWholeAndSavedWithOne)
{
    m_device.writeFile("\\Odd.lnk", "\\Windows\\calc.exe");
    CEditShortcutDlg dialog("\\Odd.lnk", "Odd.lnk");
    run(dialog, [](CDialog &open) {
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->text(), "\\Windows\\calc.exe");
        click(open, CEditShortcutDlg::IDC_OK);
    });
    EXPECT_EQ(m_device.readFile("\\Odd.lnk"), "17#\\Windows\\calc.exe");
}

TEST_F(EditShortcutDlgTest, EmptiedTextTruncatesTheShortcut)
{
    m_device.writeFile("\\Calc.lnk", "17#\\Windows\\calc.exe");
    CEditShortcutDlg dialog("\\Calc.lnk", "Calc.lnk");
    run(dialog, save(""));
    EXPECT_TRUE(m_device.exists("\\Calc.lnk"));
    EXPECT_EQ(m_device.readFile("\\Calc.lnk"), "");
}

TEST_F(EditShortcutDlgTest, EditingAMissingShortcutCreatesNothing)
{
    CEditShortcutDlg dialog("\\Gone.lnk", "Gone.lnk");
    run(dialog, [](CDialog &open) {
        EXPECT_FALSE(edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->isEnabled());
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->text(), "");
        save("\\Windows\\calc.exe")(open);
    });
    EXPECT_FALSE(m_device.exists("\\Gone.lnk"));
}

TEST_F(EditShortcutDlgTest, OnlyTheOkButtonWrites)
{
    const struct {
        const char *way;
        std::function<void(CDialog &)> close;
        int result;
    } ways[] = {
        {"Cancel button", [](CDialog &open) { click(open, CEditShortcutDlg::IDC_CANCEL); }, 0},
        {"Escape", [](CDialog &open) {
             QTest::keyClick(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT), Qt::Key_Escape);
         }, IDCANCEL},
        {"Enter", [](CDialog &open) {
             QTest::keyClick(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT), Qt::Key_Return);
         }, IDOK},
    };
    m_device.writeFile("\\Calc.lnk", "17#\\Windows\\calc.exe");
    for (const auto &way : ways) {
        SCOPED_TRACE(way.way);
        bool closed = false;
        CEditShortcutDlg editing("\\Calc.lnk", "Calc.lnk");
        EXPECT_EQ(run(editing, [&](CDialog &open) {
                      edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->setText("\\Other.exe");
                      way.close(open);
                      closed = !open.isVisible();
                  }),
                  way.result);
        EXPECT_TRUE(closed);
        EXPECT_EQ(m_device.readFile("\\Calc.lnk"), "17#\\Windows\\calc.exe");

        CEditShortcutDlg creating("\\", QString());
        run(creating, [&](CDialog &open) {
            edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->setText("New");
            edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->setText("\\Other.exe");
            way.close(open);
        });
        EXPECT_FALSE(m_device.exists("\\New.lnk"));
    }
}

class ShortcutCommandsTest : public EditShortcutDlgTest
{
protected:
    CFileListViewEx m_list;
    CDirTreeView m_tree;
};

TEST_F(ShortcutCommandsTest, CreateShortcutWritesIntoTheTreeFolderAndRefreshesTheList)
{
    m_tree.SetListView(&m_list);
    m_tree.OnInitialUpdate();
    m_tree.OnFirstActivate();
    ASSERT_NE(m_tree.SelectPath("\\Windows\\Start Menu"), nullptr);
    ASSERT_EQ(m_list.GetItemCount(), 0);

    ScopedModalHook hook([&](CDialog &open) {
        ++m_opened;
        edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->setText("Calc");
        save("\\Windows\\calc.exe")(open);
    });
    CEditShortcutDlg::CreateShortcut(m_tree, m_list);

    EXPECT_EQ(m_opened, 1);
    EXPECT_EQ(m_device.readFile("\\Windows\\Start Menu\\Calc.lnk"), "17#\\Windows\\calc.exe");
    ASSERT_EQ(m_list.GetItemCount(), 1);
    EXPECT_EQ(m_list.GetItemText(0, CFileListCore::NameColumn), "Calc.lnk");
}

TEST_F(ShortcutCommandsTest, EditShortcutOpensTheFirstSelectedEntry)
{
    m_device.writeFile("\\My Documents\\a.lnk", "3#\"x\"");
    m_device.writeFile("\\My Documents\\b.lnk", "3#\"y\"");
    m_list.ShowFolder("\\My Documents\\", true);

    ScopedModalHook hook([&](CDialog &open) {
        ++m_opened;
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_NAME)->text(), "b.lnk");
        EXPECT_EQ(edit(open, CEditShortcutDlg::IDC_SHORTCUT_TEXT)->text(), "\"y\"");
        save("\\z.exe")(open);
    });
    CEditShortcutDlg::EditShortcut(m_list);
    EXPECT_EQ(m_opened, 0) << "nothing selected";

    ASSERT_TRUE(m_list.SelectByName("b.lnk"));
    CEditShortcutDlg::EditShortcut(m_list);
    EXPECT_EQ(m_opened, 1);
    EXPECT_EQ(m_device.readFile("\\My Documents\\b.lnk"), "6#\\z.exe");
    EXPECT_EQ(m_device.readFile("\\My Documents\\a.lnk"), "3#\"x\"");
}
