// Menu resources as data: the menu bar (IDR_MENUBAR) and the context menu
// (IDR_CONTEXTMENU). framework/MenuBuilder turns them into Qt menus.
#pragma once

#include "platform/Types.h"

#include <QString>
#include <vector>

struct MenuEntry {
    QString text;                  // exact, with '&' before the mnemonic
    UINT id = 0;                   // command id; 0 for a separator or a pop-up
    std::vector<MenuEntry> items;  // the entries of a pop-up

    bool isSeparator() const { return text.isEmpty() && id == 0 && items.empty(); }
    bool isPopup() const { return id == 0 && !text.isEmpty(); }
};

// The top-level pop-ups of menu id, in order; empty for an unknown id.
const std::vector<MenuEntry> &LoadMenu(UINT id);
