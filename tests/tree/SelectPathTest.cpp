// Finding folders by path and the paths of items.
#include "Panes.h"
#include "Settings.h"

namespace {

using TreeSelectPathTest = Panes;

// FindItemByPath looks only at loaded items; SelectPath matches names by case
// and leaves network paths alone.
TEST_F(TreeSelectPathTest, ExpandsEachLevelSelectsTheFolderAndKeepsWhatIsLoaded)
{
    device.make({"\\\\srv\\share\\Docs\\"});
    mapNetPaths({"\\\\srv\\share"});
    start();
    EXPECT_EQ(tree().FindItemByPath("\\Windows"), nullptr) << "not loaded yet";
    tree().DeviceRoot()->setExpanded(true);
    QTreeWidgetItem *temp = child(tree().DeviceRoot(), "Temp");
    QTreeWidgetItem *windows = child(tree().DeviceRoot(), "Windows");
    device.make({"\\Temp\\New\\"});

    QTreeWidgetItem *startMenu = tree().SelectPath("\\Windows\\Start Menu\\");
    ASSERT_NE(startMenu, nullptr);
    EXPECT_EQ(tree().currentItem(), startMenu);
    EXPECT_TRUE(tree().DeviceRoot()->isExpanded());
    EXPECT_TRUE(windows->isExpanded());
    EXPECT_FALSE(startMenu->isExpanded());
    EXPECT_EQ(texts(startMenu), QStringList{CDirTreeView::DummyItemText});
    EXPECT_EQ(list().GetCurrentFolder(), "\\Windows\\Start Menu");
    // The tree's own expansions load only the levels walked; an expansion by
    // the user would also have re-checked Temp and given it a button.
    EXPECT_EQ(temp->childCount(), 0);
    EXPECT_EQ(tree().FindItemByPath(""), tree().DeviceRoot());
    EXPECT_EQ(tree().FindItemByPath("\\"), tree().DeviceRoot());
    EXPECT_EQ(tree().FindItemByPath("\\Windows\\Start Menu"), startMenu);
    EXPECT_EQ(tree().FindItemByPath("\\Windows\\Start Menu\\"), nullptr) << "empty last component";
    EXPECT_EQ(tree().FindItemByPath("\\Windows\\Start Menu\\Programs"), nullptr);
    EXPECT_EQ(tree().FindItemByPath("\\WINDOWS"), nullptr);

    QTreeWidgetItem *programs = tree().SelectPath("\\Windows\\Start Menu\\Programs");
    EXPECT_NE(programs, nullptr);
    EXPECT_EQ(programs, child(startMenu, "Programs"));
    EXPECT_EQ(tree().SelectPath("\\"), tree().DeviceRoot());
    for (const char *path : {"\\windows\\", "\\Windows\\start menu", "\\Nowhere\\", "\\\\srv\\share"}) {
        EXPECT_EQ(tree().SelectPath(path), nullptr) << path;
        EXPECT_EQ(tree().currentItem(), tree().DeviceRoot()) << path;
    }

    tree().NetworkRoot()->setExpanded(true);
    QTreeWidgetItem *share = child(tree().NetworkRoot(), "\\\\srv\\share");
    ASSERT_NE(share, nullptr);
    share->setExpanded(true);
    QTreeWidgetItem *docs = child(share, "Docs");
    ASSERT_NE(docs, nullptr);
    const std::pair<QTreeWidgetItem *, const char *> paths[] = {
        {nullptr, "\\"},         {tree().DeviceRoot(), "\\"},          {tree().NetworkRoot(), "\\"},
        {startMenu, "\\Windows\\Start Menu\\"}, {share, "\\\\srv\\share\\"}, {docs, "\\\\srv\\share\\Docs\\"},
    };
    for (const auto &[item, path] : paths)
        EXPECT_EQ(tree().GetItemPath(item), path);
}

} // namespace
