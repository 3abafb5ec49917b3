#include "list/FileListModel.h"

#include "framework/CImageList.h"
#include "list/CFileListCore.h"
#include "list/CFileTypeInfo.h"

FileListModel::FileListModel(const CFileEntryArray &entries, const QString &folder, CImageList &images,
                             QObject *parent)
    : QAbstractTableModel(parent)
    , m_entries(entries)
    , m_folder(folder)
    , m_images(images)
{
    for (const FileListColumn &column : CFileListCore::Columns)
        m_titles.append(QString::fromLatin1(column.title));
}

void FileListModel::SetItemCount(int count)
{
    Q_ASSERT(count >= 0 && count <= m_entries.GetSize());
    beginResetModel();
    m_count = count;
    endResetModel();
}

void FileListModel::InvalidateAll()
{
    if (m_count > 0)
        emit dataChanged(index(0, 0), index(m_count - 1, CFileListCore::ColumnCount - 1));
}

void FileListModel::GetDispInfo(CellRequest &request) const
{
    if (!IsRow(request.item))
        return;
    const bool isColumn = request.subItem >= 0 && request.subItem < CFileListCore::ColumnCount;
    if ((request.mask & LVIF_TEXT) && isColumn && request.text && request.textMax > 0)
        copyToWide(CellText(request.item, request.subItem), request.text, request.textMax);
    if ((request.mask & LVIF_IMAGE) && request.subItem == CFileListCore::NameColumn)
        request.image = CellImage(request.item);
}

QString FileListModel::FullPath(int row) const
{
    return m_folder + QLatin1Char('\\') + m_entries[row]->Name();
}

QString FileListModel::CellText(int row, int column) const
{
    if (!IsRow(row))
        return {};
    const CFileEntry &entry = *m_entries[row];
    switch (column) {
    case CFileListCore::NameColumn:
        return entry.Name();
    case CFileListCore::SizeColumn:
        return entry.SizeText();
    case CFileListCore::TypeColumn: {
        CFileTypeInfo type;
        type.SetPath(FullPath(row));
        return type.GetTypeName();
    }
    case CFileListCore::ChangedColumn:
        return entry.TimeText();
    case CFileListCore::AttrsColumn:
        return entry.AttributesText();
    default:
        return {};
    }
}

int FileListModel::CellImage(int row) const
{
    if (!IsRow(row))
        return -1;
    CFileTypeInfo type;
    type.SetPath(FullPath(row));
    int image = 0;
    type.GetIconIndex(m_images, image, 0);
    return image < 1 ? 0 : image;
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CFileListCore::ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !IsRow(index.row()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::DecorationRole:
        if (index.column() == CFileListCore::NameColumn)
            return m_images.icon(CellImage(index.row()));
        return {};
    case Qt::TextAlignmentRole:
        if (CFileListCore::Columns[index.column()].rightAligned)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_titles[section];
    if (role == Qt::TextAlignmentRole && CFileListCore::Columns[section].rightAligned)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool FileListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size()
        || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_titles[section] = value;
    emit headerDataChanged(orientation, section, section);
    return true;
}
