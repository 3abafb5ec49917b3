#include "ShownFrame.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "res/ResourceIds.h"

namespace {

class Enablement : public ShownFrame
{
protected:
    void SetUp() override
    {
        device.make({QStringLiteral("\\My Documents\\a.txt"), QStringLiteral("\\My Documents\\b.txt"),
                     QStringLiteral("\\My Documents\\a.lnk.txt")});
        showFrame();
    }

    std::optional<bool> rule(UINT id) { return CommandRules::enabled(id, frame->currentFacts()); }
};

TEST_F(Enablement, TreeFocusedOnTheRoot)
{
    CDirTreeView *tree = frame->treeView();
    tree->setCurrentItem(tree->DeviceRoot());
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    EXPECT_EQ(frame->currentFacts().folder, QStringLiteral("\\"));
    EXPECT_EQ(rule(ID_EDIT_CUT), false);
    EXPECT_EQ(rule(ID_EDIT_COPY), false);
    EXPECT_EQ(rule(ID_FILE_DELETE), false);
    EXPECT_EQ(rule(ID_FILE_PROPERTIES), true);
    EXPECT_EQ(rule(ID_FILE_NEWFOLDER), true);
    EXPECT_EQ(rule(ID_BOOKMARK_ADD), true);
    EXPECT_EQ(rule(ID_TOOLS_EMAIL), false);
    EXPECT_EQ(rule(ID_FILE_EDITSHORTCUT), false);
    EXPECT_EQ(rule(ID_FILE_OPEN), false);
    EXPECT_EQ(rule(ID_TOOLS_IRSEND), std::nullopt) << "left as it was";

    // A folder below the root may be cut, copied and deleted.
    tree->SelectPath(QStringLiteral("\\Windows\\"));
    tree->setFocus();
    EXPECT_EQ(rule(ID_EDIT_CUT), true);
    EXPECT_EQ(rule(ID_FILE_DELETE), true);
}

TEST_F(Enablement, ListWithTwoSelectedFiles)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    EXPECT_EQ(rule(ID_FILE_PROPERTIES), false);
    EXPECT_EQ(rule(ID_FILE_OPEN), false);
    EXPECT_EQ(rule(ID_FILE_RENAME), false);
    EXPECT_EQ(rule(ID_TOOLS_EMAIL), false);
    EXPECT_EQ(rule(ID_FILE_DELETE), true);
    EXPECT_EQ(rule(ID_EDIT_CUT), true);
    EXPECT_EQ(rule(ID_EDIT_COPY), true);
    EXPECT_EQ(rule(ID_TOOLS_IRSEND), true);
    EXPECT_EQ(rule(ID_FILE_NEWFOLDER), false);
    EXPECT_EQ(rule(ID_EDIT_SELECTALL), true);
}

TEST_F(Enablement, SingleFiles)
{
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("a.lnk.txt")});
    EXPECT_EQ(rule(ID_FILE_EDITSHORTCUT), true) << "the name only has to contain .lnk";
    EXPECT_EQ(rule(ID_FILE_OPEN), true);
    EXPECT_EQ(rule(ID_FILE_RENAME), true);
    EXPECT_EQ(rule(ID_FILE_PROPERTIES), true);
    EXPECT_EQ(rule(ID_TOOLS_EMAIL), true);
    focusList(QStringLiteral("\\My Documents\\"), {QStringLiteral("a.txt")});
    EXPECT_EQ(rule(ID_FILE_EDITSHORTCUT), false);
    focusList(QStringLiteral("\\My Documents\\"), {});
    EXPECT_EQ(rule(ID_FILE_DELETE), false);
    EXPECT_EQ(rule(ID_EDIT_CUT), false);
    EXPECT_EQ(rule(ID_TOOLS_IRSEND), false);
}

TEST_F(Enablement, MappedNetworkPathSelected)
{
    QDir().mkpath(device.device().networkRoot() + QStringLiteral("/srv/share"));
    CRegistryAccess registry;
    registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::Count, 1);
    registry.WriteString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, QStringLiteral("Path0"),
                         QStringLiteral("\\\\srv\\share"));
    CDirTreeView *tree = frame->treeView();
    tree->RefreshNetworkPlaces(nullptr, QString());
    QTreeWidgetItem *places = tree->NetworkRoot();
    places->setExpanded(true);
    QTreeWidgetItem *mapped = nullptr;
    for (int i = 0; i < places->childCount(); ++i) {
        if (places->child(i)->text(0) == QStringLiteral("\\\\srv\\share"))
            mapped = places->child(i);
    }
    ASSERT_NE(mapped, nullptr);

    tree->setCurrentItem(places);
    EXPECT_EQ(rule(ID_TOOLS_DISCONNECTDRIVE), false);
    tree->setCurrentItem(mapped);
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    EXPECT_EQ(rule(ID_TOOLS_DISCONNECTDRIVE), true);
    EXPECT_EQ(rule(ID_FILE_DELETE), false);
}

TEST_F(Enablement, CommandsWithoutAHandlerAreDisabled)
{
    frame->treeView()->SelectPath(QStringLiteral("\\My Documents\\"));
    EXPECT_TRUE(frame->router().isEnabled(ID_EDIT_SELECTALL));
    EXPECT_TRUE(frame->router().isEnabled(ID_VIEW_REFRESH));
    EXPECT_TRUE(frame->router().execute(ID_EDIT_SELECTALL));
    EXPECT_EQ(frame->listView()->GetSelectedCount(), 3);
    EXPECT_TRUE(frame->listView()->hasFocus());
}

} // namespace
