#include "framework/CommandRouter.h"
#include "framework/MenuBuilder.h"
#include "res/ResourceIds.h"

#include "QtApp.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One pop-up written out as "text=id" entries, "-" for a separator.
using Layout = QStringList;

Layout layoutOf(const QMenu &menu)
{
    Layout entries;
    for (const QAction *a : menu.actions()) {
        entries.append(a->isSeparator() ? "-"
                                        : a->text() + '=' + QString::number(a->property("commandId").toUInt()));
    }
    return entries;
}

class MenusTest : public WithQtApp, public ::testing::Test
{
protected:
    QMainWindow window;
    CommandRouter router{&window};
};

TEST_F(MenusTest, MenuBarHasEveryCommandInOrder)
{
    const std::pair<QString, Layout> expected[] = {
        {"File", {"New &Folder=32773", "Create shortcut=32831", "Edit &Shortcut=32807", "-", "&Rename=32856",
                  "&Delete=32772", "&Properties=32774", "-", "Disclaimer=32863", "&About=57664", "-",
                  "E&xit=57665"}},
        {"Edit", {"Cu&t=57635", "&Copy=57634", "&Paste=57637", "Paste &Shortcut=32778", "Paste in &Menu=32779", "-",
                  "&Select All=32810"}},
        {"View", {"Show header=32825", "&Filter=32808", "-", "&Refresh=32775"}},
        {"Tools", {"IR &Receive Files(s)=32777", "IR &Send Files(s)=32776", "-", "Connect Network Drive=32780",
                   "Disconnect Network Drive=32781", "-", "E&mail File=32804", "&Execute=32792", "&Find=32783",
                   "E&xtensions=32819"}},
        {"Bookmark", {"Add=32827", "Delete=32815", "-"}},
    };
    std::unique_ptr<QMenuBar> bar(MenuBuilder::buildMenuBar(IDR_MENUBAR, router));
    const QList<QAction *> popups = bar->actions();
    ASSERT_EQ(popups.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(popups[i]->text(), expected[i].first);
        ASSERT_TRUE(popups[i]->menu());
        EXPECT_EQ(layoutOf(*popups[i]->menu()), expected[i].second) << expected[i].first.toStdString();
    }
}

TEST_F(MenusTest, ContextMenuPopupsInOrder)
{
    const std::pair<QString, Layout> expected[] = {
        {"File", {"Open=57601", "Register Ext.=32862", "-", "Cut=57635", "Copy=57634", "-", "&Rename=32856",
                  "&Delete=32772", "-", "&Properties=32774"}},
        {"FileEmpty", {"Refresh=32775", "-", "Paste=57637", "Paste shortcut=32778", "-", "New shortcut=32831",
                       "New &Folder=32773"}},
        {"Dir", {"New &Folder=32773", "&Delete=32772", "&Properties=32774"}},
        {"Network", {"Connect drive=32780"}},
        {"NetworkFolder", {"Disconnect drive=32781"}},
    };
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<QMenu> popup(MenuBuilder::buildPopup(IDR_CONTEXTMENU, i, router));
        ASSERT_TRUE(popup);
        EXPECT_EQ(popup->title(), expected[i].first);
        EXPECT_EQ(layoutOf(*popup), expected[i].second) << expected[i].first.toStdString();
    }
    EXPECT_EQ(MenuBuilder::buildPopup(IDR_CONTEXTMENU, 5, router), nullptr);
}

TEST_F(MenusTest, ToolBarsHoldTheirButtonsInOrder)
{
    std::unique_ptr<QToolBar> full(MenuBuilder::buildToolBar(IDR_MAINFRAME, router));
    QStringList buttons;
    for (const QAction *a : full->actions()) {
        buttons.append(a->isSeparator() ? "-" : QString::number(a->property("commandId").toUInt()));
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        }
    }
    EXPECT_EQ(buttons, QStringList({"57635", "57634", "57637", "32772", "32773", "32774", "32775", "-", "32784"}));
    EXPECT_EQ(full->iconSize(), QSize(16, 16));

    std::unique_ptr<QToolBar> toggle(MenuBuilder::buildToolBar(IDR_TOGGLEBAR, router));
    ASSERT_EQ(toggle->actions().size(), 1);
    EXPECT_EQ(toggle->actions()[0], router.action(ID_TOGGLE_TOOLBAR));
}

TEST_F(MenusTest, PopupShowRunsUpdateRules)
{
    bool allowed = false;
    router.onCommand(ID_EDIT_CUT, [] {});
    router.onUpdate(ID_EDIT_CUT, [&](CCmdUI &ui) { ui.Enable(allowed); });
    std::unique_ptr<QMenuBar> bar(MenuBuilder::buildMenuBar(IDR_MENUBAR, router));
    QAction *cut = MenuBuilder::findCommand(bar.get(), ID_EDIT_CUT);
    ASSERT_TRUE(cut);
    QMenu *edit = bar->actions()[1]->menu();

    emit edit->aboutToShow();
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_FALSE(MenuBuilder::findCommand(bar.get(), ID_EDIT_COPY)->isEnabled()) << "no handler";
    allowed = true;
    emit edit->aboutToShow();
    EXPECT_TRUE(cut->isEnabled());
}

TEST_F(MenusTest, TrackedPopupRunsTheChosenEnabledEntryThroughTheOwner)
{
    QList<UINT> ran;
    router.onCommand(ID_TOOLS_CONNECTDRIVE, [&] { ran.append(ID_TOOLS_CONNECTDRIVE); });
    router.onCommand(ID_TOOLS_DISCONNECTDRIVE, [&] { ran.append(ID_TOOLS_DISCONNECTDRIVE); });
    router.onUpdate(ID_TOOLS_DISCONNECTDRIVE, [](CCmdUI &ui) { ui.Enable(false); });
    QList<std::pair<QString, QPoint>> shown;
    MenuBuilder::setTrackHook([&](QMenu &menu, const QPoint &at) {
        shown.append({menu.title() + (menu.actions().value(0)->isEnabled() ? "" : " disabled"), at});
        return menu.actions().value(0);
    });
    EXPECT_EQ(MenuBuilder::trackPopup(IDR_CONTEXTMENU, CONTEXT_NETWORK, {40, 50}, router), ID_TOOLS_CONNECTDRIVE);
    EXPECT_EQ(MenuBuilder::trackPopup(IDR_CONTEXTMENU, CONTEXT_NETWORKFOLDER, {}, router), 0u) << "disabled";
    MenuBuilder::setTrackHook({});
    EXPECT_EQ(shown, (QList<std::pair<QString, QPoint>>{{"Network", {40, 50}}, {"NetworkFolder disabled", {}}}));
    EXPECT_EQ(ran, QList<UINT>{ID_TOOLS_CONNECTDRIVE});
}

} // namespace
