// The installer's string table. An edition of the installer replaces the
// strings that differ (the edition word 3004, say) before the wizard starts.
#pragma once

#include "platform/Types.h"

#include <QString>

namespace InstallStrings {

// The string, empty for an id the table does not hold.
QString load(UINT id);
void replace(UINT id, const QString &text);

} // namespace InstallStrings
