// Finding folders by path and the paths of items.
#include "TreeFixture.h"

using TreeSelectPathTest = TreeFixture;

TEST_F(TreeSelectPathTest, ExpandsEachLevelAndSelectsTheFolder)
{
    start();
    QTreeWidgetItem *temp = child(openRoot(), "Temp");
    m_device.make({"\\Temp\\New\\"});

    QTreeWidgetItem *startMenu = m_tree.SelectPath("\\Windows\\Start Menu\\");
    ASSERT_NE(startMenu, nullptr);
    EXPECT_EQ(startMenu->text(0), "Start Menu");
    EXPECT_EQ(m_tree.currentItem(), startMenu);
    EXPECT_TRUE(m_tree.DeviceRoot()->isExpanded());
    EXPECT_TRUE(startMenu->parent()->isExpanded());
    EXPECT_FALSE(startMenu->isExpanded());
    EXPECT_EQ(texts(startMenu), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\Windows\\Start Menu");
    // The tree's own expansions load only the levels walked; an expansion by
    // the user would also have re-checked Temp and given it a button.
    EXPECT_EQ(temp->childCount(), 0);

    QTreeWidgetItem *programs = m_tree.SelectPath("\\Windows\\Start Menu\\Programs");
    EXPECT_EQ(programs, child(startMenu, "Programs"));
    EXPECT_NE(programs, nullptr);
}

TEST_F(TreeSelectPathTest, KeepsWhatIsLoaded)
{
    start();
    QTreeWidgetItem *windows = child(openRoot(), "Windows");
    QTreeWidgetItem *startMenu = m_tree.SelectPath("\\Windows\\Start Menu");
    ASSERT_NE(startMenu, nullptr);
    EXPECT_EQ(startMenu->parent(), windows);
    EXPECT_EQ(m_tree.SelectPath("\\"), m_tree.DeviceRoot());
}

TEST_F(TreeSelectPathTest, NamesAreCaseSensitiveAndNetworkPathsUnhandled)
{
    start();
    for (const char *path : {"\\windows\\", "\\Windows\\start menu", "\\Nowhere\\", "\\\\srv\\share"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(m_tree.SelectPath(QString::fromLatin1(path)), nullptr);
        EXPECT_EQ(m_tree.currentItem(), m_tree.DeviceRoot());
    }
}

TEST_F(TreeSelectPathTest, FindItemByPathLooksOnlyAtLoadedItems)
{
    start();
    EXPECT_EQ(m_tree.FindItemByPath("\\Windows"), nullptr) << "not loaded yet";
    QTreeWidgetItem *startMenu = m_tree.SelectPath("\\Windows\\Start Menu");
    ASSERT_NE(startMenu, nullptr);

    EXPECT_EQ(m_tree.FindItemByPath(""), m_tree.DeviceRoot());
    EXPECT_EQ(m_tree.FindItemByPath("\\"), m_tree.DeviceRoot());
    EXPECT_EQ(m_tree.FindItemByPath("\\Windows\\Start Menu"), startMenu);
    EXPECT_EQ(m_tree.FindItemByPath("\\Windows\\Start Menu\\"), nullptr) << "empty last component";
    EXPECT_EQ(m_tree.FindItemByPath("\\Windows\\Start Menu\\Programs"), nullptr);
    EXPECT_EQ(m_tree.FindItemByPath("\\WINDOWS"), nullptr);
}

TEST_F(TreeSelectPathTest, ItemPaths)
{
    makeShare("srv/share/Docs");
    mapNetPaths({"\\\\srv\\share"});
    start();
    QTreeWidgetItem *startMenu = m_tree.SelectPath("\\Windows\\Start Menu");
    m_tree.NetworkRoot()->setExpanded(true);
    QTreeWidgetItem *share = child(m_tree.NetworkRoot(), "\\\\srv\\share");
    ASSERT_NE(share, nullptr);
    share->setExpanded(true);
    QTreeWidgetItem *docs = child(share, "Docs");
    ASSERT_NE(docs, nullptr);

    EXPECT_EQ(m_tree.GetItemPath(nullptr), "\\");
    EXPECT_EQ(m_tree.GetItemPath(m_tree.DeviceRoot()), "\\");
    EXPECT_EQ(m_tree.GetItemPath(m_tree.NetworkRoot()), "\\");
    EXPECT_EQ(m_tree.GetItemPath(startMenu->parent()), "\\Windows\\");
    EXPECT_EQ(m_tree.GetItemPath(startMenu), "\\Windows\\Start Menu\\");
    EXPECT_EQ(m_tree.GetItemPath(share), "\\\\srv\\share\\");
    EXPECT_EQ(m_tree.GetItemPath(docs), "\\\\srv\\share\\Docs\\");
}
