// The report-style file list: five columns, multi-selection, taps, the
// context menu and keeping the focused item across reloads. Rows come from
// the model a subclass installs; this class only reads them back through the
// model (column 0 is the Name text). Never created on its own: the concrete
// list is CFileListViewEx.
#pragma once

#include "list/CFileListCore.h"

#include <QPersistentModelIndex>
#include <QTreeView>

class FrameServices;
class QTreeWidgetItem;

// List window style bits kept by GetStyle/SetStyle.
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;

class CFileListView : public QTreeView, public CFileListCore
{
    Q_OBJECT
public:
    explicit CFileListView(QWidget *parent = nullptr);
    ~CFileListView() override;

    // The frame owns the commands of the context menu.
    void SetFrame(FrameServices *frame) { m_frame = frame; }

    // Sets (true) or clears (false) the selected state of every item.
    void SelectAll(bool select);
    // Takes the focus; selects and scrolls to every item whose Name equals
    // name exactly (case-sensitive) and deselects all others. True when any matched.
    bool SelectByName(const QString &name);

    // Remembers the focused item's index; false (and nothing saved) when no
    // item has the focus.
    bool SaveFocus();
    // Only when an item was saved: takes the focus and re-focuses and
    // re-selects the saved index. With stepBack (after a delete) it tries one
    // item earlier, and earlier again while that index does not exist,
    // giving up below 0; without stepBack a vanished index restores nothing.
    // The saved record is used up once an item is reached.
    void RestoreFocus(bool stepBack);
    void ClearSavedFocus() { m_focusSaved = false; }
    // Forgets what the list remembered of earlier taps and of its focus (the
    // tree calls it before it shows another folder).
    void ResetTapState();

    // 0 selected: returns 0 and leaves names untouched. Otherwise replaces
    // names with the selected items' Name texts in list order; returns the count.
    int GetSelectedNames(QStringList &names) const;
    int GetSelectedCount() const;
    // Empty when nothing is selected.
    QString GetFirstSelectedName() const;
    int GetItemCount() const;
    // -1 when no item has the focus.
    int GetFocusedItem() const;
    // Empty outside the rows and columns.
    QString GetItemText(int row, int column) const;
    // Empties the list (the entries go too).
    virtual void DeleteAllItems() = 0;

    // LVS_ bits; LVS_NOCOLUMNHEADER hides the column header.
    DWORD GetStyle() const { return m_style; }
    void SetStyle(DWORD style);

    // The tree item under the pointer while files are dragged onto the tree.
    QTreeWidgetItem *DropTarget() const { return m_dropTarget; }

protected:
    // A tap on a column header.
    virtual void OnColumnClick(int column) = 0;
    // The tap-and-hold gesture at a screen point: selects the item under it
    // and tracks the "File" or "FileEmpty" pop-up for the frame.
    void OnContextMenu(const QPoint &screenPos);
    // Call once the model is set: column widths, header taps.
    void SetUpHeader();

    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // A press on a selected entry keeps the selection and arms a drag of the
    // selected files; a move past the drag distance begins it. The list then
    // holds the pointer capture until the release, wherever that happens.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // In-place label edits are refused; files are renamed by the frame's command.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

    FrameServices *m_frame = nullptr;

private:
    bool EnsureVisible(int row);
    QList<int> SelectedRows() const;
    void BeginDrag();

    QTreeWidgetItem *m_dropTarget = nullptr;
    QPersistentModelIndex m_pressedIndex; // a selected entry pressed: a drag may begin
    QPoint m_pressPos;
    bool m_dragging = false; // this list began the frame's current drag
    DWORD m_style = LVS_REPORT | LVS_EDITLABELS;

    int m_savedFocus = -1; // index of the focused item at SaveFocus
    bool m_focusSaved = false;
};
