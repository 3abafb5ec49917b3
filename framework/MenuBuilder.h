// Builds Qt menus and tool bars from the resource descriptions (res/Menus.h,
// res/ToolBars.h), with every command entry bound to a CommandRouter. Pop-ups
// run the router's update rules just before they show.
#pragma once

#include "platform/Types.h"

#include <QPoint>
#include <functional>

class CommandRouter;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

class MenuBuilder
{
public:
    // The menu bar of menu id: one QMenu per top-level pop-up, in order.
    static QMenuBar *buildMenuBar(UINT menuId, CommandRouter &router, QWidget *parent = nullptr);
    // Pop-up number index of menu id as a stand-alone QMenu; null when there
    // is no such pop-up.
    static QMenu *buildPopup(UINT menuId, int index, CommandRouter &router, QWidget *parent = nullptr);
    // Tool bar id with the router's command actions (16 x 16 pictures),
    // separators where the resource has them.
    static QToolBar *buildToolBar(UINT toolBarId, CommandRouter &router, QWidget *parent = nullptr);

    // Shows pop-up index of menu id at a screen point (left and top aligned),
    // modally; the chosen entry is executed through owner (when enabled).
    // Returns the chosen command id, 0 when nothing was chosen.
    static UINT trackPopup(UINT menuId, int index, const QPoint &screenPos, CommandRouter &owner);

    // Tests: while a hook is set, trackPopup does not open the menu; it runs
    // the update rules, then asks the hook which entry to choose (null:
    // none), and triggers it as a tap would (a disabled entry does nothing).
    // Pass {} to remove the hook.
    using TrackHook = std::function<QAction *(QMenu &menu, const QPoint &screenPos)>;
    static void setTrackHook(TrackHook hook);

    // The first entry bound to id in a menu, menu bar or tool bar (searched
    // through its pop-ups); null when there is none.
    static QAction *findCommand(const QWidget *menuOrBar, UINT id);
};
