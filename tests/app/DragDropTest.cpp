// Dragging with the pointer: events enter through the frame's window, so the
// view holding the capture receives them wherever the pointer is. The drop
// reaches the engine as a paste of the cut; the engine's tests check the disk.
#include "Panes.h"

#include <QCursor>

namespace {

class DragFixture : public Panes
{
protected:
    void pointer(QTest::MouseAction action, QWidget *view, QPoint pos)
    {
        QWindow *window = frame->windowHandle();
        QTest::mouseEvent(action, window, Qt::LeftButton, {}, window->mapFromGlobal(view->mapToGlobal(pos)));
    }
    QPoint itemPoint(QTreeWidgetItem *item) const
    {
        tree().scrollToItem(item);
        return tree().visualItemRect(item).center();
    }
    // Presses at pos and moves just past the drag distance.
    void beginDrag(QWidget *viewport, QPoint pos)
    {
        pointer(QTest::MousePress, viewport, pos);
        pointer(QTest::MouseMove, viewport, pos + QPoint(QApplication::startDragDistance() + 1, 0));
    }
};

// Over the list nothing is pasted; over a folder or the tree's empty area the
// cut is pasted there. The drops that paste come last.
TEST_F(DragFixture, PastesTheCutWhereReleased)
{
    device.make({"\\My Documents\\a.txt", "\\My Documents\\b.txt", "\\Temp\\Old\\x.txt", "\\Work\\y.txt"});
    start(true);
    // Tall enough for every folder and an empty area below them.
    tree().setMinimumHeight(500);
    frame->resize(480, 1200);
    QCoreApplication::processEvents();
    // What is dragged: a.txt and b.txt from the list, or \Temp\Old from the tree; where it is released:
    // over "Work", "" the empty area below the tree's items, null the list; where it is pasted ("": nowhere).
    const std::tuple<const char *, bool, const char *, const char *> drops[] = {
        {"files back over the list", true, nullptr, ""},
        {"folder over the list", false, nullptr, ""},
        {"files on a folder", true, "Work", "\\Work\\"},
        {"folder on the empty area", false, "", "\\"},
    };
    for (const auto &[what, fromList, over, destination] : drops) {
        SCOPED_TRACE(what);
        const unsigned mode = CFileOperations::OpCut | (fromList ? CFileOperations::OpFiles
                                                                 : CFileOperations::OpFolder);
        if (fromList) {
            focusList("\\My Documents\\", {"a.txt", "b.txt"});
            const QModelIndex a = list().model()->index(int(rows(list()).indexOf("a.txt")), 0);
            beginDrag(list().viewport(), list().visualRect(a).center());
            EXPECT_EQ(list().GetSelectedCount(), 2) << "the press on a selected entry kept the selection";
            EXPECT_EQ(sorted(ops().names()), (QStringList{"a.txt", "b.txt"}));
        } else {
            beginDrag(tree().viewport(), itemPoint(tree().SelectPath("\\Temp\\Old\\")));
        }
        QTreeWidgetItem *work = tree().FindItemByPath("\\Work");
        ASSERT_NE(work, nullptr);
        EXPECT_TRUE(frame->isDragging() && frame->hasTimer(3));
        EXPECT_EQ(ops().mode(), mode);
        EXPECT_EQ(ops().sourceFolder(), fromList ? "\\My Documents\\" : "\\Temp\\Old\\");

        pointer(QTest::MouseMove, tree().viewport(), itemPoint(work));
        EXPECT_EQ(tree().DropTarget(), work);
        if (fromList) {
            EXPECT_EQ(list().DropTarget(), work);
        }
        EXPECT_EQ(work->background(0), tree().palette().brush(QPalette::Highlight));
        QWidget *view = over ? tree().viewport() : list().viewport();
        QPoint at(5, list().viewport()->height() - 2);
        if (over && *over) {
            at = itemPoint(work);
        } else if (over) {
            QTreeWidgetItem *last = tree().topLevelItem(tree().topLevelItemCount() - 1);
            at = QPoint(5, tree().visualItemRect(last).bottom() + 4);
            ASSERT_LT(at.y(), tree().viewport()->height());
            ASSERT_EQ(tree().itemAt(at), nullptr);
        }
        pointer(QTest::MouseMove, view, at);
        EXPECT_EQ(tree().DropTarget(), over && *over ? work : nullptr);
        pointer(QTest::MouseRelease, view, at);

        EXPECT_EQ(ops().destinationFolder(), destination);
        EXPECT_EQ(ops().mode(), mode) << "the cut stays on the clipboard, as after the menu command";
        EXPECT_EQ(work->background(0), QBrush());
        EXPECT_FALSE(frame->isDragging() || frame->hasTimer(3));
        EXPECT_TRUE(!tree().DropTarget() && !list().DropTarget() && !QWidget::mouseGrabber());
    }
}

// Many folders, so the tree scrolls; the pointer is parked near an edge and
// the frame's timer 3 is delivered by hand. Near the bottom the next folder
// becomes the target, scrolled in; near the top the previous folder or the
// parent; elsewhere the target stays. The root items cannot be dragged.
TEST_F(DragFixture, NearAnEdgeTheNextFolderInThatDirectionBecomesTheTarget)
{
    for (int i = 0; i < 60; ++i)
        device.make({QString("\\F%1\\f.txt").arg(i, 2, 10, QLatin1Char('0'))});
    start(true);
    QTreeWidgetItem *root = tree().DeviceRoot();
    beginDrag(tree().viewport(), itemPoint(root));
    EXPECT_FALSE(frame->isDragging() || frame->hasTimer(3));
    EXPECT_EQ(ops().mode(), 0u);
    pointer(QTest::MouseRelease, tree().viewport(), itemPoint(root));

    root->setExpanded(true);
    QCoreApplication::processEvents();
    const auto tick = [&](int y) {
        QCursor::setPos(tree().viewport()->mapToGlobal(QPoint(20, y)));
        ASSERT_EQ(QCursor::pos(), tree().viewport()->mapToGlobal(QPoint(20, y)));
        tree().OnTimer(3);
    };
    const auto firstVisible = [&] { return tree().itemAt(QPoint(0, 0)); };
    ASSERT_EQ(firstVisible(), root);
    tick(tree().viewport()->height() - 3);
    QTreeWidgetItem *target = tree().DropTarget();
    ASSERT_NE(target, nullptr);
    // The row just below the last fully visible one, now scrolled into view.
    const int rows = tree().viewport()->height() / tree().visualItemRect(root).height();
    EXPECT_EQ(target, root->child(rows - 1));
    EXPECT_TRUE(tree().viewport()->rect().contains(tree().visualItemRect(target)));
    EXPECT_NE(firstVisible(), root);
    EXPECT_EQ(target->background(0), tree().palette().brush(QPalette::Highlight));

    tree().scrollToItem(root->child(30), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(firstVisible(), root->child(30));
    tick(3);
    EXPECT_EQ(std::pair(tree().DropTarget(), firstVisible()), std::pair(root->child(29), root->child(29)));
    tree().scrollToItem(root->child(0), QAbstractItemView::PositionAtTop);
    tick(3);
    EXPECT_EQ(std::pair(tree().DropTarget(), firstVisible()), std::pair(root, root));
    // At the very top nothing is before the root: no target.
    tick(3);
    EXPECT_EQ(tree().DropTarget(), nullptr);
    tree().DragOver(tree().viewport()->mapToGlobal(itemPoint(root->child(0))));
    tick(tree().viewport()->height() / 2);
    EXPECT_EQ(tree().DropTarget(), root->child(0));
}

} // namespace
