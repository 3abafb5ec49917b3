#include "list/CFileListCore.h"

#include "filetypes/CRegisterExtDlg.h"
#include "framework/AfxMessageBox.h"
#include "list/CFileTypeInfo.h"
#include "platform/Process.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

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

bool CFileListCore::ExecuteFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    CFileTypeInfo info;
    info.SetPath(path);
    QString program, parameters;
    if (!info.SplitOpenCommand(program, parameters)) {
        if (MessageBoxW(nullptr, QStringLiteral("No open command is registered for this filetype, register now?"),
                        applicationTitle(), MB_YESNO | MB_ICONQUESTION)
            == IDYES) {
            CRegisterExtDlg dialog(AfxGetMainWnd());
            dialog.extension = info.GetExtension(path).toLower();
            dialog.DoModal();
        }
        return false;
    }
    // No process information: nothing keeps or waits for the program.
    if (!CreateProcessW(wide(program), wide(parameters), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                        nullptr)) {
        AfxMessageBox(QStringLiteral("Failed to execute ") + program + QLatin1Char(' ') + parameters,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
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
