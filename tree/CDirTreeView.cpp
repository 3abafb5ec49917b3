#include "tree/CDirTreeView.h"

#include "framework/FrameServices.h"
#include "framework/MenuBuilder.h"
#include "framework/TapAndHold.h"
#include "list/CFileListViewEx.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/UiSink.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "tree/CDirTreeItem.h"

#include <QApplication>
#include <QCursor>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QStyleOptionViewItem>

const QString CDirTreeView::DummyItemText = QStringLiteral("~Dummy Item");
const QString CDirTreeView::UpdateItemText = QStringLiteral("~Update this item");
const QString CDirTreeView::NetworkPlacesText = QStringLiteral("My Network Places");

namespace {

constexpr int ImageRole = Qt::UserRole;
constexpr int SelectedImageRole = Qt::UserRole + 1;

QString childText(const QTreeWidgetItem *item, int index)
{
    const QTreeWidgetItem *child = item ? item->child(index) : nullptr;
    return child ? child->text(0) : QString();
}

QTreeWidgetItem *childNamed(const QTreeWidgetItem *parent, const QString &text)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

bool isRealFolder(const QTreeWidgetItem *item)
{
    return item && !CDirTreeItem::IsPlaceholder(item->text(0));
}

// The device's name: the host name, each byte of it one character.
QString hostName()
{
    char buffer[100] = {};
    if (winsock::gethostname(buffer, sizeof buffer) != 0)
        return QString();
    return QString::fromLatin1(buffer);
}

// How near the top or bottom edge a dragged pointer scrolls the tree.
constexpr int EdgeMargin = 10;

// Splits a device path after its leading backslash into its components.
QStringList components(const QString &path)
{
    return path.mid(1).split(QLatin1Char('\\'));
}

} // namespace

CDirTreeView::CDirTreeView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(16, 16));

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { OnItemExpanding(item, true); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) { OnItemExpanding(item, false); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { OnSelChanged(item); });
    new TapAndHold(this, [this](const QPoint &screenPos) { OnTapAndHold(screenPos); });
}

CDirTreeView::~CDirTreeView() = default;

void CDirTreeView::OnInitialUpdate()
{
    m_imageList.Create(LoadBitmap(IDB_TREEIMAGES), bitmapImageSize(IDB_TREEIMAGES).width(), QColor(0xFFFFFF));

    m_deviceRoot = new CDirTreeItem(this, QStringList(hostName()));
    m_deviceRoot->setFlags(m_deviceRoot->flags() | Qt::ItemIsEditable);
    SetItemImage(m_deviceRoot, Handheld, Handheld);
    InsertPlaceholder(m_deviceRoot, DummyItemText);

    m_networkRoot = new CDirTreeItem(this, QStringList(NetworkPlacesText));
    m_networkRoot->setFlags(m_networkRoot->flags() | Qt::ItemIsEditable);
    SetItemImage(m_networkRoot, NetworkEmpty, NetworkEmpty);

    RefreshFrom(nullptr, QStringLiteral("\\"), true);
}

void CDirTreeView::OnFirstActivate()
{
    if (m_firstShown)
        return;
    m_firstShown = true;
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

QString CDirTreeView::GetSelectedPath() const
{
    return GetItemPath(currentItem());
}

QString CDirTreeView::GetItemPath(QTreeWidgetItem *item) const
{
    QString path;
    QTreeWidgetItem *walk = item;
    for (; walk && walk->parent(); walk = walk->parent())
        path.prepend(walk->text(0) + QLatin1Char('\\'));
    if (walk && walk != item && walk == m_networkRoot)
        return path;
    return QLatin1Char('\\') + path;
}

QTreeWidgetItem *CDirTreeView::SelectPath(const QString &path)
{
    if (path.startsWith(QStringLiteral("\\\\")) || !m_deviceRoot)
        return nullptr;
    QTreeWidgetItem *item = m_deviceRoot;
    QString accumulated = QStringLiteral("\\");
    QStringList names = components(path);
    if (!names.isEmpty() && names.last().isEmpty())
        names.removeLast();
    for (const QString &name : names) {
        if (childText(item, 0) == DummyItemText)
            item->child(0)->setText(0, UpdateItemText);
        SetExpandedQuietly(item, true);
        AddSubfolders(item, item->child(0), accumulated, false);
        item = childNamed(item, name);
        if (!item)
            return nullptr;
        accumulated += name + QLatin1Char('\\');
    }
    scrollToItem(item);
    setCurrentItem(item);
    return item;
}

QTreeWidgetItem *CDirTreeView::FindItemByPath(const QString &path) const
{
    if (path.isEmpty() || path == QStringLiteral("\\"))
        return m_deviceRoot;
    QTreeWidgetItem *item = m_deviceRoot;
    for (const QString &name : components(path)) {
        QTreeWidgetItem *found = nullptr;
        for (int i = 0; item && i < item->childCount() && !found; ++i) {
            // Item texts are read into a MAX_PATH buffer.
            if (item->child(i)->text(0).left(MAX_PATH - 1) == name)
                found = item->child(i);
        }
        item = found;
    }
    return item;
}

void CDirTreeView::Refresh()
{
    RefreshFrom(nullptr, QStringLiteral("\\"), true);
    viewport()->repaint();
}

void CDirTreeView::RefreshFrom(QTreeWidgetItem *item, const QString &path, bool force)
{
    if (!item) {
        item = topLevelItem(0);
        if (m_list)
            m_list->ShowFolder(GetSelectedPath(), force);
    }
    if (item) {
        if (item->childCount() == 0) {
            if (HasSubfolders(path)) {
                InsertPlaceholder(item, DummyItemText);
                SetExpandedQuietly(item, false);
            }
        } else if (force && childText(item, 0) == DummyItemText && !HasSubfolders(path)) {
            delete item->child(0);
        }
        if (isRealFolder(item->child(0))) {
            for (int i = 0; i < item->childCount();) {
                QTreeWidgetItem *child = item->child(i);
                const QString childPath = path + child->text(0);
                if (force && !FindExists(wide(childPath))) {
                    delete child;
                    continue;
                }
                RefreshFrom(child, childPath + QLatin1Char('\\'), force);
                ++i;
            }
        }
        AddSubfolders(item, item->child(0), path, force);
    }
    RefreshNetworkPlaces(nullptr, QString());
}

void CDirTreeView::AddSubfolders(QTreeWidgetItem *parent, QTreeWidgetItem *firstChild, const QString &path,
                                 bool force)
{
    const QString first = firstChild ? firstChild->text(0) : QString();
    if (!parent || !(first == UpdateItemText || (force && first != DummyItemText)))
        return;
    if (first == UpdateItemText)
        delete firstChild;
    InsertSubfolders(parent, path, force);
}

void CDirTreeView::RefreshNetworkPlaces(QTreeWidgetItem *item, const QString &path)
{
    WaitCursor wait;
    if (!item)
        item = m_networkRoot;
    if (!item)
        return;
    QTreeWidgetItem *first = item->child(0);

    if (item == m_networkRoot) {
        DWORD count = 0;
        CRegistryAccess registry;
        registry.ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::Count, count);
        int children = item->childCount();
        if (children > 0 || count == 0) {
            if (childText(item, 0) == DummyItemText) {
                delete item->child(0);
                first = nullptr;
                children = 0;
            }
            if (count != DWORD(children)) {
                SetItemImage(item, count > 0 ? NetworkMapped : NetworkEmpty, count > 0 ? NetworkMapped : NetworkEmpty);
                for (DWORD i = 0; i < count; ++i) {
                    std::unique_ptr<WCHAR[]> value;
                    if (registry.ReadString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey,
                                            RegistryLayout::netPath(int(i)), value) != RegSuccess)
                        continue;
                    const QString netPath = fromWide(value.get());
                    if (childNamed(item, netPath))
                        continue;
                    const int image = IsReachable(netPath) ? NetworkDrive : NetworkDriveUnreachable;
                    QTreeWidgetItem *added = InsertFolder(item, netPath, image, image);
                    // A path mapped while the branch is shown is selected.
                    if (children > 0 && DWORD(children) + 1 == count)
                        setCurrentItem(added);
                    if (HasSubfolders(netPath + QLatin1Char('\\')))
                        InsertPlaceholder(added, DummyItemText);
                }
            }
        } else {
            InsertPlaceholder(item, DummyItemText);
        }
    }

    if (isRealFolder(first)) {
        for (int i = 0; i < item->childCount();) {
            QTreeWidgetItem *child = item->child(i);
            const QString childPath = path + child->text(0);
            if (FindExists(wide(childPath))) {
                RefreshNetworkPlaces(child, childPath + QLatin1Char('\\'));
            } else if (item != m_networkRoot) {
                delete child;
                continue;
            } // mapped paths stay even while they cannot be reached
            ++i;
        }
    }

    if (childText(item, 0) == UpdateItemText) {
        delete item->child(0);
        InsertSubfolders(item, path, true);
    }
}

void CDirTreeView::DeleteChildren(QTreeWidgetItem *item)
{
    m_busy = true;
    while (item->childCount() > 0)
        delete item->child(0);
    m_busy = false;
}

bool CDirTreeView::IsNetworkPathSelected() const
{
    const QTreeWidgetItem *item = currentItem();
    return item && m_networkRoot && item->parent() == m_networkRoot;
}

void CDirTreeView::OnTimer(UINT id)
{
    if (id != FrameServices::DragScrollTimer)
        return;
    const QPoint screenPos = QCursor::pos();
    if (!IsUnder(screenPos))
        return;
    const QPoint pos = viewport()->mapFromGlobal(screenPos);
    if (pos.y() >= EdgeMargin && pos.y() <= viewport()->height() - EdgeMargin)
        return;
    QTreeWidgetItem *target = ScrollTarget(pos);
    if (target)
        scrollToItem(target);
    SetDropTarget(target);
}

QTreeWidgetItem *CDirTreeView::ScrollTarget(const QPoint &pos) const
{
    QTreeWidgetItem *first = itemAt(QPoint(0, 0));
    if (!first)
        return nullptr;
    if (pos.y() < EdgeMargin) {
        QTreeWidgetItem *parent = first->parent();
        const int index = parent ? parent->indexOfChild(first) : indexOfTopLevelItem(first);
        if (index == 0)
            return parent;
        return parent ? parent->child(index - 1) : topLevelItem(index - 1);
    }
    // The last fully visible row, as the control counts its visible items.
    const int visibleCount = std::max(1, viewport()->height() / std::max(1, visualItemRect(first).height()));
    QTreeWidgetItem *last = first;
    for (int i = 1; i < visibleCount; ++i) {
        QTreeWidgetItem *below = itemBelow(last);
        if (!below)
            break;
        last = below;
    }
    auto nextSibling = [this](QTreeWidgetItem *item) -> QTreeWidgetItem * {
        if (!item)
            return nullptr;
        QTreeWidgetItem *parent = item->parent();
        const int index = (parent ? parent->indexOfChild(item) : indexOfTopLevelItem(item)) + 1;
        return parent ? parent->child(index) : topLevelItem(index);
    };
    if (QTreeWidgetItem *next = nextSibling(last))
        return next;
    return nextSibling(last->parent());
}

bool CDirTreeView::IsUnder(const QPoint &screenPos) const
{
    const QWidget *under = QApplication::widgetAt(screenPos);
    return under && (under == this || isAncestorOf(under));
}

void CDirTreeView::SetDropTarget(QTreeWidgetItem *item)
{
    if (m_dropTarget) {
        m_dropTarget->setData(0, Qt::BackgroundRole, QVariant());
        m_dropTarget->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_dropTarget = item;
    if (item) {
        item->setBackground(0, palette().brush(QPalette::Highlight));
        item->setForeground(0, palette().brush(QPalette::HighlightedText));
    }
    viewport()->repaint();
}

QTreeWidgetItem *CDirTreeView::DragOver(const QPoint &screenPos)
{
    SetDropTarget(IsUnder(screenPos) ? itemAt(viewport()->mapFromGlobal(screenPos)) : nullptr);
    return m_dropTarget;
}

void CDirTreeView::BeginDrag(QTreeWidgetItem *item)
{
    m_dragSource = item;
    m_frame->setDragging(true);
    m_frame->SetTimer(FrameServices::DragScrollTimer, FrameServices::DragScrollPeriod);
    m_frame->cutFolder(GetItemPath(item));
    viewport()->grabMouse();
}

void CDirTreeView::EndDrag(const QPoint &screenPos)
{
    // The paste may rebuild the branches, so the items are let go first.
    const bool overTree = IsUnder(screenPos);
    const QString target = GetItemPath(m_dropTarget);
    SetDropTarget(nullptr);
    m_dragSource = nullptr;
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (overTree)
        m_frame->paste(target);
    m_frame->setDragging(false);
    m_frame->KillTimer(FrameServices::DragScrollTimer);
}

void CDirTreeView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    m_pressedItem = (m_frame && event->button() == Qt::LeftButton && item && item->parent()) ? item : nullptr;
    m_pressPos = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void CDirTreeView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_frame && m_frame->isDragging()) {
        DragOver(event->globalPosition().toPoint());
        return;
    }
    if (m_pressedItem && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        QTreeWidgetItem *item = m_pressedItem;
        m_pressedItem = nullptr;
        BeginDrag(item);
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CDirTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressedItem = nullptr;
    if (m_frame && m_frame->isDragging()) {
        EndDrag(event->globalPosition().toPoint());
        setState(NoState);
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

int CDirTreeView::GetItemImage(const QTreeWidgetItem *item, bool selected)
{
    return item ? item->data(0, selected ? SelectedImageRole : ImageRole).toInt() : -1;
}

HANDLE CDirTreeView::FindFolderEntries(const QString &path, WIN32_FIND_DATAW &data)
{
    // Only names and the directory bit are wanted: the basic records spare
    // reading every file's facts in a big folder.
    return FindFirstFileExW(wide(path + QStringLiteral("*.*")), FindExInfoBasic, &data, FindExSearchNameMatch,
                            nullptr, 0);
}

bool CDirTreeView::HasSubfolders(const QString &path) const
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFolderEntries(path, data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do
        found = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    while (!found && FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

bool CDirTreeView::IsReachable(const QString &networkPath)
{
    QString pattern = networkPath;
    if (!pattern.endsWith(QLatin1Char('\\')))
        pattern += QLatin1Char('\\');
    pattern += QLatin1Char('*');
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide(pattern), &data);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        return true;
    }
    return GetLastError() == ERROR_NO_MORE_FILES;
}

void CDirTreeView::InsertSubfolders(QTreeWidgetItem *parent, const QString &path, bool skipExisting)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFolderEntries(path, data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const QString name = fromWide(data.cFileName);
        if (skipExisting && childNamed(parent, name))
            continue;
        QTreeWidgetItem *item = InsertFolder(parent, name, ClosedFolder, OpenFolder);
        if (HasSubfolders(path + name + QLatin1Char('\\')))
            InsertPlaceholder(item, DummyItemText);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

QTreeWidgetItem *CDirTreeView::InsertFolder(QTreeWidgetItem *parent, const QString &name, int image,
                                            int selectedImage)
{
    int row = 0;
    while (row < parent->childCount() && !CDirTreeItem::SortsBefore(name, parent->child(row)->text(0)))
        ++row;
    auto *item = new CDirTreeItem(QStringList(name));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    SetItemImage(item, image, selectedImage);
    parent->insertChild(row, item);
    return item;
}

void CDirTreeView::InsertPlaceholder(QTreeWidgetItem *parent, const QString &text)
{
    parent->addChild(new CDirTreeItem(QStringList(text)));
}

void CDirTreeView::SetItemImage(QTreeWidgetItem *item, int image, int selectedImage)
{
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
    QIcon icon;
    for (QIcon::State state : {QIcon::Off, QIcon::On}) {
        icon.addPixmap(m_imageList.icon(image).pixmap(iconSize()), QIcon::Normal, state);
        icon.addPixmap(m_imageList.icon(selectedImage).pixmap(iconSize()), QIcon::Selected, state);
    }
    item->setIcon(0, icon);
}

void CDirTreeView::SetExpandedQuietly(QTreeWidgetItem *item, bool expanded)
{
    const bool wasQuiet = m_quietExpansion;
    m_quietExpansion = true;
    item->setExpanded(expanded);
    m_quietExpansion = wasQuiet;
}

// Runs once the view has changed the item's state; the branch is rebuilt
// before anything is painted, so the user sees the fresh subfolders.
void CDirTreeView::OnItemExpanding(QTreeWidgetItem *item, bool expand)
{
    if (m_quietExpansion || !item)
        return;
    m_quietExpansion = true;
    if (item != m_networkRoot) {
        DeleteChildren(item);
        InsertPlaceholder(item, expand ? UpdateItemText : DummyItemText);
    }
    RefreshFrom(nullptr, QStringLiteral("\\"), false);
    m_quietExpansion = false;
}

void CDirTreeView::OnSelChanged(QTreeWidgetItem *item)
{
    if (!m_list)
        return;
    m_list->ClearSavedFocus();
    if (item && item == m_networkRoot) {
        m_list->DeleteAllItems();
        return;
    }
    if (m_busy)
        return;
    m_list->ResetTapState();
    m_list->ShowFolder(GetSelectedPath(), false);
    m_list->viewport()->repaint();
}

bool CDirTreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool wanted = trigger == AllEditTriggers || (editTriggers() & trigger);
    if (wanted && state() != EditingState && !CanRename(itemFromIndex(index)))
        return false;
    if (!QTreeWidget::edit(index, trigger, event))
        return false;
    if (state() == EditingState)
        m_editIndex = index;
    return true;
}

void CDirTreeView::commitData(QWidget *editor)
{
    QTreeWidgetItem *item = m_editIndex.isValid() ? itemFromIndex(m_editIndex) : nullptr;
    m_editIndex = QPersistentModelIndex();
    if (!item)
        return;
    const QMetaProperty text = editor->metaObject()->userProperty();
    OnEndLabelEdit(item, text.read(editor).toString());
}

bool CDirTreeView::CanRename(QTreeWidgetItem *item) const
{
    if (!item)
        return false;
    const QString path = GetItemPath(item);
    if (path == QStringLiteral("\\") || path == QStringLiteral("\\Recycled\\"))
        return false;
    const DWORD attributes = GetFileAttributesW(wide(path.chopped(1)));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_TEMPORARY);
}

void CDirTreeView::OnEndLabelEdit(QTreeWidgetItem *item, const QString &text)
{
    const QString parentPath = GetItemPath(item->parent());
    if (!MoveFileW(wide(parentPath + item->text(0)), wide(parentPath + text))) {
        MessageBoxW(this, QStringLiteral("Failed to rename"), applicationTitle(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    item->setText(0, text);
    if (item->parent())
        item->parent()->sortChildren(0, Qt::AscendingOrder);
    if (m_list)
        m_list->ShowFolder(parentPath + text, false);
}

void CDirTreeView::OnTapAndHold(const QPoint &screenPos)
{
    const QPoint pos = viewport()->mapFromGlobal(screenPos);
    QTreeWidgetItem *item = itemAt(pos);
    if (!item)
        return;
    if (IsOnIconOrLabel(item, pos)) {
        setFocus();
        if (item != currentItem()) {
            setCurrentItem(item);
            if (m_list)
                m_list->ShowFolder(GetItemPath(item), true);
        }
    }
    int popup = CONTEXT_DIR;
    if (item == m_networkRoot)
        popup = CONTEXT_NETWORK;
    else if (item->parent() && item->parent() == m_networkRoot)
        popup = CONTEXT_NETWORKFOLDER;
    if (m_frame)
        MenuBuilder::trackPopup(IDR_CONTEXTMENU, popup, screenPos, m_frame->router());
}

bool CDirTreeView::IsOnIconOrLabel(QTreeWidgetItem *item, const QPoint &pos) const
{
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    const QSize label = itemDelegateForIndex(index)->sizeHint(option, index);
    return QRect(option.rect.topLeft(), QSize(label.width(), option.rect.height())).contains(pos);
}
