// The bookmarks as the Bookmarks key keeps them: Count, the display names in
// Name0..Name(Count-1), and one value per bookmark, named by its display name,
// holding the folder path. Nothing is cached: every call reads the registry
// as it is.
#pragma once

#include "platform/Types.h"

#include <QString>

class CDirTreeView;
class CommandRouter;
class QMenu;

namespace BookmarkList {

// Whether a display name would collide with the key's own bookkeeping values
// ("Count", "Name" followed by digits); value names compare without regard to case.
bool IsReservedName(const QString &name);

// Count, or 0 when it cannot be read.
DWORD Count();
// Name<index>; false when it cannot be read.
bool ReadName(DWORD index, QString &name);
// The folder path stored under a display name; false when it cannot be read.
bool ReadPath(const QString &name, QString &path);

// Appends a bookmark: Name<Count>, its path value, then Count + 1, each write
// made only when the one before succeeded. False when a write failed.
bool Append(const QString &name, const QString &path);
// Removes the first readable bookmark of that exact name and closes the gap.
// False when none matched.
bool Remove(const QString &name);

// Keeps the first three entries of the Bookmark pop-up ("Add", "Delete", the
// separator) and appends one entry per stored bookmark, command 3000 + index.
void RebuildMenu(QMenu &popup, CommandRouter &router);
// Goes to the bookmark whose entry in popup has command id: the tree selects
// its folder (under the wait cursor) and takes the focus.
void GoTo(QMenu &popup, UINT id, CDirTreeView &tree);

} // namespace BookmarkList
