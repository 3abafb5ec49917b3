// The Rename command of the file list: the Rename dialog for the first
// selected entry, then one platform rename inside the list's folder. The
// caller runs it only while the list has the focus.
#pragma once

class CFileListView;

// Nothing happens without a selected entry or when the dialog is cancelled
// (an unchanged name counts as cancelled). A successful rename refreshes the
// list; a failed one shows the application's box "Failed to rename" (owned
// by the list's window, OK, exclamation) and changes nothing.
void RenameSelectedEntry(CFileListView &list);
