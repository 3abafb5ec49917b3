// What an update handler sees of one command: it enables, checks or renames
// the command's entries. The router applies only what the handler set; an
// entry whose check or text the handler leaves alone keeps its own.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <optional>

class QMenu;

class CCmdUI
{
public:
    // menu: the pop-up about to be shown, or null when the update runs for
    // the tool bars and accelerators (CommandRouter::updateCommands).
    explicit CCmdUI(UINT id, QMenu *menu = nullptr) : m_nID(id), m_menu(menu) {}

    UINT id() const { return m_nID; }
    QMenu *menu() const { return m_menu; }

    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(bool on = true) { m_checked = on; }
    void SetText(const QString &text) { m_text = text; }

    // Enabled unless the handler disabled it.
    bool enabled() const { return m_enabled; }
    std::optional<bool> checked() const { return m_checked; }
    std::optional<QString> text() const { return m_text; }

private:
    UINT m_nID;
    QMenu *m_menu;
    bool m_enabled = true;
    std::optional<bool> m_checked;
    std::optional<QString> m_text;
};
