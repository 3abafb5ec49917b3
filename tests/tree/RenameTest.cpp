// Renaming folders in place.
#include "Panes.h"

#include <QTemporaryDir>

namespace {

using TreeRenameTest = Panes;

TEST_F(TreeRenameTest, RefusedForRootRecycledAndStorageCardsElseMovesTheFolderResortsAndShowsIt)
{
    QTemporaryDir card;
    ASSERT_TRUE(QFile::link(card.path(), device.host("\\Storage Card")));
    device.make({"\\Recycled\\", "\\Fruit\\Apple\\", "\\Fruit\\Mango\\", "\\Fruit\\zebra\\stripes\\"});
    start(true);
    QTreeWidgetItem *root = tree().DeviceRoot();
    root->setExpanded(true);
    for (QTreeWidgetItem *item : {root, tree().NetworkRoot(), child(root, "Recycled"), child(root, "Storage Card")}) {
        ASSERT_NE(item, nullptr);
        tree().editItem(item);
        EXPECT_EQ(inPlaceEditor(tree()), nullptr) << item->text(0).toStdString();
    }

    QTreeWidgetItem *zebra = tree().SelectPath("\\Fruit\\zebra");
    tree().editItem(zebra);
    finishEdit(tree(), Qt::Key_Return, "Banana");
    EXPECT_TRUE(exists("\\Fruit\\Banana\\stripes"));
    EXPECT_FALSE(exists("\\Fruit\\zebra"));
    EXPECT_EQ(texts(zebra->parent()), (QStringList{"Apple", "Banana", "Mango"}));
    EXPECT_EQ(tree().currentItem(), zebra);
    EXPECT_EQ(list().GetCurrentFolder(), "\\Fruit\\Banana");
    EXPECT_EQ(tree().GetSelectedPath(), "\\Fruit\\Banana\\");
    // An existing name fails with a message.
    QTreeWidgetItem *mango = tree().SelectPath("\\Fruit\\Mango");
    sink.expect("Failed to rename", App, Exclamation, IDOK);
    tree().editItem(mango);
    finishEdit(tree(), Qt::Key_Return, "Apple");
    EXPECT_EQ(sink.lastOwner(), &tree());
    EXPECT_EQ(mango->text(0), "Mango");
    EXPECT_TRUE(exists("\\Fruit\\Mango"));
    EXPECT_EQ(texts(mango->parent()), (QStringList{"Apple", "Banana", "Mango"}));
    tree().editItem(mango);
    finishEdit(tree(), Qt::Key_Escape);
}

} // namespace
