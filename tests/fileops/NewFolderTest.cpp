// New Folder: the generated name, the tree brought up to date with the new
// folder selected and in the in-place editor, and the failure message.
#include "Panes.h"

#include "fileops/NewFolder.h"

#include <QFileInfo>

namespace {

using NewFolderTest = Panes;

// The first free name is taken. New Folder also works where the branch was
// never read: Docs shows only its placeholder until it is expanded. Return
// renames the new folder, Escape keeps its name.
TEST_F(NewFolderTest, TakesTheFirstFreeNameCreatesSelectsAndRenamesInPlace)
{
    const std::pair<QStringList, const char *> cases[] = { // names present, the free name
        {{}, "New Folder"}, {{"New Folder\\"}, "New Folder 1"}, {{"New Folder\\", "New Folder 1\\"}, "New Folder 2"},
        {{"New Folder 1\\"}, "New Folder"},
        {{"new folder", "New Folder 1\\"}, "New Folder 2"}, // a file takes the name too, in any case
    };
    int folder = 0;
    for (const auto &[present, expected] : cases) {
        const QString dir = QString("\\Case%1\\").arg(++folder);
        device.make({dir});
        for (const QString &name : present)
            device.make({dir + name});
        EXPECT_EQ(NewFolder::FreeName(dir), expected) << folder;
    }

    device.make({"\\Docs\\New Folder\\", "\\Docs\\New Folder 1\\"});
    start(true);
    open("\\Docs");
    QTreeWidgetItem *docs = tree().currentItem();
    ASSERT_FALSE(docs->isExpanded());
    ASSERT_EQ(tree().FindItemByPath("\\Docs\\New Folder"), nullptr);

    EXPECT_TRUE(NewFolder::Create(tree()));
    QTreeWidgetItem *created = tree().FindItemByPath("\\Docs\\New Folder 2");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(isFolder("\\Docs\\New Folder 2"));
    EXPECT_EQ(created->parent(), docs);
    EXPECT_EQ(sorted(texts(docs)), QStringList({"New Folder", "New Folder 1", "New Folder 2"}));
    EXPECT_EQ(tree().currentItem(), created);
    EXPECT_EQ(list().GetCurrentFolder(), "\\Docs\\New Folder 2");
    finishEdit(tree(), Qt::Key_Return, "Letters");
    EXPECT_TRUE(isFolder("\\Docs\\Letters"));
    EXPECT_FALSE(exists("\\Docs\\New Folder 2"));
    EXPECT_EQ(created->text(0), "Letters");

    open("\\Docs");
    EXPECT_TRUE(NewFolder::Create(tree()));
    finishEdit(tree(), Qt::Key_Escape);
    EXPECT_EQ(sorted(texts(docs)), QStringList({"Letters", "New Folder", "New Folder 1", "New Folder 2"}));
    EXPECT_TRUE(isFolder("\\Docs\\New Folder 2"));
}

TEST_F(NewFolderTest, ReadOnlyCardReportsTheFailure)
{
    // A card whose file system refuses new folders even to root.
    const QString readOnly = "/sys/dev";
    if (!QFileInfo(readOnly).isDir())
        GTEST_SKIP() << "no sysfs here";
    ASSERT_TRUE(QFile::link(readOnly, device.host("\\Storage Card")));
    start(true);
    open("\\Storage Card");
    QTreeWidgetItem *card = tree().currentItem();
    sink.expect("Failed to create folder", App, Exclamation, IDOK);
    EXPECT_FALSE(NewFolder::Create(tree()));
    EXPECT_EQ(sink.lastOwner(), frame.get());
    EXPECT_FALSE(QFileInfo::exists(readOnly + "/New Folder"));
    EXPECT_EQ(tree().currentItem(), card);
    EXPECT_EQ(inPlaceEditor(tree()), nullptr);
}

} // namespace
