// When each command of the main frame is enabled, decided in one place from
// one set of facts about the panes. The frame gathers the facts and applies
// the answer in its update handlers.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <optional>

struct CommandFacts {
    enum class Focus { Other, Tree, List };
    Focus focus = Focus::Other;
    // The tree's selected folder ("\" for the device root and for "My Network Places").
    QString folder;
    // The selected tree item is a mapped network path (a child of "My Network Places").
    bool networkPathSelected = false;
    int listItemCount = 0;
    int selectedCount = 0;
    QString firstSelectedName;
    bool canPaste = false;
    bool canPasteShortcut = false;
};

class CommandRules
{
public:
    // Whether command id is enabled; nothing when its rule leaves the state
    // unchanged, or when the command has no rule (always enabled).
    static std::optional<bool> enabled(UINT id, const CommandFacts &facts);
    // Whether the command has an update rule at all.
    static bool hasRule(UINT id);
};
