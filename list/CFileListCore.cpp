#include "list/CFileListCore.h"

#include "res/Pictures.h"
#include "res/ResourceIds.h"

#include <QHeaderView>

const FileListColumn CFileListCore::Columns[ColumnCount] = {
    {"Name", 165, false},
    {"Size", 60, true},
    {"Type", 130, false},
    {"Changed", 130, false},
    {"Attrs", 50, false},
};

CFileListCore::CFileListCore()
    : m_currentFolder(QStringLiteral("\\"))
{
    m_imageList.Create(LoadBitmap(IDB_FILEIMAGE), bitmapImageSize(IDB_FILEIMAGE).width(), QColor(0xFFFFFF));
    m_baseImageCount = m_imageList.GetImageCount();
}

CFileListCore::~CFileListCore() = default;

void CFileListCore::RefreshFolder()
{
    ShowFolder(m_currentFolder, true);
}

void CFileListCore::SetUpColumns(QHeaderView &header)
{
    for (int column = 0; column < ColumnCount; ++column)
        header.resizeSection(column, Columns[column].width);
}

void CFileListCore::TrimImageList()
{
    while (m_imageList.GetImageCount() > m_baseImageCount)
        m_imageList.Remove(m_imageList.GetImageCount() - 1);
}
