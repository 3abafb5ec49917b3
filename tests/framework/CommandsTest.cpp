// Commands: routing, enablement and accelerators; the menus and tool bars
// built from the resources; the command prompts.
#include "framework/CommandRouter.h"
#include "framework/MenuBuilder.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include "QtApp.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct CommandRouterTest : WithQtApp, ::testing::Test {
    QMainWindow window;
    CommandRouter router{&window};
};
using MenusTest = CommandRouterTest;

// A pop-up written out as its title, then "text=id" entries, "-" for a separator.
using Layout = QStringList;

Layout layoutOf(const QString &title, const QMenu &menu)
{
    Layout entries{title};
    for (const QAction *a : menu.actions())
        entries.append(a->isSeparator() ? "-" : a->text() + '=' + QString::number(a->property("commandId").toUInt()));
    return entries;
}

// Accelerator keys, too, run their command only while it is enabled.
TEST_F(CommandRouterTest, EnablementFollowsHandlersAndUpdateRules)
{
    router.loadAccelerators(IDR_MAINFRAME);
    const std::pair<const char *, UINT> bindings[] = {
        {"Ctrl+X", ID_EDIT_CUT},   {"Shift+Del", ID_EDIT_CUT},   {"Ctrl+C", ID_EDIT_COPY}, {"Ctrl+Ins", ID_EDIT_COPY},
        {"Ctrl+V", ID_EDIT_PASTE}, {"Shift+Ins", ID_EDIT_PASTE}, {"Ctrl+O", ID_FILE_OPEN},
    };
    for (const auto &[key, id] : bindings)
        EXPECT_TRUE(router.shortcuts(id).contains(QKeySequence(key))) << key;

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
    router.onCommand(ID_EDIT_CUT, [&] { runs.append(ID_EDIT_CUT); });
    router.onUpdate(ID_EDIT_CUT, [&](CCmdUI &ui) { ui.Enable(allowed); });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    allowed = true;
    for (UINT id : {ID_FILE_DELETE, ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, ID_BOOKMARK_FIRST + 5})
        EXPECT_TRUE(router.execute(id)) << id;
    EXPECT_FALSE(router.execute(ID_BOOKMARK_LAST + 1)) << "beyond the range nothing is routed";
    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Delete, Qt::ShiftModifier);
    // The range handler gets the id; a single handler inside the range wins.
    EXPECT_EQ(runs, (QList<UINT>{ID_FILE_DELETE, 3000, 3100, 0, ID_EDIT_CUT, ID_EDIT_CUT}));
}

TEST_F(CommandRouterTest, UpdatesReachEveryEntryAndATrackedPopupRunsOnlyAnEnabledChoice)
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
    std::unique_ptr<QMenuBar> bar(MenuBuilder::buildMenuBar(IDR_MENUBAR, router));
    QAction *barPaste = MenuBuilder::findCommand(bar.get(), ID_EDIT_PASTE);
    ASSERT_TRUE(barPaste);
    QMenu *edit = bar->actions()[1]->menu();

    EXPECT_TRUE(router.isChecked(ID_VIEW_SHOWHEADER));
    EXPECT_TRUE(header->isChecked());
    allowed = checked = false;
    router.updateMenu(&menu);
    EXPECT_FALSE(header->isChecked());
    EXPECT_FALSE(paste->isEnabled());
    // A pop-up of the menu bar runs the rules as it opens.
    emit edit->aboutToShow();
    EXPECT_FALSE(barPaste->isEnabled());
    EXPECT_FALSE(MenuBuilder::findCommand(bar.get(), ID_EDIT_COPY)->isEnabled()) << "no handler";
    router.updateCommands();
    EXPECT_FALSE(own->isEnabled());
    EXPECT_FALSE(orphan->isEnabled());
    EXPECT_TRUE(router.isChecked(ID_VIEW_REFRESH));
    allowed = true;
    emit edit->aboutToShow();
    EXPECT_TRUE(barPaste->isEnabled());
    router.updateCommands();
    EXPECT_TRUE(own->isEnabled());
    EXPECT_TRUE(paste->isEnabled());
    // A tracked pop-up runs the chosen entry through the owner, when enabled.
    QList<UINT> ran;
    router.onCommand(ID_TOOLS_CONNECTDRIVE, [&] { ran.append(ID_TOOLS_CONNECTDRIVE); });
    router.onCommand(ID_TOOLS_DISCONNECTDRIVE, [&] { ran.append(ID_TOOLS_DISCONNECTDRIVE); });
    router.onUpdate(ID_TOOLS_DISCONNECTDRIVE, [](CCmdUI &ui) { ui.Enable(false); });
    QList<std::pair<QString, QPoint>> shown;
    MenuBuilder::setTrackHook([&](QMenu &popup, const QPoint &at) {
        shown.append({popup.title() + (popup.actions().value(0)->isEnabled() ? "" : " disabled"), at});
        return popup.actions().value(0);
    });
    EXPECT_EQ(MenuBuilder::trackPopup(IDR_CONTEXTMENU, CONTEXT_NETWORK, {40, 50}, router), ID_TOOLS_CONNECTDRIVE);
    EXPECT_EQ(MenuBuilder::trackPopup(IDR_CONTEXTMENU, CONTEXT_NETWORKFOLDER, {}, router), 0u) << "disabled";
    MenuBuilder::setTrackHook({});
    EXPECT_EQ(shown, (QList<std::pair<QString, QPoint>>{{"Network", {40, 50}}, {"NetworkFolder disabled", {}}}));
    EXPECT_EQ(ran, QList<UINT>{ID_TOOLS_CONNECTDRIVE});
}

TEST_F(MenusTest, MenusAndToolBarsHoldEveryCommandInOrderWithExactPromptsAndStrings)
{
    const Layout bar[] = {
        {"File", "New &Folder=32773", "Create shortcut=32831", "Edit &Shortcut=32807", "-", "&Rename=32856",
         "&Delete=32772", "&Properties=32774", "-", "Disclaimer=32863", "&About=57664", "-", "E&xit=57665"},
        {"Edit", "Cu&t=57635", "&Copy=57634", "&Paste=57637", "Paste &Shortcut=32778", "Paste in &Menu=32779", "-",
         "&Select All=32810"},
        {"View", "Show header=32825", "&Filter=32808", "-", "&Refresh=32775"},
        {"Tools", "IR &Receive Files(s)=32777", "IR &Send Files(s)=32776", "-", "Connect Network Drive=32780",
         "Disconnect Network Drive=32781", "-", "E&mail File=32804", "&Execute=32792", "&Find=32783",
         "E&xtensions=32819"},
        {"Bookmark", "Add=32827", "Delete=32815", "-"},
    };
    const Layout context[] = {
        {"File", "Open=57601", "Register Ext.=32862", "-", "Cut=57635", "Copy=57634", "-", "&Rename=32856",
         "&Delete=32772", "-", "&Properties=32774"},
        {"FileEmpty", "Refresh=32775", "-", "Paste=57637", "Paste shortcut=32778", "-", "New shortcut=32831",
         "New &Folder=32773"},
        {"Dir", "New &Folder=32773", "&Delete=32772", "&Properties=32774"},
        {"Network", "Connect drive=32780"},
        {"NetworkFolder", "Disconnect drive=32781"},
    };
    std::unique_ptr<QMenuBar> menuBar(MenuBuilder::buildMenuBar(IDR_MENUBAR, router));
    ASSERT_EQ(menuBar->actions().size(), 5);
    for (int i = 0; i < 5; ++i) {
        const QAction *popup = menuBar->actions()[i];
        ASSERT_TRUE(popup->menu());
        EXPECT_EQ(layoutOf(popup->text(), *popup->menu()), bar[i]);
        std::unique_ptr<QMenu> menu(MenuBuilder::buildPopup(IDR_CONTEXTMENU, i, router));
        ASSERT_TRUE(menu);
        EXPECT_EQ(layoutOf(menu->title(), *menu), context[i]);
    }
    EXPECT_EQ(MenuBuilder::buildPopup(IDR_CONTEXTMENU, 5, router), nullptr);

    std::unique_ptr<QToolBar> full(MenuBuilder::buildToolBar(IDR_MAINFRAME, router));
    QStringList buttons;
    for (const QAction *a : full->actions()) {
        buttons.append(a->isSeparator() ? "-" : QString::number(a->property("commandId").toUInt()));
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(buttons, QStringList({"57635", "57634", "57637", "32772", "32773", "32774", "32775", "-", "32784"}));
    EXPECT_EQ(full->iconSize(), QSize(16, 16));
    std::unique_ptr<QToolBar> toggle(MenuBuilder::buildToolBar(IDR_TOGGLEBAR, router));
    EXPECT_EQ(toggle->actions(), QList<QAction *>{router.action(ID_TOGGLE_TOOLBAR)});

    // Each command's prompt is its status tip, and after the line break its
    // tool tip, on menu entries and on the actions tool bars use.
    const std::pair<UINT, const char *> prompts[] = {
        {32772, "Delete a file or folder\nDelete"}, {32773, "Create a new folder\nNew Folder"},
        {32774, "Show the properties\nProperties"}, {32775, "Refresh the views\nRefresh"},
        {32776, "Send file(s) using the HPC compatible infra red\nSend IR"},
        {32777, "Receive file(s) using the HPC compatible infra red\nReceive IR"},
        {32778, "Paste a shortcut\nPaste shortcut"}, {32779, "Paste a shortcut in the start menu\nPaste in Menu"},
        {32780, "Connect over the network\nConnect"}, {32781, "Disconnect from the network\nDisconnect"},
        {32783, "Find Files\nFind"}, {32784, "Toggle between toolbar and menubar\nToggle toolbar"},
        {32856, "Rename the file or folder\nRename"}, {57634, "Copy the selection and put it on the Clipboard\nCopy"},
        {57635, "Cut the selection and put it on the Clipboard\nCut"}, {57637, "Insert Clipboard contents\nPaste"},
    };
    QMenu menu;
    for (const auto &[id, text] : prompts) {
        EXPECT_EQ(LoadString(id), text) << id;
        const QStringList parts = QString(text).split('\n');
        for (QAction *a : {router.addMenuItem(&menu, id, "entry"), router.action(id)}) {
            EXPECT_EQ(a->statusTip(), parts[0]) << id;
            EXPECT_EQ(a->toolTip(), parts[1]) << id;
        }
    }
    EXPECT_FALSE(router.action(ID_TOGGLE_TOOLBAR)->icon().isNull());
    EXPECT_EQ(LoadString(IDR_MAINFRAME), "Quillmoss\n\nQuillmoss\n\n\nQuillmoss.Document\nQuillmoss Document");
    EXPECT_TRUE(LoadString(IDS_WEBADDRESS).startsWith("https://"));
    const QString disclaimer = LoadString(IDS_DISCLAIMER);
    EXPECT_TRUE(disclaimer.contains("Brindlecove"));
    EXPECT_TRUE(disclaimer.contains("without warranty"));
    EXPECT_FALSE(disclaimer.contains(QRegularExpression("[^\r]\n"))) << "line breaks for an edit control are \\r\\n";
    EXPECT_TRUE(LoadString(ID_APP_EXIT).isEmpty());
}

} // namespace
