#include "fileops/NewFolder.h"

#include "fileops/CFileOperations.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tree/CDirTreeView.h"

#include <QPersistentModelIndex>

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
        const QString title = applicationTitle();
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
