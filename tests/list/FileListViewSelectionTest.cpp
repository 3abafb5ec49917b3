// Selection, focus keeping, the header style of the file list and opening
// files from it.
#include "FileListViewFixture.h"
#include "HostFile.h"

#include "filetypes/CRegisterExtDlg.h"
#include "list/CFileListCtrl.h"
#include "settings/CRegistryAccess.h"

#include <QLineEdit>

namespace {

struct SelectionTest : FileListViewFixture {
    SelectionTest()
    {
        device.make({"\\sel\\a.txt", "\\sel\\b.txt", "\\sel\\c.txt", "\\sel\\d.txt", "\\sel\\e.txt"});
        m_list.ShowFolder("\\sel", true);
        tapHeader(0); // by name, so rows are a .. e
    }

    QList<int> selectedRows() const
    {
        QList<int> result;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            if (m_list.selectionModel()->isRowSelected(row, QModelIndex()))
                result << row;
        return result;
    }

    void saveFocusAt(int row)
    {
        m_list.selectionModel()->setCurrentIndex(m_list.model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ASSERT_TRUE(m_list.SaveFocus());
    }
};

TEST_F(SelectionTest, SelectByNameIsExactNamesComeInListOrderAndASavedFocusReturnsOnce)
{
    const char *titles[] = {"Name", "Size", "Type", "Changed", "Attrs"};
    const int widths[] = {165, 60, 130, 130, 50};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(m_list.model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(m_list.header()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(m_list.GetStyle() & (LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA),
              LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA);

    QStringList names{"kept"};
    EXPECT_EQ(m_list.GetSelectedNames(names), 0);
    EXPECT_EQ(names, QStringList{"kept"}) << "no selection leaves the target alone";
    m_list.SelectAll(true);
    EXPECT_EQ(m_list.GetSelectedCount(), 5);
    EXPECT_TRUE(m_list.SelectByName("c.txt"));
    EXPECT_EQ(selectedRows(), QList<int>{2});
    EXPECT_EQ(m_list.GetFirstSelectedName(), "c.txt");
    EXPECT_FALSE(m_list.SelectByName("C.TXT"));
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_EQ(m_list.GetFirstSelectedName(), QString());
    selectRows(m_list, {"d.txt", "b.txt"});
    EXPECT_EQ(m_list.GetSelectedNames(names), 2);
    EXPECT_EQ(names, (QStringList{"b.txt", "d.txt"}));
    m_list.SelectAll(false);
    EXPECT_EQ(m_list.GetSelectedCount(), 0);

    // A saved focus returns once after a reload.
    m_list.RefreshFolder();
    EXPECT_FALSE(m_list.SaveFocus()) << "nothing focused";
    saveFocusAt(2);
    m_list.RefreshFolder();
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), 2);
    EXPECT_EQ(selectedRows(), QList<int>{2});
    m_list.RefreshFolder();
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), -1) << "the record is used up";

    saveFocusAt(1);
    m_list.ClearSavedFocus();
    m_list.RefreshFolder();
    m_list.RestoreFocus(true);
    EXPECT_EQ(m_list.GetFocusedItem(), -1) << "cleared";
    // Without step back a vanished row restores nothing; with it, the walk
    // goes back past every deleted last row.
    saveFocusAt(4);
    ASSERT_TRUE(DeleteFileW(u"\\sel\\e.txt"));
    m_list.RefreshFolder();
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    EXPECT_EQ(m_list.GetSelectedCount(), 0);
    saveFocusAt(3);
    ASSERT_TRUE(DeleteFileW(u"\\sel\\d.txt"));
    ASSERT_TRUE(DeleteFileW(u"\\sel\\c.txt"));
    m_list.RefreshFolder();
    m_list.RestoreFocus(true);
    EXPECT_EQ(m_list.GetFocusedItem(), 1);
    EXPECT_EQ(m_list.GetItemText(1, 0), "b.txt");
}

// A double tap keeps the tapped item focused and opens no editor. A type
// without an open command is offered for registering, in lower case; a
// registered one really starts its program, without waiting for it, or
// reports the one that cannot start.
TEST_F(SelectionTest, DoubleTapOffersToRegisterAnUnknownTypeAndStartsAKnownOnesProgram)
{
    const QString question = "No open command is registered for this filetype, register now?";
    QStringList opened;
    ScopedModalHook hook([&](CDialog &dialog) {
        opened << dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text();
        dialog.EndDialog(IDCANCEL);
    });
    const QPoint at = m_list.visualRect(m_list.model()->index(3, 0)).center();
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at);
    sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(m_list.GetFocusedItem(), 3);
    EXPECT_EQ(selectedRows(), QList<int>{3});
    QTest::keyClick(&m_list, Qt::Key_F2);
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at); // a tap on the selected item
    EXPECT_TRUE(m_list.findChildren<QLineEdit *>().isEmpty()) << "no editor opened";
    // A found file's row holds its full path, and a double tap opens that.
    device.make({"\\My Documents\\Data.XYZ"});
    CFileListCtrl found;
    found.InsertItem(0, "\\My Documents\\Data.XYZ", 0);
    found.show();
    sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(found.viewport(), Qt::LeftButton, {}, found.visualItemRect(found.topLevelItem(0)).center());
    sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDYES);
    EXPECT_FALSE(m_list.ExecuteFile("\\My Documents\\Data.XYZ"));
    EXPECT_EQ(opened, QStringList{"xyz"});
    EXPECT_EQ(sink.lastOwner(), nullptr);

    const auto setCommand = [](const QString &command) {
        CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".rec\\Shell\\Open\\Command", QString(), command);
    };
    const auto doubleTap = [&](const QString &path) {
        device.make({path});
        m_list.ShowFolder(path.section('\\', 0, -2), true);
        const QRect rect = m_list.visualRect(m_list.model()->index(rows().indexOf(path.section('\\', -1)), 0));
        QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, rect.center());
    };
    const auto waitFor = [&](const QString &name) {
        return QTest::qWaitFor([&] { return QFile::exists(device.dir() + name); }, 20000);
    };
    const QString helper = qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests/recordargs";
    device.writeFile("\\Windows\\recorder.exe", "#!/bin/sh\nexec '" + QFile::encodeName(helper) + "' \"$@\"\n");
    QFile::setPermissions(device.host("\\Windows\\recorder.exe"), QFile::ReadOwner | QFile::ExeOwner);
    setCommand("recorder.exe -open \"%1\"");
    doubleTap("\\My Documents\\a b.rec");
    ASSERT_TRUE(waitFor("/recorded"));
    EXPECT_FALSE(QFile::exists(device.dir() + "/done")) << "still running: nobody waited for it";
    EXPECT_EQ(readHost(device.dir() + "/recorded").split('\n').mid(0, 3),
              (QList<QByteArray>{"-open", "\\My Documents\\a b.rec", "--"}));
    QFile(device.dir() + "/release").open(QIODevice::WriteOnly);
    EXPECT_TRUE(waitFor("/done"));

    setCommand("missing.exe -x %1");
    sink.expect("Failed to execute missing.exe -x \\c.rec", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    doubleTap("\\c.rec");
    setCommand("\\c.rec"); // a device file the host cannot run
    sink.expect("Failed to execute \\c.rec ", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_FALSE(m_list.ExecuteFile("\\c.rec"));
}

} // namespace
