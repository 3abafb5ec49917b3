// The program's string table.
#pragma once

#include "platform/Types.h"

#include <QString>

// The string with that id, or an empty string when there is none. A command's
// string is its status prompt and its tool tip joined by a line feed
// ("Delete a file or folder\nDelete").
QString LoadString(UINT id);

// The application title: the first part of the template string (128), the
// main window's title and the caption of the program's message boxes.
QString applicationTitle();
