// The panes' context menus, tracked for the main frame.
#include "Panes.h"
#include "Settings.h"

#include "framework/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QScopeGuard>

namespace {

using ContextMenuTest = Panes;

// In the tree a hold on a label selects the folder first, beside it keeps the
// selection; network items get their own menus; nothing outside the items
// gets one. In the list an item gets the File menu, the area below the items
// the FileEmpty one.
TEST_F(ContextMenuTest, EachPaneShowsTheMenuOfWhatIsHeld)
{
    QStringList shown; // the title of every pop-up shown
    QPoint shownAt;
    MenuBuilder::setTrackHook([&](QMenu &menu, const QPoint &screenPos) -> QAction * {
        shown.append(menu.title());
        shownAt = screenPos;
        return nullptr;
    });
    const auto unhook = qScopeGuard([] { MenuBuilder::setTrackHook({}); });
    // Right-button press at a point of the item's row: on its label, or past
    // the label at the right edge.
    const auto holdOn = [&](QTreeWidgetItem *item, bool onLabel) {
        tree().scrollToItem(item);
        const QRect rect = tree().visualItemRect(item);
        const QPoint pos(onLabel ? rect.left() + 8 : tree().viewport()->width() - 2, rect.center().y());
        QTest::mousePress(tree().viewport(), Qt::RightButton, {}, pos);
        return tree().viewport()->mapToGlobal(pos);
    };
    const auto holdInList = [&](const QPoint &at) { QTest::mousePress(list().viewport(), Qt::RightButton, {}, at); };
    device.make({"\\\\srv\\share\\", "\\Temp\\a.txt", "\\cm\\a.txt", "\\cm\\b.txt", "\\cm\\c.txt"});
    mapNetPaths({"\\\\srv\\share"});
    start(true);
    tree().NetworkRoot()->setExpanded(true);
    ASSERT_EQ(tree().NetworkRoot()->childCount(), 1);
    QTest::mousePress(tree().viewport(), Qt::RightButton, {}, QPoint(5, tree().viewport()->height() - 2));
    EXPECT_TRUE(shown.isEmpty());
    QTreeWidgetItem *windows = tree().SelectPath("\\Windows");
    ASSERT_NE(windows, nullptr);
    holdOn(tree().DeviceRoot(), false);
    EXPECT_EQ(tree().currentItem(), windows);
    QTreeWidgetItem *temp = child(tree().DeviceRoot(), "Temp");
    const QPoint at = holdOn(temp, true);
    EXPECT_EQ(shownAt, at);
    EXPECT_EQ(tree().currentItem(), temp);
    EXPECT_EQ(list().GetCurrentFolder(), "\\Temp");
    EXPECT_EQ(list().GetItemCount(), 1);
    holdOn(tree().NetworkRoot(), true);
    holdOn(tree().NetworkRoot()->child(0), true);
    EXPECT_EQ(shown, (QStringList{"Dir", "Dir", "Network", "NetworkFolder"}));
    EXPECT_TRUE(tree().IsNetworkPathSelected());

    shown.clear();
    open("\\cm");
    selectRows(list(), rows(list()).mid(0, 2));
    holdInList(list().visualRect(list().model()->index(2, 0)).center());
    EXPECT_EQ(list().GetSelectedCount(), 1) << "the held item alone is selected";
    EXPECT_EQ(list().GetFocusedItem(), 2);
    // On an item already selected, and below the items, the selection stays.
    list().SelectAll(true);
    holdInList(list().visualRect(list().model()->index(0, 0)).center());
    EXPECT_EQ(list().GetSelectedCount(), 3);
    holdInList(QPoint(10, list().viewport()->height() - 3));
    EXPECT_EQ(list().GetSelectedCount(), 3);
    EXPECT_EQ(shown, (QStringList{"File", "File", "FileEmpty"}));
}

} // namespace
