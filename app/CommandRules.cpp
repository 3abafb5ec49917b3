#include "app/CommandRules.h"

#include "res/ResourceIds.h"

namespace {

using Focus = CommandFacts::Focus;

// Cut and Copy: a folder other than the root, or some selected files.
std::optional<bool> cutCopyRule(const CommandFacts &f)
{
    if (f.focus == Focus::Tree)
        return f.folder != QLatin1String("\\");
    if (f.focus == Focus::List)
        return f.selectedCount >= 1;
    return std::nullopt;
}

} // namespace

std::optional<bool> CommandRules::enabled(UINT id, const CommandFacts &f)
{
    const bool tree = f.focus == Focus::Tree;
    const bool list = f.focus == Focus::List;
    switch (id) {
    case ID_FILE_NEWFOLDER:
    case ID_BOOKMARK_ADD:
        return tree;
    case ID_FILE_EDITSHORTCUT:
        return list && f.selectedCount == 1 && f.firstSelectedName.contains(QLatin1String(".lnk"));
    case ID_FILE_RENAME:
        return list && f.selectedCount == 1;
    case ID_FILE_DELETE:
        if (tree)
            return f.folder != QLatin1String("\\") && !f.networkPathSelected;
        return list && f.selectedCount > 0;
    case ID_FILE_PROPERTIES:
        return tree || (list && f.selectedCount == 1);
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
        return cutCopyRule(f);
    case ID_EDIT_PASTE:
        return f.canPaste;
    case ID_EDIT_PASTESHORTCUT:
    case ID_EDIT_PASTEINMENU:
        return f.canPasteShortcut;
    case ID_EDIT_SELECTALL:
        return f.listItemCount >= 1;
    case ID_TOOLS_IRSEND:
        if (list)
            return f.selectedCount > 0;
        return std::nullopt;
    case ID_TOOLS_DISCONNECTDRIVE:
        return f.networkPathSelected;
    case ID_TOOLS_EMAIL:
        if (tree)
            return false;
        if (list)
            return f.selectedCount == 1;
        return std::nullopt;
    case ID_FILE_OPEN:
        return list && f.selectedCount == 1;
    default:
        return std::nullopt;
    }
}

bool CommandRules::hasRule(UINT id)
{
    switch (id) {
    case ID_FILE_NEWFOLDER: case ID_BOOKMARK_ADD: case ID_FILE_EDITSHORTCUT: case ID_FILE_RENAME:
    case ID_FILE_DELETE: case ID_FILE_PROPERTIES: case ID_EDIT_CUT: case ID_EDIT_COPY: case ID_EDIT_PASTE:
    case ID_EDIT_PASTESHORTCUT: case ID_EDIT_PASTEINMENU: case ID_EDIT_SELECTALL: case ID_TOOLS_IRSEND:
    case ID_TOOLS_DISCONNECTDRIVE: case ID_TOOLS_EMAIL: case ID_FILE_OPEN:
        return true;
    default:
        return false;
    }
}
