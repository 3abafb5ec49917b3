// Placeholders, expand buttons and re-reading of branches.
#include "TreeFixture.h"

#include <QTest>

namespace {

const QString Dummy = QStringLiteral("~Dummy Item");

} // namespace

using TreeLazyLoadingTest = TreeFixture;

TEST_F(TreeLazyLoadingTest, StartsWithTwoRootsAndPlaceholders)
{
    start();
    ASSERT_EQ(m_tree.topLevelItemCount(), 2);
    EXPECT_EQ(m_tree.topLevelItem(0), m_tree.DeviceRoot());
    EXPECT_EQ(m_tree.topLevelItem(1), m_tree.NetworkRoot());
    EXPECT_FALSE(m_tree.DeviceRoot()->text(0).isEmpty());
    EXPECT_EQ(m_tree.NetworkRoot()->text(0), "My Network Places");
    EXPECT_EQ(CDirTreeView::GetItemImage(m_tree.DeviceRoot()), CDirTreeView::Handheld);
    EXPECT_EQ(CDirTreeView::GetItemImage(m_tree.DeviceRoot(), true), CDirTreeView::Handheld);
    EXPECT_EQ(CDirTreeView::GetItemImage(m_tree.NetworkRoot()), CDirTreeView::NetworkEmpty);

    EXPECT_EQ(texts(m_tree.DeviceRoot()), QStringList{Dummy});
    EXPECT_FALSE(m_tree.DeviceRoot()->isExpanded());
    EXPECT_EQ(m_tree.NetworkRoot()->childCount(), 0) << "nothing mapped: no button";

    // First activation selects the device root, so the list shows "\".
    EXPECT_EQ(m_tree.currentItem(), m_tree.DeviceRoot());
    EXPECT_EQ(m_tree.GetSelectedPath(), "\\");
    EXPECT_EQ(m_list.GetCurrentFolder(), "");
}

TEST_F(TreeLazyLoadingTest, ExpandingLoadsSortedFoldersWithPlaceholders)
{
    m_device.make({"\\apple\\", "\\Zoo\\cage\\", "\\notes.txt"});
    start();
    QTreeWidgetItem *root = openRoot();

    EXPECT_EQ(texts(root), (QStringList{"apple", "My Documents", "Program Files", "Temp", "Windows", "Zoo"}));
    EXPECT_EQ(texts(child(root, "Windows")), QStringList{Dummy});
    EXPECT_EQ(texts(child(root, "Zoo")), QStringList{Dummy});
    EXPECT_EQ(child(root, "Temp")->childCount(), 0);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(root, "Temp")), CDirTreeView::ClosedFolder);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(root, "Temp"), true), CDirTreeView::OpenFolder);
}

TEST_F(TreeLazyLoadingTest, RefreshAddsButtonsAndFoldersAndDropsVanishedOnes)
{
    m_device.make({"\\apple\\"});
    start();
    QTreeWidgetItem *root = openRoot();
    QTreeWidgetItem *temp = child(root, "Temp");
    ASSERT_NE(temp, nullptr);
    ASSERT_EQ(temp->childCount(), 0);

    m_device.make({"\\Temp\\New\\", "\\Fresh\\"});
    ASSERT_TRUE(QDir(m_device.host("\\apple")).removeRecursively());
    EXPECT_EQ(temp->childCount(), 0) << "nothing is read before the next check";

    m_tree.Refresh();
    EXPECT_EQ(child(root, "Temp"), temp);
    EXPECT_EQ(texts(temp), QStringList{Dummy});
    EXPECT_FALSE(temp->isExpanded());
    EXPECT_EQ(texts(root), (QStringList{"Fresh", "My Documents", "Program Files", "Temp", "Windows"}));

    // The branch loses its button once the subfolder is gone again.
    ASSERT_TRUE(QDir(m_device.host("\\Temp\\New")).removeRecursively());
    m_tree.Refresh();
    EXPECT_EQ(temp->childCount(), 0);
}

TEST_F(TreeLazyLoadingTest, EveryExpansionRereadsAndEveryCollapseDrops)
{
    start();
    QTreeWidgetItem *windows = child(openRoot(), "Windows");
    ASSERT_NE(windows, nullptr);

    windows->setExpanded(true);
    EXPECT_EQ(texts(windows), (QStringList{"Desktop", "Start Menu"}));

    windows->setExpanded(false);
    EXPECT_EQ(texts(windows), QStringList{Dummy});

    m_device.make({"\\Windows\\Later\\"});
    windows->setExpanded(true);
    EXPECT_EQ(texts(windows), (QStringList{"Desktop", "Later", "Start Menu"}));
    EXPECT_EQ(texts(child(windows, "Start Menu")), QStringList{Dummy});
}

TEST_F(TreeLazyLoadingTest, TapOnTheButtonExpandsAndCollapses)
{
    start();
    m_tree.resize(300, 400);
    m_tree.show();
    QTreeWidgetItem *root = m_tree.DeviceRoot();
    const QRect rect = m_tree.visualItemRect(root);
    const QPoint button(rect.left() - m_tree.indentation() / 2, rect.center().y());

    QTest::mouseClick(m_tree.viewport(), Qt::LeftButton, {}, button);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_NE(child(root, "Windows"), nullptr);

    QTest::mouseClick(m_tree.viewport(), Qt::LeftButton, {}, button);
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(texts(root), QStringList{Dummy});
}

TEST_F(TreeLazyLoadingTest, ToleratesAMissingList)
{
    m_tree.SetListView(nullptr);
    m_tree.OnInitialUpdate();
    m_tree.OnFirstActivate();
    openRoot();
    m_tree.setCurrentItem(m_tree.NetworkRoot());
    m_tree.Refresh();
    EXPECT_EQ(m_tree.SelectPath("\\Windows\\"), child(m_tree.DeviceRoot(), "Windows"));
}
