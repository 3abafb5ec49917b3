// Placeholders, expand buttons and re-reading of branches.
#include "Panes.h"

#include <QDir>

namespace {

using TreeLazyLoadingTest = Panes;
const QString Dummy = "~Dummy Item";

// A tap on the button expands and collapses; every expansion rereads and
// every collapse drops; a refresh adds buttons and folders and drops the
// vanished ones.
TEST_F(TreeLazyLoadingTest, StartsWithPlaceholdersAndRereadsOnEveryExpansionAndRefresh)
{
    device.make({"\\apple\\", "\\Zoo\\cage\\", "\\notes.txt"});
    start(true);
    QTreeWidgetItem *root = tree().DeviceRoot();
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    EXPECT_EQ(tree().topLevelItem(0), root);
    EXPECT_EQ(tree().topLevelItem(1), tree().NetworkRoot());
    EXPECT_EQ(tree().NetworkRoot()->text(0), "My Network Places");
    EXPECT_EQ(CDirTreeView::GetItemImage(root), CDirTreeView::Handheld);
    EXPECT_EQ(CDirTreeView::GetItemImage(root, true), CDirTreeView::Handheld);
    EXPECT_EQ(CDirTreeView::GetItemImage(tree().NetworkRoot()), CDirTreeView::NetworkEmpty);
    EXPECT_EQ(texts(root), QStringList{Dummy});
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(tree().NetworkRoot()->childCount(), 0) << "nothing mapped: no button";
    // First activation selects the device root, so the list shows "\".
    EXPECT_EQ(tree().currentItem(), root);
    EXPECT_EQ(tree().GetSelectedPath(), "\\");
    EXPECT_EQ(list().GetCurrentFolder(), "");

    const QRect rect = tree().visualItemRect(root);
    const QPoint button(rect.left() - tree().indentation() / 2, rect.center().y());
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, button);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(texts(root), (QStringList{"apple", "My Documents", "Program Files", "Temp", "Windows", "Zoo"}));
    EXPECT_EQ(texts(child(root, "Zoo")), QStringList{Dummy});
    QTreeWidgetItem *temp = child(root, "Temp");
    EXPECT_EQ(temp->childCount(), 0);
    EXPECT_EQ(CDirTreeView::GetItemImage(temp), CDirTreeView::ClosedFolder);
    EXPECT_EQ(CDirTreeView::GetItemImage(temp, true), CDirTreeView::OpenFolder);
    QTreeWidgetItem *windows = child(root, "Windows");
    EXPECT_EQ(texts(windows), QStringList{Dummy});
    windows->setExpanded(true);
    EXPECT_EQ(texts(windows), (QStringList{"Desktop", "Start Menu"}));
    windows->setExpanded(false);
    EXPECT_EQ(texts(windows), QStringList{Dummy});
    device.make({"\\Windows\\Later\\"});
    windows->setExpanded(true);
    EXPECT_EQ(texts(windows), (QStringList{"Desktop", "Later", "Start Menu"}));
    EXPECT_EQ(texts(child(windows, "Start Menu")), QStringList{Dummy});

    device.make({"\\Temp\\New\\", "\\Fresh\\"});
    ASSERT_TRUE(QDir(device.host("\\apple")).removeRecursively());
    EXPECT_EQ(temp->childCount(), 0) << "nothing is read before the next check";
    tree().Refresh();
    EXPECT_EQ(child(root, "Temp"), temp);
    EXPECT_EQ(texts(temp), QStringList{Dummy});
    EXPECT_FALSE(temp->isExpanded());
    EXPECT_EQ(texts(root), (QStringList{"Fresh", "My Documents", "Program Files", "Temp", "Windows", "Zoo"}));
    // The branch loses its button once the subfolder is gone again.
    ASSERT_TRUE(QDir(device.host("\\Temp\\New")).removeRecursively());
    tree().Refresh();
    EXPECT_EQ(temp->childCount(), 0);
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, button);
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(texts(root), QStringList{Dummy});

    // A tree without a list copes.
    CDirTreeView bare;
    bare.OnInitialUpdate();
    bare.OnFirstActivate();
    bare.DeviceRoot()->setExpanded(true);
    bare.setCurrentItem(bare.NetworkRoot());
    bare.Refresh();
    EXPECT_EQ(bare.SelectPath("\\Windows\\"), child(bare.DeviceRoot(), "Windows"));
}

} // namespace
