// The owner-data model of the main file list. It keeps no cell data: every
// request builds its text (or resolves its icon) from the entry array at that
// moment. The row count is set explicitly after each load, like an owner-data
// list control's item count, and must not exceed the entries' size.
//
// The model does not own the entries, the folder or the image list; the view
// that owns them keeps them alive for the model's whole life.
#pragma once

#include "list/CFileEntryArray.h"
#include "platform/Types.h"

#include <QAbstractTableModel>
#include <QStringList>

class CImageList;

// What a cell request asks for and where the answers go.
constexpr UINT LVIF_TEXT = 0x1;
constexpr UINT LVIF_IMAGE = 0x2;

struct CellRequest {
    int item = 0;
    int subItem = 0;
    UINT mask = 0;
    WCHAR *text = nullptr; // capacity textMax: at most textMax - 1 characters and a terminator
    int textMax = 0;
    int image = -1;
};

class FileListModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    // folder: the current folder without trailing backslash ("" for the root).
    FileListModel(const CFileEntryArray &entries, const QString &folder, CImageList &images,
                  QObject *parent = nullptr);

    // Resets the model to count rows (0 .. entries' size).
    void SetItemCount(int count);
    // Tells the views that every cell may have changed (after a sort).
    void InvalidateAll();

    // Answers one request. An item outside 0 .. count - 1 is ignored: nothing
    // is written. Column 0 answers text and image, columns 1 to 4 text only.
    void GetDispInfo(CellRequest &request) const;

    // The text of one cell; empty outside the rows and columns.
    QString CellText(int row, int column) const;
    // Resolves the row's icon, appending it to the image list; the fallback
    // image 0 when the shell has none. -1 outside the rows.
    int CellImage(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // A title that was set to an invalid value cannot be read back.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

private:
    bool IsRow(int row) const { return row >= 0 && row < m_count; }
    QString FullPath(int row) const;

    const CFileEntryArray &m_entries;
    const QString &m_folder;
    CImageList &m_images;
    int m_count = 0;
    QList<QVariant> m_titles;
};
