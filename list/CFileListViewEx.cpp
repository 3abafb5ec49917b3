#include "list/CFileListViewEx.h"

#include "list/FileFilter.h"
#include "platform/DeviceFolder.h"
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
    const QString folder = path.endsWith(QLatin1Char('\\')) ? path.chopped(1) : path;
    const bool again = folder == m_currentFolder;
    m_currentFolder = folder;
    TrimImageList();
    if (!again || !ReloadChangedEntries()) {
        DeleteAllItems();
        LoadEntries();
    }
    SortEntries(m_entries, m_sortKey, m_sortAscending);
    m_model.SetItemCount(m_entries.GetSize());
}

void CFileListViewEx::LoadEntries()
{
    // Watched from before it is read: what changes meanwhile is read again
    // at the next reload.
    m_watch.watch(m_currentFolder);
    m_filter.emplace();
    WCHAR pattern[MAX_PATH];
    copyToWide(m_currentFolder + QStringLiteral("\\*"), pattern, MAX_PATH);
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileW(pattern, &findData);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!m_filter->Passes(findData))
            continue;
        m_entries.Add(std::make_unique<CFileEntry>(findData));
    } while (FindNextFileW(find, &findData));
    FindClose(find);
}

bool CFileListViewEx::ReloadChangedEntries()
{
    if (!m_watch.active() || !m_filter)
        return false;
    FileFilter filter;
    if (!filter.SameSettings(*m_filter))
        return false;
    DeviceFolder folder = DeviceFolder::open(m_currentFolder);
    QSet<QString> changed;
    if (!m_watch.takeChanges(folder, changed) || !folder.list())
        return false;

    QHash<QStringView, int> shown;
    shown.reserve(m_entries.GetSize());
    for (int i = 0; i < m_entries.GetSize(); ++i)
        shown.insert(QStringView(m_entries[i]->GetName()), i);
    std::vector<char> stale(std::size_t(m_entries.GetSize()), 0);
    for (const QString &name : std::as_const(changed)) {
        if (const auto kept = shown.constFind(name); kept != shown.constEnd())
            stale[std::size_t(*kept)] = 1;
    }
    m_model.SetItemCount(0);
    // In the folder's order, as a full read would have them.
    CFileEntryArray entries;
    DeviceFolder::Entry entry;
    while (folder.next(entry, true)) {
        // A link's facts are its target's, which may change elsewhere.
        if (!entry.link) {
            const auto kept = shown.constFind(entry.name);
            if (kept != shown.constEnd() && !stale[std::size_t(*kept)]) {
                entries.Add(m_entries.Take(*kept));
                continue;
            }
            // Neither shown nor changed: a folder, or a file the filter hides.
            if (kept == shown.constEnd() && !changed.contains(entry.name))
                continue;
        }
        const QByteArray hostName = entry.hostName;
        if ((!entry.link && !folder.describe(hostName, entry)) || entry.info.isDirectory())
            continue;
        WIN32_FIND_DATAW record = WIN32_FIND_DATAW();
        entry.info.fill(entry.name, record);
        if (filter.Passes(record))
            entries.Add(std::make_unique<CFileEntry>(record));
    }
    m_entries = std::move(entries);
    m_filter = std::move(filter);
    return true;
}

void CFileListViewEx::DeleteAllItems()
{
    m_model.SetItemCount(0);
    m_entries.RemoveAll();
    // The entries no longer tell what the folder holds.
    m_watch.clear();
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
