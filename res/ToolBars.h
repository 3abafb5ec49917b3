// Tool-bar resources as data: the buttons' command ids in order, ID_SEPARATOR
// for a gap. Buttons are 16 x 16; their pictures come from toolBarIcon().
#pragma once

#include "platform/Types.h"

#include <vector>

// Empty for an unknown id.
const std::vector<UINT> &LoadToolBar(UINT id);
