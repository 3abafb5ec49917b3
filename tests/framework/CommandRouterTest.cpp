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
    QList<UINT> runs;
    bool allowed = false;
    router.onCommand(ID_FILE_DELETE, [&] { runs.append(ID_FILE_DELETE); });
    router.onCommand(ID_VIEW_REFRESH, [&] { runs.append(ID_VIEW_REFRESH); });
    router.onUpdate(ID_FILE_DELETE, [&](CCmdUI &ui) { ui.Enable(allowed); });
    router.onCommandRange(ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, [&](UINT id) { runs.append(id); });
    router.onCommand(ID_BOOKMARK_FIRST + 5, [&] { runs.append(0); });

    EXPECT_FALSE(router.isEnabled(ID_EDIT_CUT)) << "no handler: disabled";
    EXPECT_FALSE(router.execute(ID_EDIT_CUT));
    EXPECT_TRUE(router.isEnabled(ID_VIEW_REFRESH)) << "handler without rule: enabled";
    EXPECT_FALSE(router.execute(ID_FILE_DELETE)) << "the rule disables it";
    allowed = true;
    for (UINT id : {ID_FILE_DELETE, ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, ID_BOOKMARK_FIRST + 5})
        EXPECT_TRUE(router.execute(id)) << id;
    EXPECT_FALSE(router.execute(ID_BOOKMARK_LAST + 1)) << "beyond the range nothing is routed";
    // The range handler gets the id; a single handler inside the range wins.
    EXPECT_EQ(runs, (QList<UINT>{ID_FILE_DELETE, 3000, 3100, 0}));
}

TEST_F(CommandRouterTest, UpdatesReachMenuEntriesAndToolBarActions)
{
    bool allowed = true, checked = true;
    router.onCommand(ID_EDIT_PASTE, [] {});
    router.onUpdate(ID_EDIT_PASTE, [&](CCmdUI &ui) { ui.Enable(allowed); });
    router.onCommand(ID_VIEW_SHOWHEADER, [] {});
    router.onUpdate(ID_VIEW_SHOWHEADER, [&](CCmdUI &ui) { ui.SetCheck(checked); });
    router.onCommand(ID_VIEW_REFRESH, [] {});
    QMenu menu;
    QAction *paste = router.addMenuItem(&menu, ID_EDIT_PASTE, "&Paste");
    QAction *header = router.addMenuItem(&menu, ID_VIEW_SHOWHEADER, "Show header");
    // A check set directly on an entry without a rule survives updates.
    QAction *direct = router.addMenuItem(&menu, ID_VIEW_REFRESH, "Refresh");
    direct->setCheckable(true);
    direct->setChecked(true);
    QAction *own = router.action(ID_EDIT_PASTE);
    QAction *orphan = router.action(ID_TOOLS_FIND);

    EXPECT_TRUE(router.isChecked(ID_VIEW_SHOWHEADER));
    EXPECT_TRUE(header->isChecked());
    allowed = checked = false;
    router.updateMenu(&menu);
    EXPECT_FALSE(header->isChecked());
    EXPECT_FALSE(paste->isEnabled());
    router.updateCommands();
    EXPECT_FALSE(own->isEnabled());
    EXPECT_FALSE(orphan->isEnabled());
    EXPECT_TRUE(router.isChecked(ID_VIEW_REFRESH));
    allowed = true;
    router.updateCommands();
    EXPECT_TRUE(own->isEnabled());
    EXPECT_TRUE(paste->isEnabled());
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

TEST_F(CommandRouterTest, AcceleratorKeysExecuteTheirCommandOnlyWhenEnabled)
{
    router.loadAccelerators(IDR_MAINFRAME);
    const std::pair<const char *, UINT> bindings[] = {
        {"Ctrl+X", ID_EDIT_CUT},   {"Shift+Del", ID_EDIT_CUT},   {"Ctrl+C", ID_EDIT_COPY}, {"Ctrl+Ins", ID_EDIT_COPY},
        {"Ctrl+V", ID_EDIT_PASTE}, {"Shift+Ins", ID_EDIT_PASTE}, {"Ctrl+O", ID_FILE_OPEN},
    };
    for (const auto &[key, id] : bindings)
        EXPECT_TRUE(router.shortcuts(id).contains(QKeySequence(key))) << key;

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
