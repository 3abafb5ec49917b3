// The Edit Shortcut dialog in both modes, driven through the modal hook, and
// the two commands that open it. No message box is expected anywhere here.
#include "Panes.h"

#include "fileops/CEditShortcutDlg.h"
#include "fileops/ShortcutFile.h"

#include <QDir>
#include <optional>

namespace {

QLineEdit *nameEdit(CDialog &d) { return d.GetDlgItem<QLineEdit>(CEditShortcutDlg::IDC_SHORTCUT_NAME); }
QLineEdit *textEdit(CDialog &d) { return d.GetDlgItem<QLineEdit>(CEditShortcutDlg::IDC_SHORTCUT_TEXT); }
// Types the name (create mode) and the text, then presses Ok.
void save(CDialog &dialog, const QString &text, const QString &name = QString())
{
    if (!name.isNull())
        nameEdit(dialog)->setText(name);
    textEdit(dialog)->setText(text);
    click(dialog, CEditShortcutDlg::IDC_OK);
}

using EditShortcutDlgTest = Panes;

// Create mode writes the dialog form under the name given, replacing an
// existing shortcut without asking.
TEST_F(EditShortcutDlgTest, CreateMode)
{
    for (const auto &[typed, written] : {std::pair{"Calc", "Calc.lnk"}, {"Calc.lnk", "Calc.lnk"},
                                         {"Calc.LNK", "Calc.LNK.lnk"}}) {
        SCOPED_TRACE(typed);
        const QString dir = QString("\\%1\\").arg(typed);
        device.writeFile(dir + "Calc.lnk", "40#\\a much longer target that was there before");
        act = [typed](CDialog &open) {
            EXPECT_EQ(open.windowTitle(), "Create shortcut");
            EXPECT_TRUE(nameEdit(open)->isEnabled());
            EXPECT_EQ(textEdit(open)->text(), "");
            save(open, "\\Windows\\calc.exe", typed);
        };
        CEditShortcutDlg dialog(dir, QString());
        EXPECT_EQ(dialog.DoModal(), 0);
        EXPECT_FALSE(dialog.editMode());
        EXPECT_EQ(dialog.shortcutPath(), dir + written);
        EXPECT_EQ(device.readFile(dir + written), "17#\\Windows\\calc.exe");
        EXPECT_EQ(QDir(device.host(dir)).entryList(QDir::Files).size(), written == QString("Calc.lnk") ? 1 : 2);
    }
}

// Edit mode shows the text after the count and saves the dialog form; only
// the Ok button writes.
TEST_F(EditShortcutDlgTest, EditModeAndOnlyTheOkButtonWrites)
{
    // Stored (none: no file), shown, typed (none: Ok as shown), written (none: no file).
    using Bytes = std::optional<QByteArray>;
    const std::tuple<Bytes, const char *, std::optional<QString>, Bytes> cases[] = {
        {QByteArray("25#\"\\My Documents\\Notes.txt\"\0", 29), "\"\\My Documents\\Notes.txt\"", {},
         "25#\"\\My Documents\\Notes.txt\""},
        {"\\Windows\\calc.exe", "\\Windows\\calc.exe", {}, "17#\\Windows\\calc.exe"}, // no count: shown whole
        {"17#\\Windows\\calc.exe", "\\Windows\\calc.exe", "", ""},                   // emptied: truncated
        {{}, "", "\\Windows\\calc.exe", {}},                                          // missing: nothing made
    };
    for (const auto &[stored, shown, typed, written] : cases) {
        SCOPED_TRACE(shown);
        if (stored)
            device.writeFile("\\Notes.lnk", *stored);
        act = [&](CDialog &open) {
            EXPECT_EQ(open.windowTitle(), "Edit Shortcut");
            EXPECT_EQ(nameEdit(open)->text(), "Notes.lnk");
            EXPECT_FALSE(nameEdit(open)->isEnabled());
            EXPECT_EQ(textEdit(open)->text(), shown);
            save(open, typed.value_or(shown));
        };
        CEditShortcutDlg dialog("\\Notes.lnk", "Notes.lnk");
        dialog.DoModal();
        EXPECT_TRUE(dialog.editMode());
        EXPECT_EQ(exists("\\Notes.lnk"), written.has_value());
        EXPECT_EQ(device.readFile("\\Notes.lnk"), written.value_or(QByteArray()));
        QFile::remove(device.host("\\Notes.lnk"));
    }

    device.writeFile("\\Calc.lnk", "17#\\Windows\\calc.exe");
    const std::pair<void (*)(CDialog &), int> ways[] = {
        {[](CDialog &open) { click(open, CEditShortcutDlg::IDC_CANCEL); }, 0},
        {[](CDialog &open) { QTest::keyClick(textEdit(open), Qt::Key_Escape); }, IDCANCEL},
        {[](CDialog &open) { QTest::keyClick(textEdit(open), Qt::Key_Return); }, IDOK},
    };
    for (const auto &[close, result] : ways) {
        SCOPED_TRACE(result);
        bool closed = false;
        act = [&, close = close](CDialog &open) {
            textEdit(open)->setText("\\Other.exe");
            close(open);
            closed = !open.isVisible();
        };
        EXPECT_EQ(CEditShortcutDlg("\\Calc.lnk", "Calc.lnk").DoModal(), result);
        EXPECT_TRUE(closed);
        EXPECT_EQ(device.readFile("\\Calc.lnk"), "17#\\Windows\\calc.exe");
    }
}

// Create Shortcut writes into the tree's folder and refreshes the list; Edit
// Shortcut opens the first selected entry, and nothing without a selection.
TEST_F(EditShortcutDlgTest, TheCommandsOpenTheDialogOnTheirPanes)
{
    device.writeFile("\\My Documents\\a.lnk", "3#\"x\"");
    device.writeFile("\\My Documents\\b.lnk", "3#\"y\"");
    start();
    open("\\Windows\\Start Menu");
    ASSERT_EQ(list().GetItemCount(), 0);
    act = [](CDialog &open) { save(open, "\\Windows\\calc.exe", "Calc"); };
    CEditShortcutDlg::CreateShortcut(tree(), list());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(device.readFile("\\Windows\\Start Menu\\Calc.lnk"), "17#\\Windows\\calc.exe");
    EXPECT_EQ(rows(list()), QStringList{"Calc.lnk"});

    open("\\My Documents\\");
    act = [](CDialog &open) {
        EXPECT_EQ(nameEdit(open)->text(), "b.lnk");
        EXPECT_EQ(textEdit(open)->text(), "\"y\"");
        save(open, "\\z.exe");
    };
    CEditShortcutDlg::EditShortcut(list());
    EXPECT_EQ(opened, 1) << "nothing selected";
    ASSERT_TRUE(list().SelectByName("b.lnk"));
    CEditShortcutDlg::EditShortcut(list());
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(device.readFile("\\My Documents\\b.lnk"), "6#\\z.exe");
    EXPECT_EQ(device.readFile("\\My Documents\\a.lnk"), "3#\"x\"");
}

} // namespace
