// The file list of the main frame's lower pane. It owns the folder's entries
// (one CFileEntry per shown file), loads them synchronously through the file
// filter, sorts them itself on a header tap, and shows them through an
// owner-data model that builds every cell when it is painted.
//
// A big folder shown again is not read in full: the list watches it from the
// load on and describes anew only the files that changed, keeping the
// entries of the others, in the order a full read gives.
#pragma once

#include "list/CFileEntryArray.h"
#include "list/CFileListView.h"
#include "list/EntrySort.h"
#include "list/FileFilter.h"
#include "list/FileListModel.h"
#include "platform/FolderWatch.h"

#include <optional>

class CFileListViewEx : public CFileListView
{
    Q_OBJECT
public:
    explicit CFileListViewEx(QWidget *parent = nullptr);
    ~CFileListViewEx() override;

    // Does nothing when force is false and path equals the current folder
    // exactly. Otherwise stores path without its trailing backslash as the
    // current folder and replaces the entries with the folder's files that
    // pass the filter (never subfolders), sorted by the current key and
    // direction; under the wait cursor. A folder that cannot be listed
    // shows empty.
    void ShowFolder(const QString &path, bool force) override;
    void DeleteAllItems() override;

    SortKey sortKey() const { return m_sortKey; }
    // The direction the next sort uses; flips on every header tap.
    bool sortAscending() const { return m_sortAscending; }

    FileListModel &listModel() { return m_model; }
    const CFileEntryArray &entries() const { return m_entries; }

protected:
    // Flips the direction, then sorts by the column whose title is one of the
    // five known titles; any other title (or one that cannot be read) is
    // reported and leaves the key alone.
    void OnColumnClick(int column) override;

private:
    void LoadEntries();
    // Reads the watched folder again, reusing the entries of files that did
    // not change. False, with nothing done, where the changes are unknown or
    // the filter's settings changed: then the folder is read anew.
    bool ReloadChangedEntries();

    CFileEntryArray m_entries;
    bool m_sortAscending = false;
    SortKey m_sortKey = SortKey::None;
    FileListModel m_model; // after m_entries: gone before the entries are
    FolderWatch m_watch;
    // The filter of the last load.
    std::optional<FileFilter> m_filter;
};
