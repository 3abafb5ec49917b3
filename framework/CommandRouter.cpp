#include "framework/CommandRouter.h"

#include "res/Accelerators.h"
#include "res/Pictures.h"
#include "res/StringTable.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace {

const char *const CommandIdProperty = "commandId";

} // namespace

CommandRouter::CommandRouter(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

CommandRouter::~CommandRouter() = default;

void CommandRouter::onCommand(UINT id, std::function<void()> handler)
{
    m_handlers.insert(id, std::move(handler));
}

void CommandRouter::onCommandRange(UINT first, UINT last, std::function<void(UINT)> handler)
{
    m_ranges.push_back({first, last, std::move(handler)});
}

void CommandRouter::onUpdate(UINT id, std::function<void(CCmdUI &)> rule)
{
    m_updates.insert(id, std::move(rule));
}

const std::function<void(UINT)> *CommandRouter::findRange(UINT id) const
{
    for (const Range &range : m_ranges) {
        if (id >= range.first && id <= range.last)
            return &range.handler;
    }
    return nullptr;
}

bool CommandRouter::hasHandler(UINT id) const
{
    return m_handlers.contains(id) || findRange(id);
}

CCmdUI CommandRouter::runUpdate(UINT id, QMenu *menu)
{
    CCmdUI state(id, menu);
    if (!hasHandler(id))
        state.Enable(false);
    else if (const auto rule = m_updates.constFind(id); rule != m_updates.cend())
        (*rule)(state);
    return state;
}

bool CommandRouter::isEnabled(UINT id)
{
    const CCmdUI state = runUpdate(id, nullptr);
    apply(state, entries(id));
    return state.enabled();
}

bool CommandRouter::isChecked(UINT id)
{
    const CCmdUI state = runUpdate(id, nullptr);
    const QList<QAction *> targets = entries(id);
    apply(state, targets);
    if (state.checked())
        return *state.checked();
    for (QAction *entry : targets) {
        if (entry->isChecked())
            return true;
    }
    return false;
}

bool CommandRouter::execute(UINT id)
{
    if (!isEnabled(id))
        return false;
    if (const auto handler = m_handlers.constFind(id); handler != m_handlers.cend()) {
        // Copied: the handler may replace itself or delete entries.
        const std::function<void()> run = *handler;
        run();
    } else {
        const std::function<void(UINT)> run = *findRange(id);
        run(id);
    }
    return true;
}

void CommandRouter::apply(const CCmdUI &state, const QList<QAction *> &targets)
{
    for (QAction *entry : targets) {
        entry->setEnabled(state.enabled());
        if (state.checked()) {
            entry->setCheckable(true);
            entry->setChecked(*state.checked());
        }
        if (state.text())
            entry->setText(*state.text());
    }
}

void CommandRouter::updateCommands()
{
    QList<UINT> ids = m_actions.keys();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!ids.contains(it.key()))
            ids.append(it.key());
    }
    for (UINT id : ids)
        apply(runUpdate(id, nullptr), entries(id));
}

void CommandRouter::updateMenu(QMenu *menu)
{
    // A rule may rebuild this very menu (the Bookmark pop-up): entries are
    // held weakly while the rules run and read again afterwards, and each
    // id's rule runs once.
    QHash<UINT, CCmdUI> states;
    const auto stateOf = [&](UINT id) {
        auto it = states.find(id);
        if (it == states.end())
            it = states.insert(id, runUpdate(id, menu));
        return *it;
    };
    const QList<QAction *> before = menu->actions();
    const QList<QPointer<QAction>> held(before.cbegin(), before.cend());
    for (const QPointer<QAction> &entry : held) {
        if (entry && entry->property(CommandIdProperty).isValid())
            stateOf(entry->property(CommandIdProperty).toUInt());
    }
    for (QAction *entry : menu->actions()) {
        const QVariant id = entry->property(CommandIdProperty);
        if (id.isValid())
            apply(stateOf(id.toUInt()), {entry});
    }
}

void CommandRouter::prepare(QAction *entry, UINT id)
{
    const QString prompt = LoadString(id);
    const qsizetype lineFeed = prompt.indexOf(QLatin1Char('\n'));
    entry->setStatusTip(prompt.left(lineFeed));
    if (lineFeed >= 0)
        entry->setToolTip(prompt.mid(lineFeed + 1));
    entry->setProperty(CommandIdProperty, id);
    connect(entry, &QAction::triggered, this, [this, id] { execute(id); });
}

QAction *CommandRouter::action(UINT id)
{
    if (QAction *existing = m_actions.value(id))
        return existing;
    auto *own = new QAction(this);
    prepare(own, id);
    own->setText(own->toolTip());
    own->setIcon(toolBarIcon(id));
    m_actions.insert(id, own);
    return own;
}

QAction *CommandRouter::addMenuItem(QMenu *menu, UINT id, const QString &text)
{
    QAction *entry = menu->addAction(text);
    prepare(entry, id);
    QList<QPointer<QAction>> &bound = m_entries[id];
    bound.removeAll(nullptr);
    bound.append(entry);
    return entry;
}

QList<QAction *> CommandRouter::entries(UINT id) const
{
    QList<QAction *> result;
    if (QAction *own = m_actions.value(id))
        result.append(own);
    for (const QPointer<QAction> &entry : m_entries.value(id)) {
        if (entry)
            result.append(entry);
    }
    return result;
}

void CommandRouter::loadAccelerators(UINT tableId)
{
    for (const Accelerator &accel : LoadAccelTable(tableId)) {
        // A shortcut rather than an action's key: the key must reach execute
        // even when the command was disabled at the last update.
        auto *shortcut = new QShortcut(accel.key, m_window);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT id = accel.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { execute(id); });
        m_shortcuts[id].append(shortcut);
    }
}

QList<QKeySequence> CommandRouter::shortcuts(UINT id) const
{
    QList<QKeySequence> keys;
    for (const QShortcut *shortcut : m_shortcuts.value(id))
        keys.append(shortcut->key());
    return keys;
}
