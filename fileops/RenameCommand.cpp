#include "fileops/RenameCommand.h"

#include "fileops/CRenameDlg.h"
#include "list/CFileListView.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

void RenameSelectedEntry(CFileListView &list)
{
    const QString name = list.GetFirstSelectedName();
    if (name.isEmpty())
        return;
    CRenameDlg dialog(name, list.window());
    if (dialog.DoModal() != IDOK)
        return;
    // The list keeps the root as "", so the root gives a single backslash.
    const QString folder = list.GetCurrentFolder() + QLatin1Char('\\');
    if (!MoveFileW(wide(folder + dialog.oldName()), wide(folder + dialog.newName()))) {
        const QString title = applicationTitle();
        MessageBoxW(list.window(), QStringLiteral("Failed to rename"), title, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    list.RefreshFolder();
}
