// New Folder: creates the first free name of "New Folder", "New Folder 1",
// "New Folder 2", ... in the tree's selected folder, brings the tree up to
// date and opens the in-place editor on the new folder, so that the name the
// user types is applied by the tree's own rename.
#pragma once

#include <QString>

class CDirTreeView;

class NewFolder
{
public:
    // The first of the names above that does not exist in folder (a path
    // ending with a backslash); existence is tested as a find would see it,
    // so a name differing only in case counts as taken.
    static QString FreeName(const QString &folder);

    // True when a folder was created. On failure shows the application's box
    // "Failed to create folder" (owned by the tree's window, OK, exclamation)
    // and returns false; nothing else changes.
    static bool Create(CDirTreeView &tree);
};
