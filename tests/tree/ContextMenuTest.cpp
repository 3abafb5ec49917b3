// The tree's context menu, tracked for the main frame.
#include "TreeFixture.h"

#include "app/CMainFrame.h"
#include "framework/MenuBuilder.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace {

class TreeContextMenuTest : public ::testing::Test
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
        m_frame.show();
    }
    ~TreeContextMenuTest() override { MenuBuilder::setTrackHook({}); }

    CDirTreeView &tree() { return *m_frame.treeView(); }

    // Right-button press at a point of the item's row: on its label, or
    // past the label at the right edge.
    QPoint holdOn(QTreeWidgetItem *item, bool onLabel)
    {
        const QRect rect = tree().visualItemRect(item);
        const QPoint pos(onLabel ? rect.left() + 8 : tree().viewport()->width() - 2, rect.center().y());
        QTest::mousePress(tree().viewport(), Qt::RightButton, {}, pos);
        return tree().viewport()->mapToGlobal(pos);
    }

    QApplication &m_app = qtApp(); // before any widget
    TempDevice m_device;
    ScriptedSink m_sink;
    CMainFrame m_frame;
    QList<QList<UINT>> m_shown; // command ids of every menu shown
    QPoint m_shownAt;
};

const QList<UINT> DirMenu = {ID_FILE_NEWFOLDER, ID_FILE_DELETE, ID_FILE_PROPERTIES};

} // namespace

TEST_F(TreeContextMenuTest, OnALabelSelectsTheFolderFirst)
{
    QTreeWidgetItem *windows = tree().SelectPath("\\Windows");
    QTreeWidgetItem *temp = child(tree().DeviceRoot(), "Temp");
    ASSERT_NE(temp, nullptr);
    m_device.make({"\\Temp\\a.txt"});

    const QPoint at = holdOn(temp, true);

    ASSERT_EQ(m_shown.size(), 1);
    EXPECT_EQ(m_shown[0], DirMenu);
    EXPECT_EQ(m_shownAt, at);
    EXPECT_NE(tree().currentItem(), windows);
    EXPECT_EQ(tree().currentItem(), temp);
    EXPECT_EQ(m_frame.listView()->GetCurrentFolder(), "\\Temp");
    EXPECT_EQ(m_frame.listView()->GetItemCount(), 1);
}

TEST_F(TreeContextMenuTest, BesideALabelKeepsTheSelection)
{
    QTreeWidgetItem *windows = tree().SelectPath("\\Windows");
    ASSERT_NE(windows, nullptr);

    holdOn(tree().DeviceRoot(), false);

    ASSERT_EQ(m_shown.size(), 1);
    EXPECT_EQ(m_shown[0], DirMenu);
    EXPECT_EQ(tree().currentItem(), windows);
}

TEST_F(TreeContextMenuTest, NetworkItemsGetTheirOwnMenus)
{
    QDir().mkpath(m_device.device().networkRoot() + "/srv/share");
    CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, "Path0", "\\\\srv\\share");
    CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, "Count", 1);
    tree().NetworkRoot()->setExpanded(true);
    ASSERT_EQ(tree().NetworkRoot()->childCount(), 1);

    holdOn(tree().NetworkRoot(), true);
    holdOn(tree().NetworkRoot()->child(0), true);

    ASSERT_EQ(m_shown.size(), 2);
    EXPECT_EQ(m_shown[0], QList<UINT>{ID_TOOLS_CONNECTDRIVE});
    EXPECT_EQ(m_shown[1], QList<UINT>{ID_TOOLS_DISCONNECTDRIVE});
    EXPECT_TRUE(tree().IsNetworkPathSelected());
}

TEST_F(TreeContextMenuTest, NothingOutsideTheItems)
{
    QTest::mousePress(tree().viewport(), Qt::RightButton, {}, QPoint(5, tree().viewport()->height() - 2));
    EXPECT_TRUE(m_shown.isEmpty());
}
