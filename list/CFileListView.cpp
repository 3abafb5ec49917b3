#include "list/CFileListView.h"

#include "framework/FrameServices.h"
#include "framework/CommandRouter.h"
#include "framework/MenuBuilder.h"
#include "framework/TapAndHold.h"
#include "res/ResourceIds.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>

CFileListView::CFileListView(QWidget *parent)
    : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(SelectedClicked | EditKeyPressed);
    setIconSize(QSize(16, 16));
    new TapAndHold(this, [this](const QPoint &screenPos) { OnContextMenu(screenPos); });
}

CFileListView::~CFileListView() = default;

void CFileListView::SetUpHeader()
{
    QHeaderView &head = *header();
    head.setStretchLastSection(false);
    head.setSectionsClickable(true);
    head.setSectionsMovable(false);
    SetUpColumns(head);
    connect(&head, &QHeaderView::sectionClicked, this, [this](int column) { OnColumnClick(column); });
}

void CFileListView::SetStyle(DWORD style)
{
    m_style = style;
    header()->setHidden(style & LVS_NOCOLUMNHEADER);
}

int CFileListView::GetItemCount() const
{
    return model() ? model()->rowCount() : 0;
}

QString CFileListView::GetItemText(int row, int column) const
{
    if (!model())
        return {};
    return model()->index(row, column).data(Qt::DisplayRole).toString();
}

int CFileListView::GetFocusedItem() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QList<int> CFileListView::SelectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QItemSelectionRange &range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CFileListView::GetSelectedCount() const
{
    return int(SelectedRows().size());
}

QString CFileListView::GetFirstSelectedName() const
{
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? QString() : GetItemText(rows.first(), NameColumn);
}

int CFileListView::GetSelectedNames(QStringList &names) const
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return 0;
    names.clear();
    for (int row : rows)
        names.append(GetItemText(row, NameColumn));
    return int(rows.size());
}

void CFileListView::SelectAll(bool select)
{
    const int count = GetItemCount();
    if (!select || count == 0) {
        selectionModel()->clearSelection();
        return;
    }
    const QItemSelection all(model()->index(0, 0), model()->index(count - 1, ColumnCount - 1));
    selectionModel()->select(all, QItemSelectionModel::Select);
}

bool CFileListView::SelectByName(const QString &name)
{
    setFocus();
    QItemSelection matches;
    for (int row = 0, count = GetItemCount(); row < count; ++row) {
        if (GetItemText(row, NameColumn) != name)
            continue;
        EnsureVisible(row);
        matches.select(model()->index(row, 0), model()->index(row, ColumnCount - 1));
    }
    selectionModel()->select(matches, QItemSelectionModel::ClearAndSelect);
    return !matches.isEmpty();
}

bool CFileListView::EnsureVisible(int row)
{
    if (row < 0 || row >= GetItemCount())
        return false;
    scrollTo(model()->index(row, 0));
    return true;
}

bool CFileListView::SaveFocus()
{
    const int focused = GetFocusedItem();
    m_focusSaved = GetItemCount() > 0 && focused >= 0;
    if (m_focusSaved)
        m_savedFocus = focused;
    return m_focusSaved;
}

void CFileListView::RestoreFocus(bool stepBack)
{
    if (!m_focusSaved)
        return;
    setFocus();
    int row = m_savedFocus;
    if (!stepBack) {
        if (!EnsureVisible(row))
            return;
    } else {
        row = std::max(row - 1, 0);
        while (!EnsureVisible(row)) {
            if (row == 0)
                return;
            --row;
        }
    }
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_focusSaved = false;
}

void CFileListView::ResetTapState()
{
    ClearSavedFocus();
}

void CFileListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (hit.isValid()) {
        SaveFocus();
        const QString name = GetItemText(hit.row(), NameColumn);
        if (!name.isEmpty())
            ExecuteFile(GetCurrentFolder() + QLatin1Char('\\') + name);
    }
    QTreeView::mouseDoubleClickEvent(event);
    RestoreFocus(false);
}

void CFileListView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex hit = indexAt(event->position().toPoint());
    m_pressPos = event->position().toPoint();
    if (m_frame && event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier && hit.isValid()
        && selectionModel()->isSelected(hit)) {
        m_pressedIndex = hit;
        return;
    }
    m_pressedIndex = QPersistentModelIndex();
    QTreeView::mousePressEvent(event);
}

void CFileListView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        m_dropTarget = m_frame->dragOverFolders(event->globalPosition().toPoint());
        return;
    }
    if (m_pressedIndex.isValid()) {
        if ((event->buttons() & Qt::LeftButton)
            && (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressedIndex = QPersistentModelIndex();
            BeginDrag();
        }
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void CFileListView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging) {
        m_dragging = false;
        m_dropTarget = nullptr;
        m_frame->dropOnFolders(event->globalPosition().toPoint());
        return;
    }
    if (m_pressedIndex.isValid()) {
        // A tap on a selected entry without a drag: it alone is selected, as after any tap.
        const QModelIndex tapped = m_pressedIndex;
        m_pressedIndex = QPersistentModelIndex();
        selectionModel()->setCurrentIndex(tapped, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void CFileListView::BeginDrag()
{
    m_frame->cutFiles();
    m_frame->setDragging(true);
    m_frame->SetTimer(FrameServices::DragScrollTimer, FrameServices::DragScrollPeriod);
    m_dragging = true;
    viewport()->grabMouse();
}

bool CFileListView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *)
{
    // Names are never edited in place: the edit key runs the Rename command instead.
    if (m_frame && index.isValid() && trigger == EditKeyPressed)
        m_frame->router().execute(ID_FILE_RENAME);
    return false;
}

void CFileListView::OnContextMenu(const QPoint &screenPos)
{
    const QModelIndex hit = indexAt(viewport()->mapFromGlobal(screenPos));
    if (hit.isValid() && !selectionModel()->isRowSelected(hit.row(), QModelIndex())) {
        selectionModel()->setCurrentIndex(model()->index(hit.row(), 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (!m_frame)
        return;
    MenuBuilder::trackPopup(IDR_CONTEXTMENU, hit.isValid() ? CONTEXT_FILE : CONTEXT_FILEEMPTY, screenPos,
                            m_frame->router());
}
