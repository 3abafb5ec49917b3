// The file operation engine and the program's own clipboard. The main frame
// owns one instance for its whole life and hands it the two panes with
// SetViews before any other call; the engine never owns them.
//
// Everything runs synchronously on the user-interface thread (only the copies
// of a list paste run on two threads, and end before anything is asked):
// every question and every failure is a modal message box through the
// platform's sink, and nothing is rolled back but copies a paste made past
// the failure that ended it.
//
// Paths are device paths built by plain concatenation. Folder paths from the
// tree end with a backslash ("\" for the root, "\Windows\" for a folder), so
// a file of a folder is folder + name.
//
// Links: a symbolic link met inside a folder tree is handled as the link
// itself. A delete removes the link and leaves its target alone; a folder
// copy never descends into a link to a folder (it is reported as not copied).
#pragma once

#include "platform/DeviceFolder.h"
#include "platform/Types.h"

#include <QString>
#include <QStringList>

class CDirTreeView;
class CFileListViewEx;
class QWidget;

class CFileOperations
{
public:
    // Bits of mode().
    enum Mode : unsigned {
        OpFiles = 1,  // names from the file list
        OpFolder = 2, // one folder from the tree
        OpCopy = 4,   // paste copies
        OpCut = 8,    // paste moves
    };

    CFileOperations();
    virtual ~CFileOperations();
    CFileOperations(const CFileOperations &) = delete;
    CFileOperations &operator=(const CFileOperations &) = delete;

    // The tree gives the current folder and the folder refresh; the list the
    // selection, the owner of its questions and the list refresh.
    void SetViews(CDirTreeView *tree, CFileListViewEx *list);

    // Clipboard state: 0 (empty), 9 (cut files), 5 (copied files), 10 (cut
    // folder) or 6 (copied folder).
    unsigned mode() const { return m_mode; }
    // Files: the tree's folder at the cut or copy. Folder: the folder itself.
    const QString &sourceFolder() const { return m_sourceFolder; }
    // The folder of the latest paste.
    const QString &destinationFolder() const { return m_destinationFolder; }
    // Entry names selected at the last CollectSelection; emptied by a delete
    // from the list and by the paste of cut files.
    const QStringList &names() const { return m_names; }

    // Number of selected list entries; 0 leaves names() as it was, otherwise
    // names() becomes their names in list order.
    int CollectSelection();
    // A find-first on exactly path succeeds.
    static bool FileExists(const QString &path);

    // Delete with the tree focused: asks, then deletes the tree's current
    // folder and everything in it. Does nothing for the root.
    void DeleteFolder();
    // Deletes path (with or without its trailing backslash) and everything in
    // it, stopping at the first failure (reported). True on complete success.
    bool DeleteTree(const QString &path);
    // Delete with the list focused: asks, deletes the selected files, forgets
    // any cut or copied files. The result tells the frame to step the restored
    // focus back one entry.
    bool DeleteSelectedFiles();

    // Pastes names() from sourceFolder() into destinationFolder(), moving
    // them when mode() has OpCut.
    void PasteFiles();
    // Copies the folder source into destination (as destination\name).
    // Refuses a destination equal to or inside the source. The result is
    // that of the last entry processed; see copySkippedAny() for the whole run.
    bool CopyFolderTree(const QString &source, const QString &destination);
    // One rename within a top-level folder; across top-level folders a copy,
    // then the delete of the source only when every entry was copied.
    bool MoveFolderTree(const QString &source, const QString &destination);
    // The platform copy of the entry name of folder from to folder to, as
    // CopyFileW with failIfExists, under the wait cursor. TRUE is for a name
    // the caller has just found missing in every letter case: the copy does
    // not look for it again.
    BOOL CopyOneFile(const DeviceFolder &from, const QString &name, const DeviceFolder &to, BOOL failIfExists) const;
    // Names missing from the destination are copied this many at a time.
    static constexpr qsizetype PasteRunLength = 64;

    // Clipboard commands.
    void CutFiles();
    void CopyFiles();
    void CutFolder(const QString &path);
    void CopyFolder(const QString &path);
    // Sets destinationFolder() to path and pastes what the clipboard holds.
    void Paste(const QString &path);
    bool CanPaste() const;
    bool CanPasteShortcut() const;
    // Shortcuts to the clipboard's files in the tree's current folder (the
    // list is refreshed after each) or in the start menu. The clipboard stays.
    void PasteShortcuts();
    void PasteInStartMenu();

    // Writes a shortcut in its pasted form; true when written and closed.
    bool WriteShortcutFile(const QString &target, const QString &file);
    // A new folder in the tree's current folder, named in place.
    bool CreateNewFolder();

    // The folder copy's process-wide state: the nesting depth of the running
    // copy (0 when none runs), whether it may read further entries, and
    // whether any entry of the latest outermost copy was left uncopied.
    static int copyDepth() { return s_copyDepth; }
    static bool continueCopy() { return s_continueCopy; }
    static bool copySkippedAny() { return s_copySkipped; }

private:
    // CopyFolderTree creating its folder in destinationFolder, the open
    // destination of the enclosing level (null at the outermost one).
    bool CopyFolderTree(const QString &source, const QString &destination, DeviceFolder *destinationFolder);
    void TakeSelection(unsigned mode);
    void WriteShortcuts(const QString &folder, bool refreshList);
    // Removes one file (or the link itself), clearing its attributes first.
    static bool RemoveFile(const QString &path);
    // The paste of names()[index] found as presence says: the overwrite
    // question, the copy and, for a cut, the delete of its source. True when
    // the paste ends there.
    bool PasteOne(const DeviceFolder &from, const DeviceFolder &to, qsizetype index, DeviceFolder::Presence presence);
    // The paste of names()[first .. end - 1], all missing from to: copied on
    // two threads, then each failure reported and each cut source deleted in
    // order. True when the paste ends there; the copies made after the
    // failure that ended it are taken back.
    bool PasteRun(const DeviceFolder &from, const DeviceFolder &to, qsizetype first, qsizetype end);
    // Reports the failed copy of names()[index]; true when the paste ends.
    bool CopyFailed(qsizetype index) const;
    // For a cut, deletes the source of names()[index], reporting a failure.
    void RemoveCutSource(qsizetype index) const;
    // The tree delete's failure message for path.
    void DeleteFailed(const QString &path);
    // Records a folder-copy entry that was not copied; asks whether to go on.
    void CopyEntryFailed(const QString &path);
    // The application's box: owned by the main window, captioned with the title.
    int AppMessageBox(const QString &text, UINT type) const;
    // A box owned by the list control.
    int ListMessageBox(const QString &text, const QString &caption, UINT type) const;
    QWidget *MainWindow() const;

    unsigned m_mode = 0;
    QString m_sourceFolder;
    QString m_destinationFolder;
    CDirTreeView *m_tree = nullptr;
    CFileListViewEx *m_list = nullptr;
    QStringList m_names;

    static bool s_continueCopy;
    static int s_copyDepth;
    static bool s_copySkipped;
};
