// The mapped network paths as the NetPaths key keeps them: Count and
// Path0..Path(Count-1), each "\\computer\share". Nothing is cached.
#pragma once

#include "platform/Types.h"

#include <QString>

namespace NetPathList {

// Removes the first readable path equal to path and moves every later path
// one index down, then writes Count - 1. False when nothing matched.
bool Remove(const QString &path);

} // namespace NetPathList
