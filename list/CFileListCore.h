// The part shared by every list that shows files: the current folder, the
// small-icon image list and the column layout. The views mix it in next to
// their Qt widget class; the list control of the core is the view itself.
#pragma once

#include "framework/CImageList.h"
#include "platform/Types.h"

#include <QString>

class QHeaderView;

// One column of a file list, in display order.
struct FileListColumn {
    const char *title;
    int width; // pixels
    bool rightAligned;
};

class CFileListCore
{
public:
    enum Column { NameColumn, SizeColumn, TypeColumn, ChangedColumn, AttrsColumn, ColumnCount };
    static const FileListColumn Columns[ColumnCount];

    // Creates the image list from the fallback file image (one 16x15 picture,
    // white transparent); the images it holds then are the base images.
    CFileListCore();
    virtual ~CFileListCore();
    CFileListCore(const CFileListCore &) = delete;
    CFileListCore &operator=(const CFileListCore &) = delete;

    // Shows the folder's files. force false skips the load when path equals
    // the current folder exactly.
    virtual void ShowFolder(const QString &path, bool force) = 0;
    // ShowFolder(current folder, true).
    void RefreshFolder();

    // Opens the file at the full device path with the program its type
    // registers (CFileTypeInfo::SplitOpenCommand) and does not wait for it.
    // Without an open command it offers to register one (CRegisterExtDlg
    // with the lower-case extension); a program that cannot start is
    // reported. True when a process was started.
    bool ExecuteFile(const QString &path);

    // Initially "\"; a view that strips the trailing backslash keeps the root
    // as the empty string. Callers build file paths as folder + "\" + name.
    QString GetCurrentFolder() const { return m_currentFolder; }

    CImageList &imageList() { return m_imageList; }
    int baseImageCount() const { return m_baseImageCount; }

protected:
    // Gives the header the widths of the columns (titles come from the model).
    static void SetUpColumns(QHeaderView &header);
    // Removes per-file icons from the end until only the base images remain.
    void TrimImageList();

    QString m_currentFolder;
    CImageList m_imageList;
    int m_baseImageCount = 0;
    int m_textSortState = 0; // used by the text sort of row-filled lists
};
