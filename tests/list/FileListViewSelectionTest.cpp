// Selection, focus keeping, the header style, the context menu of the file
// list and opening files from it.
#include "FileListViewFixture.h"

#include "app/CMainFrame.h"
#include "filetypes/CRegisterExtDlg.h"
#include "list/CFileListCtrl.h"
#include "settings/CRegistryAccess.h"
#include "framework/MenuBuilder.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QThread>

namespace {

class SelectionTest : public FileListViewFixture
{
protected:
    SelectionTest()
    {
        m_device.make({"\\sel\\a.txt", "\\sel\\b.txt", "\\sel\\c.txt", "\\sel\\d.txt", "\\sel\\e.txt"});
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

    void focusRow(int row)
    {
        m_list.selectionModel()->setCurrentIndex(m_list.model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

TEST_F(SelectionTest, SelectByNameIsExactAndNamesComeInListOrder)
{
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

    auto *selection = m_list.selectionModel();
    selection->select(m_list.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(m_list.model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(m_list.GetSelectedNames(names), 2);
    EXPECT_EQ(names, (QStringList{"b.txt", "d.txt"}));
    m_list.SelectAll(false);
    EXPECT_EQ(m_list.GetSelectedCount(), 0);
}

TEST_F(SelectionTest, SavedFocusReturnsOnceAfterAReloadOrStepsBackPastDeletedRows)
{
    m_list.RefreshFolder();
    EXPECT_FALSE(m_list.SaveFocus()) << "nothing focused";
    focusRow(2);
    ASSERT_TRUE(m_list.SaveFocus());
    m_list.RefreshFolder();
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), 2);
    EXPECT_EQ(selectedRows(), QList<int>{2});
    m_list.RefreshFolder();
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), -1) << "the record is used up";

    focusRow(1);
    ASSERT_TRUE(m_list.SaveFocus());
    m_list.ClearSavedFocus();
    m_list.RefreshFolder();
    m_list.RestoreFocus(true);
    EXPECT_EQ(m_list.GetFocusedItem(), -1) << "cleared";

    // Without step back a vanished row restores nothing; with it, the walk
    // goes back past every deleted last row.
    focusRow(4);
    ASSERT_TRUE(m_list.SaveFocus());
    ASSERT_TRUE(DeleteFileW(u"\\sel\\e.txt"));
    m_list.RefreshFolder();
    m_list.RestoreFocus(false);
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    EXPECT_EQ(m_list.GetSelectedCount(), 0);
    focusRow(3);
    ASSERT_TRUE(m_list.SaveFocus());
    ASSERT_TRUE(DeleteFileW(u"\\sel\\d.txt"));
    ASSERT_TRUE(DeleteFileW(u"\\sel\\c.txt"));
    m_list.RefreshFolder();
    m_list.RestoreFocus(true);
    EXPECT_EQ(m_list.GetFocusedItem(), 1);
    EXPECT_EQ(m_list.GetItemText(1, 0), "b.txt");
}

TEST_F(SelectionTest, HeaderHasTheFiveColumns)
{
    const char *titles[] = {"Name", "Size", "Type", "Changed", "Attrs"};
    const int widths[] = {165, 60, 130, 130, 50};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(m_list.model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(m_list.header()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(m_list.GetStyle() & (LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA),
              LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA);
}

// The context menu needs the frame that owns its commands.
class ListContextMenuTest : public DeviceTest
{
protected:
    ListContextMenuTest()
    {
        MenuBuilder::setTrackHook([this](QMenu &menu, const QPoint &) -> QAction * {
            m_shown.append(menu.actions().isEmpty() ? QString() : menu.actions().first()->text());
            return nullptr;
        });
        m_device.make({"\\cm\\a.txt", "\\cm\\b.txt", "\\cm\\c.txt"});
        m_frame.show();
        list().ShowFolder("\\cm", true);
    }
    ~ListContextMenuTest() override { MenuBuilder::setTrackHook({}); }

    CFileListViewEx &list() { return *m_frame.listView(); }

    void holdAt(const QPoint &at) { QTest::mousePress(list().viewport(), Qt::RightButton, {}, at); }

    CMainFrame m_frame;
    QStringList m_shown; // first entry of every pop-up tracked
};

TEST_F(ListContextMenuTest, OnAnItemTheFileMenuBelowTheItemsTheFileEmptyMenu)
{
    auto *selection = list().selectionModel();
    selection->select(list().model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(list().model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    holdAt(list().visualRect(list().model()->index(2, 0)).center());
    EXPECT_EQ(list().GetSelectedCount(), 1) << "the held item alone is selected";
    EXPECT_EQ(list().GetFocusedItem(), 2);

    // On an item already selected, and below the items, the selection stays.
    list().SelectAll(true);
    holdAt(list().visualRect(list().model()->index(0, 0)).center());
    EXPECT_EQ(list().GetSelectedCount(), 3);
    holdAt(QPoint(10, list().viewport()->height() - 3));
    EXPECT_EQ(list().GetSelectedCount(), 3);
    EXPECT_EQ(m_shown, (QStringList{"Open", "Open", "Refresh"}));
}

// Opening files from the list: a double tap really starts the program the
// file's type names, without waiting for it; the failure message; the offer
// to register a type without an open command.
class ExecuteFileTest : public FileListViewFixture
{
protected:
    bool waitFor(const QString &name)
    {
        for (int i = 0; i < 400 && !QFile::exists(m_device.dir() + name); ++i)
            QThread::msleep(50);
        return QFile::exists(m_device.dir() + name);
    }
    void doubleTap(const QString &path)
    {
        m_device.make({path});
        m_list.ShowFolder(path.section('\\', 0, -2), true);
        const QRect rect = m_list.visualRect(m_list.model()->index(rows().indexOf(path.section('\\', -1)), 0));
        QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, rect.center());
    }
    void setCommand(const QString &command)
    {
        CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".rec\\Shell\\Open\\Command", QString(), command);
    }
};

TEST_F(ExecuteFileTest, DoubleTapStartsTheProgramAndReportsOneThatCannotStart)
{
    const QString helper = qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests/recordargs";
    m_device.writeFile("\\Windows\\recorder.exe", "#!/bin/sh\nexec '" + QFile::encodeName(helper) + "' \"$@\"\n");
    QFile::setPermissions(m_device.host("\\Windows\\recorder.exe"), QFile::ReadOwner | QFile::ExeOwner);
    setCommand("recorder.exe -open \"%1\"");
    doubleTap("\\My Documents\\a b.rec");
    ASSERT_TRUE(waitFor("/recorded"));
    EXPECT_FALSE(QFile::exists(m_device.dir() + "/done")) << "still running: nobody waited for it";
    QFile record(m_device.dir() + "/recorded");
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = record.readAll().split('\n');
    EXPECT_EQ(lines.mid(0, 3), (QList<QByteArray>{"-open", "\\My Documents\\a b.rec", "--"}));
    QFile(m_device.dir() + "/release").open(QIODevice::WriteOnly);
    EXPECT_TRUE(waitFor("/done"));

    setCommand("missing.exe -x %1");
    m_sink.expect("Failed to execute missing.exe -x \\c.rec", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    doubleTap("\\c.rec");
    setCommand("\\c.rec"); // a device file the host cannot run
    m_sink.expect("Failed to execute \\c.rec ", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_FALSE(m_list.ExecuteFile("\\c.rec"));
}

// A double tap keeps the tapped item focused and opens no editor; a type
// without an open command is offered for registering, in lower case.
TEST_F(SelectionTest, DoubleTapOffersToRegisterAnUnknownType)
{
    const QString question = "No open command is registered for this filetype, register now?";
    QStringList opened;
    ScopedModalHook hook([&](CDialog &dialog) {
        opened << dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text();
        dialog.EndDialog(IDCANCEL);
    });
    const QPoint at = m_list.visualRect(m_list.model()->index(3, 0)).center();
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at);
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(m_list.GetFocusedItem(), 3);
    EXPECT_EQ(selectedRows(), QList<int>{3});
    QTest::keyClick(&m_list, Qt::Key_F2);
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at); // a tap on the selected item
    EXPECT_TRUE(m_list.findChildren<QLineEdit *>().isEmpty()) << "no editor opened";

    // A found file's row holds its full path, and a double tap opens that.
    m_device.make({"\\My Documents\\Data.XYZ"});
    CFileListCtrl found;
    found.InsertItem(0, "\\My Documents\\Data.XYZ", 0);
    found.show();
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(found.viewport(), Qt::LeftButton, {}, found.visualItemRect(found.topLevelItem(0)).center());
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDYES);
    EXPECT_FALSE(m_list.ExecuteFile("\\My Documents\\Data.XYZ"));
    EXPECT_EQ(opened, QStringList{"xyz"});
    EXPECT_EQ(m_sink.lastOwner(), nullptr);
}

} // namespace
