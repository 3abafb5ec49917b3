// New Folder: the generated name, the tree brought up to date with the new
// folder selected and in the in-place editor, and the failure message.
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "fileops/NewFolder.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class NewFolderTest : public WithQtApp, public ::testing::Test
{
protected:
    NewFolderTest()
    {
        m_tree.SetListView(&m_list);
        m_tree.resize(300, 400);
        m_tree.show();
    }

    void start(const QString &folder)
    {
        m_tree.OnInitialUpdate();
        m_tree.OnFirstActivate();
        ASSERT_NE(m_tree.SelectPath(folder), nullptr);
    }

    QLineEdit *editor() const
    {
        QLineEdit *line = m_tree.viewport()->findChild<QLineEdit *>();
        return line && line->isVisible() ? line : nullptr;
    }

    // Ends the open in-place edit with key; the editor goes away asynchronously.
    void finishEdit(Qt::Key key, const QString &text = QString())
    {
        QLineEdit *line = editor();
        ASSERT_NE(line, nullptr);
        if (!text.isNull())
            line->setText(text);
        QTest::keyClick(line, key);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !editor(); }));
    }

    TempDevice m_device;
    ScriptedSink m_sink;
    CFileListViewEx m_list;
    CDirTreeView m_tree;
};

} // namespace

TEST_F(NewFolderTest, TakesTheFirstFreeName)
{
    const struct {
        std::initializer_list<QString> present;
        const char *expected;
    } cases[] = {
        {{}, "New Folder"},
        {{"New Folder\\"}, "New Folder 1"},
        {{"New Folder\\", "New Folder 1\\"}, "New Folder 2"},
        {{"New Folder 1\\"}, "New Folder"},
        {{"new folder", "New Folder 1\\"}, "New Folder 2"}, // a file takes the name too, in any case
    };
    int folder = 0;
    for (const auto &c : cases) {
        const QString dir = QStringLiteral("\\Case%1\\").arg(++folder);
        m_device.make({dir});
        for (const QString &name : c.present)
            m_device.make({dir + name});
        EXPECT_EQ(NewFolder::FreeName(dir), c.expected) << folder;
    }
}

TEST_F(NewFolderTest, CreatesSelectsAndRenamesInPlace)
{
    m_device.make({"\\Docs\\New Folder\\", "\\Docs\\New Folder 1\\"});
    start("\\Docs");
    QTreeWidgetItem *docs = m_tree.currentItem();

    EXPECT_TRUE(NewFolder::Create(m_tree));

    EXPECT_TRUE(QFileInfo(m_device.host("\\Docs\\New Folder 2")).isDir());
    QTreeWidgetItem *created = m_tree.FindItemByPath("\\Docs\\New Folder 2");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->parent(), docs);
    EXPECT_EQ(m_tree.currentItem(), created);
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\Docs\\New Folder 2");

    finishEdit(Qt::Key_Return, "Letters");

    EXPECT_TRUE(QFileInfo(m_device.host("\\Docs\\Letters")).isDir());
    EXPECT_FALSE(m_device.exists("\\Docs\\New Folder 2"));
    EXPECT_EQ(created->text(0), "Letters");
}

TEST_F(NewFolderTest, CancelledEditKeepsTheGeneratedName)
{
    m_device.make({"\\Docs\\"});
    start("\\Docs");

    EXPECT_TRUE(NewFolder::Create(m_tree));
    finishEdit(Qt::Key_Escape);

    EXPECT_TRUE(QFileInfo(m_device.host("\\Docs\\New Folder")).isDir());
    QTreeWidgetItem *created = m_tree.FindItemByPath("\\Docs\\New Folder");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->text(0), "New Folder");
}

TEST_F(NewFolderTest, FindsTheFolderInABranchNeverOpened)
{
    // Docs shows only its placeholder until it is expanded.
    m_device.make({"\\Docs\\Old\\"});
    start("\\Docs");
    QTreeWidgetItem *docs = m_tree.currentItem();
    ASSERT_FALSE(docs->isExpanded());
    ASSERT_EQ(m_tree.FindItemByPath("\\Docs\\Old"), nullptr);

    EXPECT_TRUE(NewFolder::Create(m_tree));

    QTreeWidgetItem *created = m_tree.FindItemByPath("\\Docs\\New Folder");
    ASSERT_NE(created, nullptr);
    EXPECT_NE(m_tree.FindItemByPath("\\Docs\\Old"), nullptr);
    EXPECT_EQ(m_tree.currentItem(), created);
    EXPECT_NE(editor(), nullptr);
}

TEST_F(NewFolderTest, ReadOnlyCardReportsTheFailure)
{
    // A card whose file system refuses new folders even to root.
    const QString readOnly = QStringLiteral("/sys/dev");
    if (!QFileInfo(readOnly).isDir())
        GTEST_SKIP() << "no sysfs here";
    ASSERT_TRUE(QFile::link(readOnly, m_device.host("\\Storage Card")));
    start("\\Storage Card");
    QTreeWidgetItem *card = m_tree.currentItem();
    m_sink.expect("Failed to create folder", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);

    EXPECT_FALSE(NewFolder::Create(m_tree));

    EXPECT_EQ(m_sink.pending(), 0);
    EXPECT_EQ(m_sink.lastOwner(), m_tree.window());
    EXPECT_FALSE(QFileInfo::exists(readOnly + "/New Folder"));
    EXPECT_EQ(m_tree.currentItem(), card);
    EXPECT_EQ(editor(), nullptr);
}
