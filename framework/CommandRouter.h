// Routing of numbered commands from menus, tool bars, accelerators and
// context menus to one handler per id, with update rules deciding what is
// enabled and checked.
//
// Rules, as the framework has them:
// - a command without a handler (onCommand or a covering onCommandRange) is
//   disabled wherever it appears;
// - a command with a handler and no update rule is enabled;
// - otherwise its update rule (onUpdate) decides.
// Update rules run when a pop-up is about to show (for that pop-up's
// entries), on updateCommands() (every entry: tool bars, menus, accelerators;
// the owner calls it when the focus or selection changes) and in isEnabled,
// isChecked and execute. execute, the accelerators and every menu or tool-bar
// entry run the handler only when the command is enabled at that moment.
//
// Entries: action(id) is the command's own QAction (text and tool tip = the
// tip part of its string, status tip = the prompt part, picture from
// toolBarIcon); tool bars show it. Menu entries are separate QActions bound
// to the id (addMenuItem), because one command can have different texts in
// different menus ("Cu&t" in Edit, "Cut" in a context menu); they get the
// same prompt and tip. Each bound entry carries its id in the dynamic
// property "commandId" (UINT).
#pragma once

#include "framework/CCmdUI.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QShortcut;
class QWidget;

class CommandRouter : public QObject
{
    Q_OBJECT
public:
    // window: where accelerators are live (window-wide shortcuts) and the
    // parent of context menus; it must outlive the router.
    explicit CommandRouter(QWidget *window);
    ~CommandRouter() override;

    QWidget *window() const { return m_window; }

    // One handler per id; a later call replaces the earlier one.
    void onCommand(UINT id, std::function<void()> handler);
    // Handles every id from first to last inclusive, unless an onCommand
    // handler for that id exists.
    void onCommandRange(UINT first, UINT last, std::function<void(UINT)> handler);
    void onUpdate(UINT id, std::function<void(CCmdUI &)> rule);

    bool hasHandler(UINT id) const;
    // Run the update rule and report the resulting state. isChecked falls
    // back to the entries' own check mark when the rule sets none.
    bool isEnabled(UINT id);
    bool isChecked(UINT id);
    // Runs the handler when the command is enabled; returns whether it ran.
    bool execute(UINT id);

    // Runs every update rule and applies the result to every entry.
    void updateCommands();
    // Runs the rules of the menu's entries and applies them; connected to
    // aboutToShow of every menu made by addMenuItem's callers (MenuBuilder).
    void updateMenu(QMenu *menu);

    // The command's own action (created on first use, owned by the router).
    QAction *action(UINT id);
    // Appends an entry for id with that text to menu (owned by the menu) and
    // binds it: choosing it executes id. Removing the entry from the menu and
    // deleting it is the caller's business (the Bookmark pop-up does so).
    QAction *addMenuItem(QMenu *menu, UINT id, const QString &text);
    // Every live entry bound to id, the command's own action first if made.
    QList<QAction *> entries(UINT id) const;

    // Binds the keys of an accelerator table to their commands in window().
    void loadAccelerators(UINT tableId);
    // The keys bound to id by loadAccelerators.
    QList<QKeySequence> shortcuts(UINT id) const;

private:
    struct Range {
        UINT first;
        UINT last;
        std::function<void(UINT)> handler;
    };
    CCmdUI runUpdate(UINT id, QMenu *menu);
    void apply(const CCmdUI &state, const QList<QAction *> &targets);
    void prepare(QAction *entry, UINT id);
    const std::function<void(UINT)> *findRange(UINT id) const;

    QWidget *m_window;
    QHash<UINT, std::function<void()>> m_handlers;
    std::vector<Range> m_ranges;
    QHash<UINT, std::function<void(CCmdUI &)>> m_updates;
    QHash<UINT, QAction *> m_actions;
    QHash<UINT, QList<QPointer<QAction>>> m_entries;
    QHash<UINT, QList<QShortcut *>> m_shortcuts;
};
