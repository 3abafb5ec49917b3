// Selection, focus keeping, the header style and the context menu of the file list.
#include "FileListViewFixture.h"

#include "app/CMainFrame.h"
#include "framework/MenuBuilder.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

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

TEST_F(SelectionTest, DoubleTapKeepsTheTappedItemFocusedAndNoEditorOpens)
{
    const QPoint at = m_list.visualRect(m_list.model()->index(3, 0)).center();
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at);
    // The double tap opens the file: d.txt has no open command on this device.
    m_sink.expect("No open command is registered for this filetype, register now?", "Quillmoss",
                  MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(m_list.GetFocusedItem(), 3);
    EXPECT_EQ(selectedRows(), QList<int>{3});
    QTest::keyClick(&m_list, Qt::Key_F2);
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at); // a tap on the selected item
    EXPECT_TRUE(m_list.findChildren<QLineEdit *>().isEmpty()) << "no editor opened";
}

TEST_F(SelectionTest, HeaderHasTheFiveColumnsAndItsStyleBitHidesIt)
{
    const char *titles[] = {"Name", "Size", "Type", "Changed", "Attrs"};
    const int widths[] = {165, 60, 130, 130, 50};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(m_list.model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(m_list.header()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(m_list.GetStyle() & (LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA),
              LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA);
    EXPECT_FALSE(m_list.header()->isHidden());
    m_list.SetStyle(m_list.GetStyle() | LVS_NOCOLUMNHEADER);
    EXPECT_TRUE(m_list.header()->isHidden());
    m_list.SetStyle(m_list.GetStyle() & ~LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(m_list.header()->isHidden());
}

// The context menu needs the frame that owns its commands.
class ListContextMenuTest : public ::testing::Test
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

    QCoreApplication *m_app = listTestApp();
    TempDevice m_device;
    ScriptedSink m_sink;
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

} // namespace
