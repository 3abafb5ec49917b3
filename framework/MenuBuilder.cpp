#include "framework/MenuBuilder.h"

#include "framework/CommandRouter.h"
#include "res/Menus.h"
#include "res/ResourceIds.h"
#include "res/ToolBars.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <memory>

namespace {

MenuBuilder::TrackHook s_trackHook;

void fill(QMenu *menu, const std::vector<MenuEntry> &entries, CommandRouter &router)
{
    for (const MenuEntry &entry : entries) {
        if (entry.isSeparator())
            menu->addSeparator();
        else if (entry.isPopup())
            fill(menu->addMenu(entry.text), entry.items, router);
        else
            router.addMenuItem(menu, entry.id, entry.text);
    }
    QObject::connect(menu, &QMenu::aboutToShow, &router, [menu, &router] { router.updateMenu(menu); });
}

} // namespace

QMenuBar *MenuBuilder::buildMenuBar(UINT menuId, CommandRouter &router, QWidget *parent)
{
    auto *bar = new QMenuBar(parent);
    for (const MenuEntry &popup : LoadMenu(menuId))
        fill(bar->addMenu(popup.text), popup.items, router);
    return bar;
}

QMenu *MenuBuilder::buildPopup(UINT menuId, int index, CommandRouter &router, QWidget *parent)
{
    const std::vector<MenuEntry> &popups = LoadMenu(menuId);
    if (index < 0 || size_t(index) >= popups.size())
        return nullptr;
    auto *menu = new QMenu(popups[size_t(index)].text, parent);
    fill(menu, popups[size_t(index)].items, router);
    return menu;
}

QToolBar *MenuBuilder::buildToolBar(UINT toolBarId, CommandRouter &router, QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setIconSize(QSize(16, 16));
    for (UINT id : LoadToolBar(toolBarId)) {
        if (id == ID_SEPARATOR)
            bar->addSeparator();
        else
            bar->addAction(router.action(id));
    }
    return bar;
}

UINT MenuBuilder::trackPopup(UINT menuId, int index, const QPoint &screenPos, CommandRouter &owner)
{
    std::unique_ptr<QMenu> menu(buildPopup(menuId, index, owner, owner.window()));
    if (!menu)
        return 0;
    if (!s_trackHook) {
        const QAction *chosen = menu->exec(screenPos);
        return chosen ? chosen->property("commandId").toUInt() : 0;
    }
    owner.updateMenu(menu.get());
    QAction *chosen = s_trackHook(*menu, screenPos);
    if (!chosen || !chosen->isEnabled())
        return 0;
    const UINT id = chosen->property("commandId").toUInt();
    chosen->trigger();
    return id;
}

void MenuBuilder::setTrackHook(TrackHook hook)
{
    s_trackHook = std::move(hook);
}

QAction *MenuBuilder::findCommand(const QWidget *menuOrBar, UINT id)
{
    for (QAction *entry : menuOrBar->actions()) {
        if (entry->property("commandId").isValid() && entry->property("commandId").toUInt() == id)
            return entry;
        if (entry->menu()) {
            if (QAction *inner = findCommand(entry->menu(), id))
                return inner;
        }
    }
    return nullptr;
}
