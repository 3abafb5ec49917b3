#include "fileops/CFileOperations.h"

#include "fileops/NewFolder.h"
#include "fileops/ShortcutFile.h"
#include "list/CFileListViewEx.h"
#include "platform/DeviceFolder.h"
#include "platform/Files.h"
#include "platform/LinkInfo.h"
#include "platform/PosixError.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tree/CDirTreeView.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {

const QString ErrorCaption = QStringLiteral("Error");

QString withoutTrailingBackslash(QString path)
{
    if (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path;
}

// "\Storage Card\Photos" -> "\Storage Card"; "\Windows" -> "\Windows".
QString topLevelFolder(const QString &path)
{
    if (path.size() < 2)
        return path;
    // A network path's top is its share (\\computer\share): two shares
    // may lie on different servers.
    const bool network = path.startsWith(QLatin1String("\\\\"));
    const qsizetype computerEnd = network ? path.indexOf(QLatin1Char('\\'), 2) : 0;
    const qsizetype slash = computerEnd < 0 ? -1 : path.indexOf(QLatin1Char('\\'), computerEnd + 1);
    return slash < 0 ? path : path.left(slash);
}

} // namespace

bool CFileOperations::s_continueCopy = false;
int CFileOperations::s_copyDepth = 0;
bool CFileOperations::s_copySkipped = false;

CFileOperations::CFileOperations() = default;
CFileOperations::~CFileOperations() = default;

void CFileOperations::SetViews(CDirTreeView *tree, CFileListViewEx *list)
{
    m_tree = tree;
    m_list = list;
}

QWidget *CFileOperations::MainWindow() const
{
    return m_tree ? m_tree->window() : nullptr;
}

int CFileOperations::AppMessageBox(const QString &text, UINT type) const
{
    return MessageBoxW(MainWindow(), text, applicationTitle(), type);
}

int CFileOperations::ListMessageBox(const QString &text, const QString &caption, UINT type) const
{
    return MessageBoxW(m_list, text, caption.isEmpty() ? applicationTitle() : caption, type);
}

int CFileOperations::CollectSelection()
{
    return m_list->GetSelectedNames(m_names);
}

bool CFileOperations::FileExists(const QString &path)
{
    return FindExists(wide(path));
}

bool CFileOperations::RemoveFile(const QString &path)
{
    if (IsSymbolicLink(wide(path)))
        return DeleteSymbolicLink(wide(path));
    SetFileAttributesW(wide(path), 0);
    return DeleteFileW(wide(path));
}

// ---- Delete ---------------------------------------------------------------

void CFileOperations::DeleteFolder()
{
    const QString path = withoutTrailingBackslash(m_tree->GetSelectedPath());
    if (path.isEmpty())
        return;
    if (AppMessageBox(QStringLiteral("Delete '%1' and everything in it?").arg(path), MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    if (DeleteTree(path))
        m_tree->Refresh();
}

bool CFileOperations::DeleteTree(const QString &path)
{
    const QString folder = withoutTrailingBackslash(path);
    const QString prefix = folder + QLatin1Char('\\');
    // A link to a folder goes as the link: its target is not ours to empty.
    if (IsSymbolicLink(wide(folder))) {
        if (DeleteSymbolicLink(wide(folder)))
            return true;
        DeleteFailed(folder);
        return false;
    }

    // The folder is opened once and its files are deleted through it.
    bool result = true;
    DeviceFolder opened = DeviceFolder::open(prefix);
    DeviceFolder::Entry entry;
    if (opened.list()) {
        while (result && opened.next(entry)) {
            if (entry.info.isDirectory()) {
                result = DeleteTree(prefix + entry.name + QLatin1Char('\\'));
            } else if (opened.removeFile(entry) != ERROR_SUCCESS) {
                DeleteFailed(prefix + entry.name);
                result = false;
            }
        }
    }
    if (!result)
        return false;
    if (!RemoveDirectoryW(wide(folder))) {
        DeleteFailed(folder);
        return false;
    }
    return true;
}

void CFileOperations::DeleteFailed(const QString &path)
{
    AppMessageBox(QStringLiteral("Failed to delete:\r\n%1").arg(path), MB_OK | MB_ICONEXCLAMATION);
}

bool CFileOperations::DeleteSelectedFiles()
{
    const int selected = CollectSelection();
    bool stopped = false;
    if (selected > 0) {
        if (ListMessageBox(QStringLiteral("Delete all selected files?"), QStringLiteral("Delete files"),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES) {
            stopped = true;
        } else {
            const QString folder = m_tree->GetSelectedPath();
            for (qsizetype i = 0; i < m_names.size() && !stopped; ++i) {
                const QString &name = m_names[i];
                if (RemoveFile(folder + name))
                    continue;
                if (i + 1 < m_names.size()) {
                    stopped = ListMessageBox(QStringLiteral("Failed to delete %1. Continue deleting?").arg(name),
                                             QStringLiteral("Continue?"), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
                        != IDYES;
                } else {
                    ListMessageBox(QStringLiteral("Failed to delete %1").arg(name), QStringLiteral("Delete"),
                                   MB_OK | MB_ICONEXCLAMATION);
                    stopped = true;
                }
            }
        }
    }
    // The same names carry cut or copied files: a delete forgets them.
    m_names.clear();
    if (selected > 1 || !stopped)
        m_list->RefreshFolder();
    return !stopped || selected > 1;
}

// ---- Paste of files -------------------------------------------------------

BOOL CFileOperations::CopyOneFile(const DeviceFolder &from, const QString &name, const DeviceFolder &to,
                                  BOOL failIfExists) const
{
    WaitCursor wait;
    // A cut deletes the source next: its copy must be on disk first. A plain
    // copy is not flushed, as in a folder copy.
    const DWORD error = from.copyFileTo(name, to, failIfExists ? FileCopy::Existing::Fail : FileCopy::Existing::Replace,
                                        (m_mode & OpCut) ? FileCopy::Flush::BeforeRename : FileCopy::Flush::No);
    return error == ERROR_SUCCESS ? TRUE : PosixError::failWith(error);
}

void CFileOperations::PasteFiles()
{
    const qsizetype count = m_names.size();
    bool stopped = false;
    // Both folders are opened once; each name is looked up in them.
    const DeviceFolder from = DeviceFolder::open(m_sourceFolder);
    const DeviceFolder to = DeviceFolder::open(m_destinationFolder);
    for (qsizetype i = 0; i < count && !stopped;) {
        // A run of names missing in every letter case, no two of them the
        // same but for case, needs no question before its copies.
        QSet<QString> run;
        qsizetype end = i;
        DeviceFolder::Presence presence = DeviceFolder::Presence::Missing;
        while (end < count && end - i < PasteRunLength) {
            presence = to.presence(m_names[end]);
            const QString folded = m_names[end].toCaseFolded();
            if (presence != DeviceFolder::Presence::Missing || run.contains(folded))
                break;
            run.insert(folded);
            ++end;
        }
        if (end > i) {
            stopped = PasteRun(from, to, i, end);
            i = end;
        } else {
            stopped = PasteOne(from, to, i, presence);
            ++i;
        }
    }
    if (m_mode & OpCut)
        m_names.clear();
    if (count > 1 || !stopped)
        m_list->RefreshFolder();
}

bool CFileOperations::PasteOne(const DeviceFolder &from, const DeviceFolder &to, qsizetype index,
                               DeviceFolder::Presence presence)
{
    if (presence == DeviceFolder::Presence::Shown
        && ListMessageBox(m_destinationFolder + m_names[index]
                              + QStringLiteral(" already exists, do you want to overwrite it?"),
                          QString(), MB_YESNO | MB_ICONQUESTION)
            != IDYES)
        return true;
    // The platform refuses to copy a file onto itself and never truncates
    // it, so a paste into the source folder ends up here and a cut keeps
    // its source.
    if (!CopyOneFile(from, m_names[index], to, presence == DeviceFolder::Presence::Missing))
        return CopyFailed(index);
    RemoveCutSource(index);
    return false;
}

bool CFileOperations::PasteRun(const DeviceFolder &from, const DeviceFolder &to, qsizetype first, qsizetype end)
{
    // The copies run on two threads; their outcomes are then taken in order,
    // as if each file had been copied alone.
    std::vector<DWORD> errors(std::size_t(end - first), ERROR_SUCCESS);
    {
        WaitCursor wait;
        const QStringList &names = m_names;
        const FileCopy::Flush flush = (m_mode & OpCut) ? FileCopy::Flush::BeforeRename : FileCopy::Flush::No;
        std::atomic<qsizetype> next = first;
        const auto copy = [&] {
            for (qsizetype k = next++; k < end; k = next++)
                errors[std::size_t(k - first)] = from.copyFileTo(names[k], to, FileCopy::Existing::Fail, flush);
        };
        // Files on a share go one at a time.
        std::thread helper;
        if (end - first > 1 && from.dirFd() >= 0 && to.dirFd() >= 0) {
            try {
                helper = std::thread(copy);
            } catch (const std::system_error &) {
            }
        }
        copy();
        if (helper.joinable())
            helper.join();
    }
    for (qsizetype k = first; k < end; ++k) {
        const DWORD error = errors[std::size_t(k - first)];
        if (error == ERROR_SUCCESS) {
            RemoveCutSource(k);
            continue;
        }
        SetLastError(error);
        if (CopyFailed(k)) {
            // The paste ended at the failure: copies made after it are taken back.
            for (qsizetype later = k + 1; later < end; ++later) {
                if (errors[std::size_t(later - first)] == ERROR_SUCCESS)
                    from.removeCopy(m_names[later], to);
            }
            return true;
        }
    }
    return false;
}

bool CFileOperations::CopyFailed(qsizetype index) const
{
    const QString source = m_sourceFolder + m_names[index];
    if (m_names.size() == 1) {
        MessageBoxW(nullptr, QStringLiteral("Failed to copy ") + source, ErrorCaption, MB_OK);
        return true;
    }
    return MessageBoxW(nullptr, QStringLiteral("Failed to copy %1\nContinue Copy?").arg(source), ErrorCaption, MB_YESNO)
        != IDYES;
}

void CFileOperations::RemoveCutSource(qsizetype index) const
{
    const QString source = m_sourceFolder + m_names[index];
    if ((m_mode & OpCut) && !RemoveFile(source))
        ListMessageBox(QStringLiteral("Could not delete file ") + source, QString(), MB_OK);
}

// ---- Folder copy and move -------------------------------------------------

void CFileOperations::CopyEntryFailed(const QString &path)
{
    s_copySkipped = true;
    if (MessageBoxW(nullptr, QStringLiteral("Failed to copy %1\nContinue Copy?").arg(path), ErrorCaption, MB_YESNO)
        != IDYES)
        s_continueCopy = false;
}

bool CFileOperations::CopyFolderTree(const QString &source, const QString &destination)
{
    return CopyFolderTree(source, destination, nullptr);
}

bool CFileOperations::CopyFolderTree(const QString &sourcePath, const QString &destinationPath,
                                     DeviceFolder *destinationFolder)
{
    const QString source = withoutTrailingBackslash(sourcePath);
    const QString destination = withoutTrailingBackslash(destinationPath);
    const QString name = source.mid(source.lastIndexOf(QLatin1Char('\\')) + 1);
    if (s_copyDepth++ == 0) {
        s_continueCopy = true;
        s_copySkipped = false;
    }
    struct DepthGuard {
        ~DepthGuard() { --s_copyDepth; }
    } depthGuard;

    if (source == destination) {
        AppMessageBox(QStringLiteral("Cannot copy into source."), MB_OK | MB_ICONEXCLAMATION);
        s_copySkipped = true;
        return false;
    }
    if (destination.startsWith(source) && destination.size() > source.size()
        && destination[source.size()] == QLatin1Char('\\')) {
        AppMessageBox(QStringLiteral("Cannot copy %1:\r\nThe destination folder is a subfolder of the source folder.")
                          .arg(source),
                      MB_OK | MB_ICONEXCLAMATION);
        s_copySkipped = true;
        return false;
    }
    // Descending into a linked folder could leave the device or loop back
    // into the tree being copied.
    if (IsSymbolicLink(wide(source))) {
        CopyEntryFailed(source);
        return false;
    }
    const QString target = destination + QLatin1Char('\\') + name;
    // Inside the copy the new folder's parent is open already, and knows
    // its names without reading the folder again for each one.
    const bool created = destinationFolder ? destinationFolder->createFolder(name) == ERROR_SUCCESS
                                           : CreateDirectoryW(wide(target), nullptr);
    if (!created) {
        AppMessageBox(QStringLiteral("Failed to create folder:\r\n%1").arg(target), MB_OK | MB_ICONEXCLAMATION);
        s_copySkipped = true;
        return false;
    }
    m_tree->Refresh();

    // Both folders are opened once and the files are copied through them.
    DeviceFolder from = DeviceFolder::open(source);
    DeviceFolder to = DeviceFolder::open(target);
    DeviceFolder::Entry entry;
    if (!from.list())
        return false;
    bool result = true;
    while (from.next(entry)) {
        const QString path = source + QLatin1Char('\\') + entry.name;
        if (entry.info.isDirectory()) {
            result = CopyFolderTree(path, target, &to);
        } else {
            result = from.copyFile(entry, to) == ERROR_SUCCESS;
            if (!result)
                CopyEntryFailed(path);
        }
        if (!s_continueCopy)
            break;
    }
    return result;
}

bool CFileOperations::MoveFolderTree(const QString &sourcePath, const QString &destinationPath)
{
    const QString source = withoutTrailingBackslash(sourcePath);
    const QString destination = withoutTrailingBackslash(destinationPath);
    const QString name = source.mid(source.lastIndexOf(QLatin1Char('\\')) + 1);

    bool result;
    if (topLevelFolder(source) != topLevelFolder(destination)) {
        // A copy that left any entry behind keeps the whole source: deleting
        // it would lose what was not copied. The copies reach the disk
        // before any source is deleted.
        result = CopyFolderTree(source, destination) && !s_copySkipped
            && DeviceFolder::open(destination).flushFileSystem() && DeleteTree(source);
    } else {
        result = MoveFileW(wide(source), wide(destination + QLatin1Char('\\') + name));
    }
    if (result)
        m_tree->Refresh();
    else
        AppMessageBox(QStringLiteral("Error moving directory ") + name, MB_OK);
    return result;
}

// ---- Clipboard ------------------------------------------------------------

void CFileOperations::TakeSelection(unsigned mode)
{
    if (CollectSelection() == 0)
        return;
    m_sourceFolder = m_tree->GetSelectedPath();
    m_mode = mode;
}

void CFileOperations::CutFiles()
{
    TakeSelection(OpFiles | OpCut);
}

void CFileOperations::CopyFiles()
{
    TakeSelection(OpFiles | OpCopy);
}

void CFileOperations::CutFolder(const QString &path)
{
    m_sourceFolder = path;
    m_mode = OpFolder | OpCut;
}

void CFileOperations::CopyFolder(const QString &path)
{
    m_sourceFolder = path;
    m_mode = OpFolder | OpCopy;
}

void CFileOperations::Paste(const QString &path)
{
    m_destinationFolder = path;
    if (m_mode == 0)
        return;
    if (m_mode & OpFiles)
        PasteFiles();
    else if (m_mode & OpCopy)
        CopyFolderTree(m_sourceFolder, m_destinationFolder);
    else
        MoveFolderTree(m_sourceFolder, m_destinationFolder);
}

bool CFileOperations::CanPaste() const
{
    return ((m_mode & OpFiles) && !m_names.isEmpty()) || ((m_mode & OpFolder) && !m_sourceFolder.isEmpty());
}

bool CFileOperations::CanPasteShortcut() const
{
    return (m_mode & OpFiles) && !m_names.isEmpty();
}

void CFileOperations::PasteShortcuts()
{
    WriteShortcuts(m_tree->GetSelectedPath(), true);
}

void CFileOperations::PasteInStartMenu()
{
    WriteShortcuts(QStringLiteral("\\Windows\\Start menu\\"), false);
}

void CFileOperations::WriteShortcuts(const QString &folder, bool refreshList)
{
    for (const QString &name : m_names) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString path = folder + (dot >= 0 ? name.left(dot) : name) + QStringLiteral(".lnk");
        if (FileExists(path)
            && ListMessageBox(QStringLiteral("Overwrite existing file ?"), QStringLiteral("Create Shortcut"),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
            continue;
        // A shortcut that cannot be written is not reported.
        WriteShortcutFile(m_sourceFolder + name, path);
        if (refreshList)
            m_list->RefreshFolder();
    }
}

bool CFileOperations::WriteShortcutFile(const QString &target, const QString &file)
{
    return ShortcutFile::WriteShortcutFile(target, file);
}

bool CFileOperations::CreateNewFolder()
{
    return NewFolder::Create(*m_tree);
}
