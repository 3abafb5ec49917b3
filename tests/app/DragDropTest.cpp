#include "ScriptedSink.h"
#include "ShownFrame.h"

#include <QCursor>
#include <QTreeWidgetItem>

namespace {

// Drags with the pointer: events enter through the frame's window, so the
// view holding the capture receives them wherever the pointer is.
class DragDrop : public ShownFrame
{
protected:
    void SetUp() override
    {
        device.make({QStringLiteral("\\My Documents\\a.txt"), QStringLiteral("\\My Documents\\b.txt"),
                     QStringLiteral("\\My Documents\\c.txt"), QStringLiteral("\\Temp\\Old\\x.txt"),
                     QStringLiteral("\\Work\\y.txt")});
        showFrame();
        // Tall enough for every folder and an empty area below them.
        tree()->setMinimumHeight(500);
        frame->resize(480, 1200);
        QCoreApplication::processEvents();
    }

    CDirTreeView *tree() const { return frame->treeView(); }
    CFileListViewEx *list() const { return frame->listView(); }

    void pointer(QTest::MouseAction action, QWidget *view, QPoint pos)
    {
        QWindow *window = frame->windowHandle();
        QTest::mouseEvent(action, window, Qt::LeftButton, {}, window->mapFromGlobal(view->mapToGlobal(pos)));
    }
    QPoint itemPoint(QTreeWidgetItem *item) const
    {
        tree()->scrollToItem(item);
        return tree()->visualItemRect(item).center();
    }
    QPoint rowPoint(const QString &name) const
    {
        for (int row = 0; row < list()->GetItemCount(); ++row) {
            if (list()->GetItemText(row, 0) == name)
                return list()->visualRect(list()->model()->index(row, 0)).center();
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return {};
    }
    // Below the last row of the tree.
    QPoint emptyTreePoint() const
    {
        QTreeWidgetItem *last = tree()->topLevelItem(tree()->topLevelItemCount() - 1);
        const QPoint below(5, tree()->visualItemRect(last).bottom() + 4);
        EXPECT_LT(below.y(), tree()->viewport()->height());
        EXPECT_EQ(tree()->itemAt(below), nullptr);
        return below;
    }
    // Press on a list entry and move just past the drag distance.
    void beginListDrag(const QString &name)
    {
        const QPoint start = rowPoint(name);
        pointer(QTest::MousePress, list()->viewport(), start);
        pointer(QTest::MouseMove, list()->viewport(), start + QPoint(QApplication::startDragDistance() + 1, 0));
        ASSERT_TRUE(frame->isDragging());
        ASSERT_TRUE(frame->hasTimer(3));
    }
    void beginTreeDrag(QTreeWidgetItem *item)
    {
        const QPoint start = itemPoint(item);
        pointer(QTest::MousePress, tree()->viewport(), start);
        pointer(QTest::MouseMove, tree()->viewport(), start + QPoint(QApplication::startDragDistance() + 1, 0));
    }
    void expectDragEnded()
    {
        EXPECT_FALSE(frame->isDragging());
        EXPECT_FALSE(frame->hasTimer(3));
        EXPECT_EQ(tree()->DropTarget(), nullptr);
        EXPECT_EQ(list()->DropTarget(), nullptr);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    }

    ScriptedSink sink;
};

TEST_F(DragDrop, FilesFromTheListMoveIntoTheFolderDroppedOn)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    QTreeWidgetItem *work = tree()->FindItemByPath(QStringLiteral("\\Work"));
    ASSERT_NE(work, nullptr);
    beginListDrag(QStringLiteral("a.txt"));
    EXPECT_EQ(list()->GetSelectedCount(), 2); // the press on a selected entry kept the selection

    pointer(QTest::MouseMove, tree()->viewport(), itemPoint(work));
    EXPECT_EQ(list()->DropTarget(), work);
    EXPECT_EQ(tree()->DropTarget(), work);
    EXPECT_EQ(work->background(0), tree()->palette().brush(QPalette::Highlight));
    pointer(QTest::MouseRelease, tree()->viewport(), itemPoint(work));

    EXPECT_TRUE(device.exists(QStringLiteral("\\Work\\a.txt")));
    EXPECT_TRUE(device.exists(QStringLiteral("\\Work\\b.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\a.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\b.txt")));
    EXPECT_TRUE(device.exists(QStringLiteral("\\My Documents\\c.txt")));
    EXPECT_EQ(work->background(0), QBrush());
    expectDragEnded();
}

TEST_F(DragDrop, FilesReleasedOnAnEmptyTreeAreaMoveToTheRoot)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("c.txt")});
    beginListDrag(QStringLiteral("c.txt"));
    const QPoint empty = emptyTreePoint();
    pointer(QTest::MouseMove, tree()->viewport(), empty);
    pointer(QTest::MouseRelease, tree()->viewport(), empty);
    EXPECT_TRUE(device.exists(QStringLiteral("\\c.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\My Documents\\c.txt")));
    expectDragEnded();
}

TEST_F(DragDrop, ListDragReleasedOutsideTheTreePastesNothingAndEnds)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("a.txt")});
    QTreeWidgetItem *work = tree()->FindItemByPath(QStringLiteral("\\Work"));
    beginListDrag(QStringLiteral("a.txt"));
    pointer(QTest::MouseMove, tree()->viewport(), itemPoint(work));
    pointer(QTest::MouseMove, list()->viewport(), QPoint(5, list()->viewport()->height() - 2));
    EXPECT_EQ(tree()->DropTarget(), nullptr);
    pointer(QTest::MouseRelease, list()->viewport(), QPoint(5, list()->viewport()->height() - 2));
    EXPECT_TRUE(device.exists(QStringLiteral("\\My Documents\\a.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\Work\\a.txt")));
    expectDragEnded();
    // The cut stays on the clipboard, as after the menu command.
    EXPECT_EQ(frame->fileOperations().mode(), unsigned(CFileOperations::OpFiles | CFileOperations::OpCut));
}

TEST_F(DragDrop, FolderDraggedInTheTreeMovesIntoTheFolderDroppedOn)
{
    QTreeWidgetItem *old = tree()->SelectPath(QStringLiteral("\\Temp\\Old\\"));
    QTreeWidgetItem *work = tree()->FindItemByPath(QStringLiteral("\\Work"));
    ASSERT_NE(old, nullptr);
    beginTreeDrag(old);
    EXPECT_TRUE(frame->isDragging());
    EXPECT_TRUE(frame->hasTimer(3));
    EXPECT_EQ(frame->fileOperations().sourceFolder(), QStringLiteral("\\Temp\\Old\\"));
    pointer(QTest::MouseMove, tree()->viewport(), itemPoint(work));
    EXPECT_EQ(tree()->DropTarget(), work);
    pointer(QTest::MouseRelease, tree()->viewport(), itemPoint(work));
    EXPECT_TRUE(device.exists(QStringLiteral("\\Work\\Old\\x.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\Temp\\Old")));
    expectDragEnded();
}

TEST_F(DragDrop, FolderReleasedOnAnEmptyTreeAreaMovesUnderTheRoot)
{
    QTreeWidgetItem *old = tree()->SelectPath(QStringLiteral("\\Temp\\Old\\"));
    beginTreeDrag(old);
    const QPoint empty = emptyTreePoint();
    pointer(QTest::MouseMove, tree()->viewport(), empty);
    pointer(QTest::MouseRelease, tree()->viewport(), empty);
    EXPECT_TRUE(device.exists(QStringLiteral("\\Old\\x.txt")));
    EXPECT_FALSE(device.exists(QStringLiteral("\\Temp\\Old")));
    expectDragEnded();
}

TEST_F(DragDrop, FolderReleasedOverTheListPastesNothingButStaysCut)
{
    QTreeWidgetItem *old = tree()->SelectPath(QStringLiteral("\\Temp\\Old\\"));
    beginTreeDrag(old);
    const QPoint inList(5, 5);
    pointer(QTest::MouseMove, list()->viewport(), inList);
    pointer(QTest::MouseRelease, list()->viewport(), inList);
    EXPECT_TRUE(device.exists(QStringLiteral("\\Temp\\Old\\x.txt")));
    EXPECT_EQ(frame->fileOperations().mode(), unsigned(CFileOperations::OpFolder | CFileOperations::OpCut));
    expectDragEnded();
}

TEST_F(DragDrop, RootItemsCannotBeDragged)
{
    QTreeWidgetItem *root = tree()->DeviceRoot();
    beginTreeDrag(root);
    EXPECT_FALSE(frame->isDragging());
    EXPECT_FALSE(frame->hasTimer(3));
    EXPECT_EQ(frame->fileOperations().mode(), 0u);
    pointer(QTest::MouseRelease, tree()->viewport(), itemPoint(root));
}

// Many folders, so the tree scrolls; the pointer is parked near an edge and
// the frame's timer 3 is delivered by hand.
class DragScroll : public DragDrop
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 60; ++i)
            device.make({QStringLiteral("\\F%1\\f.txt").arg(i, 2, 10, QLatin1Char('0'))});
        showFrame();
        tree()->DeviceRoot()->setExpanded(true);
        QCoreApplication::processEvents();
    }
    void tick(int y)
    {
        QCursor::setPos(tree()->viewport()->mapToGlobal(QPoint(20, y)));
        ASSERT_EQ(QCursor::pos(), tree()->viewport()->mapToGlobal(QPoint(20, y)));
        tree()->OnTimer(3);
    }
    QTreeWidgetItem *firstVisible() const { return tree()->itemAt(QPoint(0, 0)); }
};

TEST_F(DragScroll, NearTheBottomTheNextFolderBecomesTheScrolledInTarget)
{
    QTreeWidgetItem *root = tree()->DeviceRoot();
    QTreeWidgetItem *first = firstVisible();
    ASSERT_EQ(first, root);
    tick(tree()->viewport()->height() - 3);
    QTreeWidgetItem *target = tree()->DropTarget();
    ASSERT_NE(target, nullptr);
    // The row just below the last fully visible one, now scrolled into view.
    const int rows = tree()->viewport()->height() / tree()->visualItemRect(root).height();
    EXPECT_EQ(target, root->child(rows - 1));
    EXPECT_TRUE(tree()->viewport()->rect().contains(tree()->visualItemRect(target)));
    EXPECT_NE(firstVisible(), root);
    EXPECT_EQ(target->background(0), tree()->palette().brush(QPalette::Highlight));

    tick(tree()->viewport()->height() - 3);
    EXPECT_EQ(tree()->DropTarget(), root->child(rows));
}

TEST_F(DragScroll, NearTheTopThePreviousFolderOrTheParentBecomesTheTarget)
{
    QTreeWidgetItem *root = tree()->DeviceRoot();
    tree()->scrollToItem(root->child(30), QAbstractItemView::PositionAtTop);
    QTreeWidgetItem *first = firstVisible();
    ASSERT_EQ(first, root->child(30));
    tick(3);
    EXPECT_EQ(tree()->DropTarget(), root->child(29));
    EXPECT_EQ(firstVisible(), root->child(29));

    tree()->scrollToItem(root->child(0), QAbstractItemView::PositionAtTop);
    tick(3);
    EXPECT_EQ(tree()->DropTarget(), root);
    EXPECT_EQ(firstVisible(), root);

    // At the very top nothing is before the root: no target.
    tick(3);
    EXPECT_EQ(tree()->DropTarget(), nullptr);
    // Away from the edges the target is left as it is.
    tree()->DragOver(tree()->viewport()->mapToGlobal(itemPoint(root->child(0))));
    tick(tree()->viewport()->height() / 2);
    EXPECT_EQ(tree()->DropTarget(), root->child(0));
}

} // namespace
