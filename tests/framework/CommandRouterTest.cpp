#include "framework/CommandRouter.h"
#include "framework/MenuBuilder.h"
#include "res/ResourceIds.h"

#include "QtApp.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CommandRouterTest : public WithQtApp, public ::testing::Test
{
protected:
    QMainWindow window;
    CommandRouter router{&window};
};

TEST_F(CommandRouterTest, EnablementFollowsHandlersAndUpdateRules)
{
    int runs = 0;
    bool allowed = false;
    router.onCommand(ID_FILE_DELETE, [&] { ++runs; });
    router.onCommand(ID_VIEW_REFRESH, [&] { ++runs; });
    router.onUpdate(ID_FILE_DELETE, [&](CCmdUI &ui) { ui.Enable(allowed); });

    EXPECT_FALSE(router.isEnabled(ID_EDIT_CUT)) << "no handler: disabled";
    EXPECT_FALSE(router.execute(ID_EDIT_CUT));
    EXPECT_TRUE(router.isEnabled(ID_VIEW_REFRESH)) << "handler without rule: enabled";

    EXPECT_FALSE(router.execute(ID_FILE_DELETE));
    EXPECT_EQ(runs, 0);
    allowed = true;
    EXPECT_TRUE(router.execute(ID_FILE_DELETE));
    EXPECT_EQ(runs, 1);
}

TEST_F(CommandRouterTest, RangeHandlerGetsTheIdAndSingleHandlerWins)
{
    QList<UINT> seen;
    router.onCommandRange(ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, [&](UINT id) { seen.append(id); });
    router.onCommand(ID_BOOKMARK_FIRST + 5, [&] { seen.append(0); });

    EXPECT_TRUE(router.execute(ID_BOOKMARK_FIRST));
    EXPECT_TRUE(router.execute(ID_BOOKMARK_LAST));
    EXPECT_TRUE(router.execute(ID_BOOKMARK_FIRST + 5));
    EXPECT_FALSE(router.execute(ID_BOOKMARK_LAST + 1)) << "beyond the range nothing is routed";
    EXPECT_EQ(seen, (QList<UINT>{3000, 3100, 0}));
}

TEST_F(CommandRouterTest, UpdateRuleChecksAndEntriesFollow)
{
    bool checked = true;
    router.onCommand(ID_VIEW_SHOWHEADER, [] {});
    router.onUpdate(ID_VIEW_SHOWHEADER, [&](CCmdUI &ui) { ui.SetCheck(checked); });
    QMenu menu;
    QAction *entry = router.addMenuItem(&menu, ID_VIEW_SHOWHEADER, "Show header");

    EXPECT_TRUE(router.isChecked(ID_VIEW_SHOWHEADER));
    EXPECT_TRUE(entry->isChecked());
    checked = false;
    router.updateMenu(&menu);
    EXPECT_FALSE(entry->isChecked());
}

TEST_F(CommandRouterTest, CheckSetDirectlyOnAnEntrySurvivesUpdates)
{
    router.onCommand(ID_VIEW_SHOWHEADER, [] {});
    QMenu menu;
    QAction *entry = router.addMenuItem(&menu, ID_VIEW_SHOWHEADER, "Show header");
    entry->setCheckable(true);
    entry->setChecked(true);
    router.updateCommands();
    EXPECT_TRUE(router.isChecked(ID_VIEW_SHOWHEADER));
}

TEST_F(CommandRouterTest, UpdateCommandsAppliesToToolBarActionsAndMenuEntries)
{
    bool allowed = true;
    router.onCommand(ID_EDIT_PASTE, [] {});
    router.onUpdate(ID_EDIT_PASTE, [&](CCmdUI &ui) { ui.Enable(allowed); });
    QMenu menu;
    QAction *entry = router.addMenuItem(&menu, ID_EDIT_PASTE, "&Paste");
    QAction *own = router.action(ID_EDIT_PASTE);
    QAction *orphan = router.action(ID_TOOLS_FIND);

    allowed = false;
    router.updateCommands();
    EXPECT_FALSE(own->isEnabled());
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_FALSE(orphan->isEnabled());
    allowed = true;
    router.updateCommands();
    EXPECT_TRUE(own->isEnabled());
    EXPECT_TRUE(entry->isEnabled());
}

TEST_F(CommandRouterTest, PromptAndTipReachEveryEntry)
{
    QMenu menu;
    QAction *entry = router.addMenuItem(&menu, ID_FILE_DELETE, "&Delete");
    for (QAction *a : {entry, router.action(ID_FILE_DELETE)}) {
        EXPECT_EQ(a->statusTip(), "Delete a file or folder");
        EXPECT_EQ(a->toolTip(), "Delete");
    }
    EXPECT_EQ(entry->text(), "&Delete");
    EXPECT_EQ(router.action(ID_TOGGLE_TOOLBAR)->toolTip(), "Toggle toolbar");
    EXPECT_FALSE(router.action(ID_TOGGLE_TOOLBAR)->icon().isNull());
}

TEST_F(CommandRouterTest, PopupRulesRunBeforeShowAndMayRebuildTheMenu)
{
    // The Bookmark pop-up's rule deletes the old entries and appends fresh ones.
    QMenu menu;
    router.onCommand(ID_BOOKMARK_ADD, [] {});
    router.onCommandRange(ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, [](UINT) {});
    router.addMenuItem(&menu, ID_BOOKMARK_ADD, "Add");
    router.addMenuItem(&menu, ID_BOOKMARK_FIRST, "old");
    int ruleRuns = 0;
    router.onUpdate(ID_BOOKMARK_ADD, [&](CCmdUI &ui) {
        ++ruleRuns;
        EXPECT_EQ(ui.menu(), &menu);
        while (menu.actions().size() > 1)
            delete menu.actions().last();
        router.addMenuItem(&menu, ID_BOOKMARK_FIRST, "A");
        router.addMenuItem(&menu, ID_BOOKMARK_LAST + 1, "beyond");
        ui.Enable(false);
    });
    router.updateMenu(&menu);

    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(ruleRuns, 1);
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
    EXPECT_EQ(menu.actions()[1]->text(), "A");
    EXPECT_TRUE(menu.actions()[1]->isEnabled());
    EXPECT_FALSE(menu.actions()[2]->isEnabled()) << "an unrouted entry shows disabled";
    EXPECT_EQ(router.entries(ID_BOOKMARK_FIRST).size(), 1) << "deleted entries are forgotten";
}

struct AccelCase {
    QKeySequence key;
    UINT id;
};

TEST_F(CommandRouterTest, AcceleratorTableBindsEachKeyToItsCommand)
{
    router.loadAccelerators(IDR_MAINFRAME);
    const AccelCase cases[] = {
        {QKeySequence("Ctrl+X"), ID_EDIT_CUT},    {QKeySequence("Shift+Del"), ID_EDIT_CUT},
        {QKeySequence("Ctrl+C"), ID_EDIT_COPY},   {QKeySequence("Ctrl+Ins"), ID_EDIT_COPY},
        {QKeySequence("Ctrl+V"), ID_EDIT_PASTE},  {QKeySequence("Shift+Ins"), ID_EDIT_PASTE},
        {QKeySequence("Ctrl+O"), ID_FILE_OPEN},
    };
    for (const AccelCase &c : cases)
        EXPECT_TRUE(router.shortcuts(c.id).contains(c.key)) << c.key.toString().toStdString();
}

TEST_F(CommandRouterTest, AcceleratorKeyExecutesOnlyWhenEnabled)
{
    router.loadAccelerators(IDR_MAINFRAME);
    bool allowed = false;
    int cuts = 0;
    router.onCommand(ID_EDIT_CUT, [&] { ++cuts; });
    router.onUpdate(ID_EDIT_CUT, [&](CCmdUI &ui) { ui.Enable(allowed); });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(cuts, 0);
    allowed = true;
    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(cuts, 2);
}

} // namespace
