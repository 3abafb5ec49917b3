#include "list/CFileListCtrl.h"

#include "list/CFileTypeInfo.h"
#include "list/DisplayFormats.h"
#include "list/TextSort.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/StringTable.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

constexpr int DataRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;
constexpr int TitleLimit = 30; // characters of a column title the sort reads

// A row that orders itself by the list's text-sort state: the list's sort
// runs a stable sort over this comparison.
class ResultRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const auto *list = static_cast<const CFileListCtrl *>(treeWidget());
        const int column = list->sortColumn();
        return TextSort::Compare(list->TextSortState(), text(column), other.text(column)) < 0;
    }
};

} // namespace

CFileListCtrl::CFileListCtrl(QWidget *parent)
    : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(NoEditTriggers);
    setIconSize(QSize(16, 16));
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &CFileListCtrl::SortByColumn);
}

void CFileListCtrl::CreateColumns()
{
    setColumnCount(ColumnCount);
    QStringList titles;
    for (const FileListColumn &column : Columns)
        titles << QString::fromLatin1(column.title);
    setHeaderLabels(titles);
    for (int column = 0; column < ColumnCount; ++column) {
        if (Columns[column].rightAligned)
            headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    SetUpColumns(*header());
}

int CFileListCtrl::InsertItem(int row, const QString &name, int data)
{
    auto *item = new ResultRow(QStringList(name));
    item->setData(0, DataRole, data);
    for (int column = 0; column < ColumnCount; ++column) {
        if (Columns[column].rightAligned)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    SetItemImage(item, 0);
    if (row < 0 || row > topLevelItemCount())
        row = topLevelItemCount();
    insertTopLevelItem(row, item);
    return row;
}

void CFileListCtrl::SetItemImage(QTreeWidgetItem *item, int image)
{
    item->setData(0, ImageRole, image);
    item->setIcon(0, m_imageList.icon(image));
}

void CFileListCtrl::AddFileRow(int row, const QString &path)
{
    QTreeWidgetItem *item = topLevelItem(row);
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(path), &data);
    if (!item || find == INVALID_HANDLE_VALUE)
        return;
    FindClose(find);
    CFileTypeInfo type;
    type.SetPath(path.left(path.lastIndexOf(QLatin1Char('\\')) + 1) + fromWide(data.cFileName));
    item->setText(TypeColumn, type.GetTypeName());
    int image = 0;
    type.GetIconIndex(m_imageList, image, 0);
    if (image > 0)
        SetItemImage(item, image);
    item->setText(SizeColumn, FormatFileSize(data.nFileSizeHigh, data.nFileSizeLow));
    item->setText(ChangedColumn, FormatFileTime(data.ftLastWriteTime));
    item->setText(AttrsColumn, FormatAttributes(data.dwFileAttributes));
}

void CFileListCtrl::SortByColumn(int column)
{
    const int code = TextSort::ColumnCode(headerItem()->text(column).left(TitleLimit));
    if (code == 0) {
        MessageBoxW(this, QStringLiteral("Sorting on this column is not posible"), applicationTitle(),
                    MB_OK | MB_ICONEXCLAMATION);
    } else {
        m_textSortState = TextSort::NextState(m_textSortState, code);
        sortItems(column, Qt::AscendingOrder); // the direction is in the state
    }
    for (int row = 0; row < topLevelItemCount(); ++row)
        topLevelItem(row)->setData(0, DataRole, row);
}

void CFileListCtrl::ShowFolder(const QString &path, bool)
{
    m_currentFolder = path;
}

QString CFileListCtrl::GetItemText(int row, int column) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

int CFileListCtrl::GetItemData(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->data(0, DataRole).toInt() : -1;
}

int CFileListCtrl::GetItemImage(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->data(0, ImageRole).toInt() : -1;
}

int CFileListCtrl::GetSelectedRow() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void CFileListCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    setFocus();
    // The Name text of a hit is its full path.
    if (const QTreeWidgetItem *hit = itemAt(event->position().toPoint()); hit && !hit->text(0).isEmpty())
        ExecuteFile(hit->text(0));
    QTreeWidget::mouseDoubleClickEvent(event);
}
