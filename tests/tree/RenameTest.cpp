// Renaming folders in place.
#include "TreeFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

class TreeRenameTest : public TreeFixture
{
protected:
    QLineEdit *editor() { return m_tree.viewport()->findChild<QLineEdit *>(); }

    // Opens the editor on item, types text and confirms with Return.
    void rename(QTreeWidgetItem *item, const QString &text)
    {
        m_tree.editItem(item);
        QLineEdit *line = editor();
        ASSERT_NE(line, nullptr);
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !editor() || !editor()->isVisible(); }));
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(TreeRenameTest, RefusedForRootRecycledAndStorageCards)
{
    QTemporaryDir card;
    ASSERT_TRUE(QFile::link(card.path(), m_device.host("\\Storage Card")));
    m_device.make({"\\Recycled\\", "\\Plain\\"});
    start();
    QTreeWidgetItem *root = openRoot();

    const struct {
        QTreeWidgetItem *item;
        bool allowed;
    } cases[] = {
        {root, false},
        {m_tree.NetworkRoot(), false},
        {child(root, "Recycled"), false},
        {child(root, "Storage Card"), false},
        {child(root, "Plain"), true},
    };
    for (const auto &c : cases) {
        ASSERT_NE(c.item, nullptr);
        SCOPED_TRACE(c.item->text(0).toStdString());
        m_tree.editItem(c.item);
        EXPECT_EQ(editor() != nullptr, c.allowed);
        delete editor();
    }
}

TEST_F(TreeRenameTest, MovesTheFolderResortsAndShowsIt)
{
    m_device.make({"\\Fruit\\Apple\\", "\\Fruit\\Mango\\", "\\Fruit\\zebra\\stripes\\"});
    start();
    QTreeWidgetItem *zebra = m_tree.SelectPath("\\Fruit\\zebra");
    ASSERT_NE(zebra, nullptr);

    rename(zebra, "Banana");

    EXPECT_TRUE(m_device.exists("\\Fruit\\Banana\\stripes"));
    EXPECT_FALSE(m_device.exists("\\Fruit\\zebra"));
    EXPECT_EQ(texts(zebra->parent()), (QStringList{"Apple", "Banana", "Mango"}));
    EXPECT_EQ(m_tree.currentItem(), zebra);
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\Fruit\\Banana");
    EXPECT_EQ(m_tree.GetSelectedPath(), "\\Fruit\\Banana\\");
}

TEST_F(TreeRenameTest, ExistingNameFailsWithAMessage)
{
    m_device.make({"\\Fruit\\Apple\\", "\\Fruit\\Mango\\"});
    start();
    QTreeWidgetItem *mango = m_tree.SelectPath("\\Fruit\\Mango");
    ASSERT_NE(mango, nullptr);
    m_sink.expect("Failed to rename", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);

    rename(mango, "Apple");

    EXPECT_EQ(m_sink.pending(), 0);
    EXPECT_EQ(m_sink.lastOwner(), &m_tree);
    EXPECT_EQ(mango->text(0), "Mango");
    EXPECT_TRUE(m_device.exists("\\Fruit\\Mango"));
    EXPECT_EQ(texts(mango->parent()), (QStringList{"Apple", "Mango"}));
}
