// The "My Network Places" branch and the mapped network paths.
#include "Panes.h"
#include "Settings.h"

namespace {

const QString Share = "\\\\srv\\share";
const QString Gone = "\\\\srv\\gone";

using TreeNetworkPlacesTest = Panes;

// Selecting the branch empties the list; a path mapped while the branch is
// loaded is added in order and selected.
TEST_F(TreeNetworkPlacesTest, MappedPathsLoadWhenExpandedAndStayANewOneIsAddedAndSelected)
{
    device.make({"\\\\srv\\share\\Docs\\", "\\\\srv\\empty\\", "\\My Documents\\a.txt", "\\My Documents\\b.txt",
                 "\\\\pc\\music\\"});
    mapNetPaths({Share, Gone, "\\\\srv\\empty"});
    start();
    QTreeWidgetItem *places = tree().NetworkRoot();
    EXPECT_EQ(texts(places), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(CDirTreeView::GetItemImage(places), CDirTreeView::NetworkEmpty);
    places->setExpanded(true);
    EXPECT_EQ(texts(places), (QStringList{"\\\\srv\\empty", Gone, Share}));
    EXPECT_EQ(CDirTreeView::GetItemImage(places), CDirTreeView::NetworkMapped);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(places, Share)), CDirTreeView::NetworkDrive);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(places, "\\\\srv\\empty")), CDirTreeView::NetworkDrive);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(places, Gone)), CDirTreeView::NetworkDriveUnreachable);
    EXPECT_EQ(texts(child(places, Share)), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(child(places, Gone)->childCount(), 0);
    EXPECT_EQ(tree().currentItem(), tree().DeviceRoot()) << "loading selects nothing";
    // Checks never drop a mapped path, even one that cannot be reached.
    tree().Refresh();
    EXPECT_EQ(texts(places), (QStringList{"\\\\srv\\empty", Gone, Share}));
    QTreeWidgetItem *share = child(places, Share);
    share->setExpanded(true);
    EXPECT_EQ(texts(share), QStringList{"Docs"});
    share->setExpanded(false);
    EXPECT_EQ(texts(share), QStringList{CDirTreeView::DummyItemText});

    open("\\My Documents");
    ASSERT_EQ(list().GetItemCount(), 2);
    EXPECT_FALSE(tree().IsNetworkPathSelected());
    tree().setCurrentItem(places);
    EXPECT_EQ(list().GetItemCount(), 0);
    EXPECT_FALSE(tree().IsNetworkPathSelected());
    mapNetPaths({Share, Gone, "\\\\srv\\empty", "\\\\pc\\music"});
    tree().RefreshNetworkPlaces(nullptr, QString());
    QTreeWidgetItem *music = child(places, "\\\\pc\\music");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(places->indexOfChild(music), 0) << "sorted insertion";
    EXPECT_EQ(tree().currentItem(), music);
    EXPECT_TRUE(tree().IsNetworkPathSelected());
    EXPECT_EQ(list().GetCurrentFolder(), "\\\\pc\\music");
}

} // namespace
