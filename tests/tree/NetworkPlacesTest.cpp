// The "My Network Places" branch and the mapped network paths.
#include "TreeFixture.h"

namespace {

const QString Share = QStringLiteral("\\\\srv\\share");
const QString Gone = QStringLiteral("\\\\srv\\gone");

class TreeNetworkPlacesTest : public TreeFixture
{
protected:
    void SetUp() override
    {
        makeShare("srv/share/Docs");
        mapNetPaths({Share, Gone});
        start();
    }
};

} // namespace

TEST_F(TreeNetworkPlacesTest, MappedPathsLoadWhenExpanded)
{
    QTreeWidgetItem *places = m_tree.NetworkRoot();
    EXPECT_EQ(texts(places), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(CDirTreeView::GetItemImage(places), CDirTreeView::NetworkEmpty);

    places->setExpanded(true);

    EXPECT_EQ(texts(places), (QStringList{Gone, Share}));
    EXPECT_EQ(CDirTreeView::GetItemImage(places), CDirTreeView::NetworkMapped);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(places, Share)), CDirTreeView::NetworkDrive);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(places, Gone)), CDirTreeView::NetworkDriveUnreachable);
    EXPECT_EQ(texts(child(places, Share)), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(child(places, Gone)->childCount(), 0);
    EXPECT_EQ(m_tree.currentItem(), m_tree.DeviceRoot()) << "loading selects nothing";

    // Checks never drop a mapped path, even one that cannot be reached.
    m_tree.Refresh();
    EXPECT_EQ(texts(places), (QStringList{Gone, Share}));
}

TEST_F(TreeNetworkPlacesTest, EmptyShareIsReachable)
{
    makeShare("srv/empty");
    mapNetPaths({Share, Gone, "\\\\srv\\empty"});
    m_tree.NetworkRoot()->setExpanded(true);
    EXPECT_EQ(CDirTreeView::GetItemImage(child(m_tree.NetworkRoot(), "\\\\srv\\empty")), CDirTreeView::NetworkDrive);
}

TEST_F(TreeNetworkPlacesTest, PathMappedWhileLoadedIsAddedAndSelected)
{
    m_tree.NetworkRoot()->setExpanded(true);
    makeShare("pc/music");
    mapNetPaths({Share, Gone, "\\\\pc\\music"});

    m_tree.RefreshNetworkPlaces(nullptr, QString());

    QTreeWidgetItem *music = child(m_tree.NetworkRoot(), "\\\\pc\\music");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(m_tree.NetworkRoot()->indexOfChild(music), 0) << "sorted insertion";
    EXPECT_EQ(m_tree.currentItem(), music);
    EXPECT_TRUE(m_tree.IsNetworkPathSelected());
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\\\pc\\music");
}

TEST_F(TreeNetworkPlacesTest, ExpandingAPathListsItsFolders)
{
    m_tree.NetworkRoot()->setExpanded(true);
    QTreeWidgetItem *share = child(m_tree.NetworkRoot(), Share);
    share->setExpanded(true);
    EXPECT_EQ(texts(share), QStringList{"Docs"});
    share->setExpanded(false);
    EXPECT_EQ(texts(share), QStringList{CDirTreeView::DummyItemText});
}

TEST_F(TreeNetworkPlacesTest, SelectingTheBranchEmptiesTheList)
{
    m_device.make({"\\My Documents\\a.txt", "\\My Documents\\b.txt"});
    ASSERT_NE(m_tree.SelectPath("\\My Documents"), nullptr);
    ASSERT_EQ(m_list.GetItemCount(), 2);
    EXPECT_FALSE(m_tree.IsNetworkPathSelected());

    m_tree.setCurrentItem(m_tree.NetworkRoot());

    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_FALSE(m_tree.IsNetworkPathSelected());
}
