#include "fileops/NewFolder.h"

#include "fileops/CFileOperations.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tree/CDirTreeView.h"

#include <QPersistentModelIndex>

namespace {

LPCWSTR wide(const QString &text)
{
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

} // namespace

QString NewFolder::FreeName(const QString &folder)
{
    QString name = QStringLiteral("New Folder");
    for (int counter = 1; CFileOperations::FileExists(folder + name); ++counter)
        name = QStringLiteral("New Folder %1").arg(counter);
    return name;
}

bool NewFolder::Create(CDirTreeView &tree)
{
    const QString folder = tree.GetSelectedPath();
    const QString path = folder + FreeName(folder);
    if (!CreateDirectoryW(wide(path), nullptr)) {
        const QString title = LoadString(IDR_MAINFRAME).section(QLatin1Char('\n'), 0, 0);
        MessageBoxW(tree.window(), QStringLiteral("Failed to create folder"), title, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    QTreeWidgetItem *selected = tree.currentItem();
    // Tells whether the refresh removed the remembered item.
    const QPersistentModelIndex selectedIndex = tree.currentIndex();
    tree.Refresh();
    if (!tree.FindItemByPath(path) && selected && selectedIndex.isValid()) {
        // The folder's branch was never read: collapsing drops its children,
        // expanding reads them anew.
        selected->setExpanded(false);
        selected->setExpanded(true);
    }
    QTreeWidgetItem *item = tree.FindItemByPath(path);
    if (item && (item->flags() & Qt::ItemIsSelectable)) {
        tree.setCurrentItem(item);
        tree.editItem(item);
    }
    return true;
}
