#include "list/CFileListViewEx.h"

#include "list/FileFilter.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

CFileListViewEx::CFileListViewEx(QWidget *parent)
    : CFileListView(parent)
    , m_model(m_entries, m_currentFolder, m_imageList)
{
    setModel(&m_model);
    setFrameShape(QFrame::NoFrame);
    SetStyle(GetStyle() | LVS_OWNERDATA);
    SetUpHeader();
}

CFileListViewEx::~CFileListViewEx() = default;

void CFileListViewEx::ShowFolder(const QString &path, bool force)
{
    if (!force && path == m_currentFolder)
        return;
    WaitCursor wait;
    m_currentFolder = path.endsWith(QLatin1Char('\\')) ? path.chopped(1) : path;
    TrimImageList();
    DeleteAllItems();
    LoadEntries();
    SortEntries(m_entries, m_sortKey, m_sortAscending);
    m_model.SetItemCount(m_entries.GetSize());
}

void CFileListViewEx::LoadEntries()
{
    WCHAR pattern[MAX_PATH];
    copyToWide(m_currentFolder + QStringLiteral("\\*"), pattern, MAX_PATH);
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileW(pattern, &findData);
    if (find == INVALID_HANDLE_VALUE)
        return;
    FileFilter filter;
    do {
        if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!filter.Passes(findData))
            continue;
        m_entries.Add(std::make_unique<CFileEntry>(findData));
    } while (FindNextFileW(find, &findData));
    FindClose(find);
}

void CFileListViewEx::DeleteAllItems()
{
    m_model.SetItemCount(0);
    m_entries.RemoveAll();
}

void CFileListViewEx::OnColumnClick(int column)
{
    WaitCursor wait;
    m_sortAscending = !m_sortAscending;
    const QVariant title = m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole);
    if (!title.isValid()) {
        MessageBoxW(this, QStringLiteral("Sorting on this column failed"), applicationTitle(), MB_OK | MB_ICONEXCLAMATION);
    } else {
        static const struct {
            const char *title;
            SortKey key;
        } keys[] = {{"Name", SortKey::Name}, {"Size", SortKey::Size}, {"Changed", SortKey::Changed},
                    {"Attrs", SortKey::Attrs}, {"Type", SortKey::Type}};
        const QString text = title.toString();
        const auto known = std::find_if(std::begin(keys), std::end(keys),
                                        [&](const auto &k) { return text == QLatin1String(k.title); });
        if (known == std::end(keys)) {
            MessageBoxW(this, QStringLiteral("Sorting on this column is not posible"), applicationTitle(),
                        MB_OK | MB_ICONEXCLAMATION);
        } else {
            m_sortKey = known->key;
            SortEntries(m_entries, m_sortKey, m_sortAscending);
        }
    }
    m_model.InvalidateAll();
    viewport()->update();
}
