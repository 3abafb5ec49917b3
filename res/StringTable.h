// The program's string table.
#pragma once

#include "platform/Types.h"

#include <QString>

// The string with that id, or an empty string when there is none. A command's
// string is its status prompt and its tool tip joined by a line feed
// ("Delete a file or folder\nDelete").
QString LoadString(UINT id);
