// The find result list: a plain list control with the file list core mixed
// in. Unlike the main file list it holds its cells as text: the caller
// inserts each row with its Name text (a full path), AddFileRow fills the
// other columns once from the file, and a header tap sorts the rows by
// comparing those texts (see TextSort). Every row's data value is its row
// index, set again after each sort attempt.
//
// Single selection; names are never edited in place.
#pragma once

#include "list/CFileListCore.h"

#include <QTreeWidget>

class CFileListCtrl : public QTreeWidget, public CFileListCore
{
    Q_OBJECT
public:
    explicit CFileListCtrl(QWidget *parent = nullptr);

    // The core's column set-up: the five columns with their titles, widths
    // and alignments; rows show the core's images.
    void CreateColumns();

    // Inserts a row at index row (the end when out of range) with its Name
    // text and data value and the fallback image 0; returns its index.
    int InsertItem(int row, const QString &name, int data);
    // Fills columns 1 to 4 and the image of row from the file at path (the
    // file's own icon only when the image list gives it an index above 0).
    // A path that finds nothing leaves the row as it is.
    void AddFileRow(int row, const QString &path);
    // Text sort by the column's title; an unknown title is reported and
    // nothing moves. The data values are renumbered in both cases.
    void SortByColumn(int column);
    int TextSortState() const { return m_textSortState; }

    // The result list shows hits, not a folder: it only keeps the path.
    void ShowFolder(const QString &path, bool force) override;

    int GetItemCount() const { return topLevelItemCount(); }
    // Empty outside the rows and columns.
    QString GetItemText(int row, int column) const;
    // -1 outside the rows.
    int GetItemData(int row) const;
    int GetItemImage(int row) const;
    // -1 when no row is selected.
    int GetSelectedRow() const;
    int GetSelectedCount() const { return int(selectedItems().size()); }
    void DeleteAllItems() { clear(); }

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void SetItemImage(QTreeWidgetItem *item, int image);
};
