// The tree's context menu, tracked for the main frame.
#include "Panes.h"
#include "Settings.h"

#include "framework/MenuBuilder.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <QMenu>

namespace {

class TreeContextMenuTest : public Panes
{
protected:
    TreeContextMenuTest()
    {
        MenuBuilder::setTrackHook([this](QMenu &menu, const QPoint &screenPos) -> QAction * {
            m_shown.append(QList<UINT>());
            for (const QAction *action : menu.actions())
                m_shown.last().append(action->property("commandId").toUInt());
            m_shownAt = screenPos;
            return nullptr;
        });
    }
    ~TreeContextMenuTest() override { MenuBuilder::setTrackHook({}); }

    // Right-button press at a point of the item's row: on its label, or past
    // the label at the right edge.
    QPoint holdOn(QTreeWidgetItem *item, bool onLabel)
    {
        const QRect rect = tree().visualItemRect(item);
        const QPoint pos(onLabel ? rect.left() + 8 : tree().viewport()->width() - 2, rect.center().y());
        QTest::mousePress(tree().viewport(), Qt::RightButton, {}, pos);
        return tree().viewport()->mapToGlobal(pos);
    }

    QList<QList<UINT>> m_shown; // command ids of every menu shown
    QPoint m_shownAt;
};

const QList<UINT> DirMenu = {ID_FILE_NEWFOLDER, ID_FILE_DELETE, ID_FILE_PROPERTIES};

TEST_F(TreeContextMenuTest, OnALabelSelectsTheFolderFirstBesideItKeepsTheSelection)
{
    start(true);
    QTreeWidgetItem *windows = tree().SelectPath("\\Windows");
    ASSERT_NE(windows, nullptr);
    holdOn(tree().DeviceRoot(), false);
    EXPECT_EQ(tree().currentItem(), windows);

    QTreeWidgetItem *temp = child(tree().DeviceRoot(), "Temp");
    device.make({"\\Temp\\a.txt"});
    const QPoint at = holdOn(temp, true);
    EXPECT_EQ(m_shown, (QList<QList<UINT>>{DirMenu, DirMenu}));
    EXPECT_EQ(m_shownAt, at);
    EXPECT_EQ(tree().currentItem(), temp);
    EXPECT_EQ(list().GetCurrentFolder(), "\\Temp");
    EXPECT_EQ(list().GetItemCount(), 1);
}

TEST_F(TreeContextMenuTest, NetworkItemsGetTheirOwnMenusAndNothingOutsideTheItems)
{
    device.make({"\\\\srv\\share\\"});
    mapNetPaths({"\\\\srv\\share"});
    start(true);
    tree().NetworkRoot()->setExpanded(true);
    ASSERT_EQ(tree().NetworkRoot()->childCount(), 1);
    QTest::mousePress(tree().viewport(), Qt::RightButton, {}, QPoint(5, tree().viewport()->height() - 2));
    EXPECT_TRUE(m_shown.isEmpty());

    holdOn(tree().NetworkRoot(), true);
    holdOn(tree().NetworkRoot()->child(0), true);
    EXPECT_EQ(m_shown, (QList<QList<UINT>>{{ID_TOOLS_CONNECTDRIVE}, {ID_TOOLS_DISCONNECTDRIVE}}));
    EXPECT_TRUE(tree().IsNetworkPathSelected());
}

} // namespace
