// Accelerator tables as data.
#pragma once

#include "platform/Types.h"

#include <QKeySequence>
#include <vector>

struct Accelerator {
    QKeySequence key;
    UINT id;
};

// Every entry of table id, the framework-only ones included; empty for an
// unknown id.
const std::vector<Accelerator> &LoadAccelTable(UINT id);
