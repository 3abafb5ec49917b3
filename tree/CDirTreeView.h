// The folder tree: the upper pane of the main frame. Shows the device's
// folders under a root item named after the device and the mapped network
// paths under "My Network Places", loaded lazily: a placeholder child stands
// in for a folder's subfolders until the folder is expanded.
//
// Items are QTreeWidgetItem; "no item" is nullptr. Folder paths handed out
// end with a backslash ("\" for the device root, "\Windows\" for a folder).
//
// Expanding or collapsing an item by the user (button, double tap, keys, or
// QTreeWidgetItem::setExpanded from outside) re-reads the branch: its
// subfolders are read afresh at every expansion and dropped at every
// collapse. Expansions the tree makes itself (SelectPath) load only what is
// missing.
//
// The list pane may be null (nothing is shown then); without a frame the
// context menu is not shown, as it has no owner to route its commands to.
#pragma once

#include "framework/CImageList.h"
#include "platform/Types.h"

#include <QPersistentModelIndex>
#include <QTreeWidget>

class FrameServices;
class CFileListViewEx;

class CDirTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CDirTreeView(QWidget *parent = nullptr);
    ~CDirTreeView() override;

    static const QString DummyItemText;  // "~Dummy Item"
    static const QString UpdateItemText; // "~Update this item"
    static const QString NetworkPlacesText; // "My Network Places"

    void SetFrame(FrameServices *frame) { m_frame = frame; }
    void SetListView(CFileListViewEx *list) { m_list = list; }

    // Builds the two root items and reads the tree from the root (the view's
    // initial update); selecting the device root happens the first time the
    // view is shown (OnFirstActivate).
    void OnInitialUpdate();
    void OnFirstActivate();

    QString GetSelectedPath() const;
    // "\" for null, the device root and "My Network Places"; "\\srv\share\"
    // for a mapped path and "\\srv\share\Docs\" below it.
    QString GetItemPath(QTreeWidgetItem *item) const;
    // Walks the device folders by exact (case-sensitive) names, loading and
    // expanding each level; selects and returns the folder reached. A trailing
    // backslash is optional. Network paths and unknown names give null (the
    // tree stays expanded as far as it got).
    QTreeWidgetItem *SelectPath(const QString &path);
    // Only among loaded items, case-sensitive; "" and "\" give the device
    // root. Pass folder paths without a trailing backslash.
    QTreeWidgetItem *FindItemByPath(const QString &path) const;
    // Forced check from the root, then a repaint.
    void Refresh();
    // Re-checks item (null: from the device root, which also makes the list
    // show the selected folder with force) whose folder is path. With force,
    // children that no longer exist are removed and new subfolders added.
    void RefreshFrom(QTreeWidgetItem *item, const QString &path, bool force);
    // Loads the subfolders of path under parent when firstChild is
    // "~Update this item", or with force unless it is "~Dummy Item".
    void AddSubfolders(QTreeWidgetItem *parent, QTreeWidgetItem *firstChild, const QString &path, bool force);
    // Brings "My Network Places" (item null) or a branch below it in line
    // with NetPaths and the folders; under the wait cursor.
    void RefreshNetworkPlaces(QTreeWidgetItem *item, const QString &path);
    // Deletes item's children; the selection changes this causes are ignored.
    void DeleteChildren(QTreeWidgetItem *item);
    bool IsNetworkPathSelected() const;
    // Drag auto-scroll; the frame passes every timer id here.
    void OnTimer(UINT id);

    // Drag tracking, for a drag begun here or in the list (both hold the
    // pointer capture themselves, so the position is a screen point).
    // Over this tree the item under the point (or none) becomes the
    // highlighted drop target; over any other window the highlight goes.
    // Returns the drop target.
    QTreeWidgetItem *DragOver(const QPoint &screenPos);
    // The drop: over this tree pastes into the drop target's folder ("\"
    // without one); anywhere else pastes nothing. Always ends the drag:
    // capture released, highlight removed, dragging flag and timer 3 off.
    void EndDrag(const QPoint &screenPos);

    QTreeWidgetItem *DeviceRoot() const { return m_deviceRoot; }
    QTreeWidgetItem *NetworkRoot() const { return m_networkRoot; }
    QTreeWidgetItem *DropTarget() const { return m_dropTarget; }

    // Tree image list indices.
    enum Image { ClosedFolder = 0, OpenFolder = 1, Handheld = 2, NetworkMapped = 3, NetworkEmpty = 4,
                 NetworkDrive = 7, NetworkDriveUnreachable = 8 };
    // The item's image (normal, or the one shown while it is selected).
    static int GetItemImage(const QTreeWidgetItem *item, bool selected = false);

protected:
    // Begins an in-place rename only for a folder that may be renamed.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    // Ends an in-place rename: the folder is moved on disk; the control never
    // takes the edited text itself.
    void commitData(QWidget *editor) override;
    // A press on an item with a parent arms a folder drag; a move past the
    // drag distance begins it, and then moves and the release are the drag's.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Starts the enumeration of path + "*.*" (path ending in "\") for names
    // and directory bits only.
    static HANDLE FindFolderEntries(const QString &path, WIN32_FIND_DATAW &data);
    bool HasSubfolders(const QString &path) const;
    static bool IsReachable(const QString &networkPath);
    void InsertSubfolders(QTreeWidgetItem *parent, const QString &path, bool skipExisting);
    QTreeWidgetItem *InsertFolder(QTreeWidgetItem *parent, const QString &name, int image, int selectedImage);
    void InsertPlaceholder(QTreeWidgetItem *parent, const QString &text);
    void SetItemImage(QTreeWidgetItem *item, int image, int selectedImage);
    void SetExpandedQuietly(QTreeWidgetItem *item, bool expanded);

    void OnItemExpanding(QTreeWidgetItem *item, bool expand);
    void OnSelChanged(QTreeWidgetItem *item);
    bool CanRename(QTreeWidgetItem *item) const;
    void OnEndLabelEdit(QTreeWidgetItem *item, const QString &text);
    void OnTapAndHold(const QPoint &screenPos);
    bool IsOnIconOrLabel(QTreeWidgetItem *item, const QPoint &pos) const;
    void BeginDrag(QTreeWidgetItem *item);
    bool IsUnder(const QPoint &screenPos) const;
    void SetDropTarget(QTreeWidgetItem *item);
    // The next target of the edge auto-scroll at client point pos, or null.
    QTreeWidgetItem *ScrollTarget(const QPoint &pos) const;

    FrameServices *m_frame = nullptr;
    CImageList m_imageList;
    CFileListViewEx *m_list = nullptr;
    QTreeWidgetItem *m_networkRoot = nullptr;
    QTreeWidgetItem *m_deviceRoot = nullptr;
    QTreeWidgetItem *m_dragSource = nullptr;
    QTreeWidgetItem *m_dropTarget = nullptr; // shown with the drop highlight
    QTreeWidgetItem *m_pressedItem = nullptr; // armed for a drag by a press
    QPoint m_pressPos;
    QPersistentModelIndex m_editIndex; // the item being renamed in place
    bool m_busy = false;
    bool m_firstShown = false;
    bool m_quietExpansion = false; // set while the tree expands or collapses an item itself
};
