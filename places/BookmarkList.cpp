#include "places/BookmarkList.h"

#include "framework/CommandRouter.h"
#include "res/ResourceIds.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "platform/UiSink.h"
#include "tree/CDirTreeView.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>

namespace {

const QString &key()
{
    return RegistryLayout::BookmarksKey;
}

bool readString(const QString &valueName, QString &out)
{
    return CRegistryAccess().ReadString(HKEY_LOCAL_MACHINE, key(), valueName, out) == RegSuccess;
}

bool writeString(const QString &valueName, const QString &value)
{
    return CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, key(), valueName, value) == RegSuccess;
}

} // namespace

namespace BookmarkList {

bool IsReservedName(const QString &name)
{
    static const QRegularExpression reserved(QStringLiteral("^(count|name[0-9]+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return reserved.match(name).hasMatch();
}

DWORD Count()
{
    DWORD count = 0;
    if (CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, key(), RegistryLayout::Count, count) != RegSuccess)
        return 0;
    return count;
}

bool ReadName(DWORD index, QString &name)
{
    return readString(RegistryLayout::bookmarkName(int(index)), name);
}

bool ReadPath(const QString &name, QString &path)
{
    return readString(name, path);
}

bool Append(const QString &name, const QString &path)
{
    const DWORD count = Count();
    return writeString(RegistryLayout::bookmarkName(int(count)), name) && writeString(name, path)
        && CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, key(), RegistryLayout::Count, count + 1) == RegSuccess;
}

bool Remove(const QString &name)
{
    CRegistryAccess registry;
    const DWORD count = Count();
    for (DWORD i = 0; i < count; ++i) {
        QString found;
        QString path;
        if (!ReadName(i, found) || !ReadPath(found, path) || found != name)
            continue;
        registry.DeleteValue(HKEY_LOCAL_MACHINE, key(), RegistryLayout::bookmarkName(int(i)));
        registry.DeleteValue(HKEY_LOCAL_MACHINE, key(), found);
        // Every later bookmark moves one index down: both its values are
        // deleted and written again, so a value named like a later one stays.
        for (DWORD j = i + 1; j < count; ++j) {
            QString laterName;
            QString laterPath;
            if (!ReadName(j, laterName) || !ReadPath(laterName, laterPath))
                continue;
            registry.DeleteValue(HKEY_LOCAL_MACHINE, key(), RegistryLayout::bookmarkName(int(j)));
            registry.DeleteValue(HKEY_LOCAL_MACHINE, key(), laterName);
            writeString(RegistryLayout::bookmarkName(int(j - 1)), laterName);
            writeString(laterName, laterPath);
        }
        registry.WriteDword(HKEY_LOCAL_MACHINE, key(), RegistryLayout::Count, count - 1);
        return true;
    }
    return false;
}

void RebuildMenu(QMenu &popup, CommandRouter &router)
{
    while (popup.actions().size() > 3) {
        QAction *entry = popup.actions().at(3);
        popup.removeAction(entry);
        delete entry;
    }
    DWORD count = 0;
    if (CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, key(), RegistryLayout::Count, count) != RegSuccess)
        return;
    for (DWORD i = 0; i < count; ++i) {
        QString name;
        ReadName(i, name); // an unreadable name still gets its (empty) entry
        router.addMenuItem(&popup, ID_BOOKMARK_FIRST + i, name);
    }
}

void GoTo(QMenu &popup, UINT id, CDirTreeView &tree)
{
    QString name;
    for (const QAction *entry : popup.actions()) {
        if (entry->property("commandId").toUInt() == id && !entry->isSeparator()) {
            name = entry->text().left(256);
            break;
        }
    }
    QString path;
    if (!name.isEmpty() && ReadPath(name, path)) {
        WaitCursor wait;
        tree.SelectPath(path);
    }
    tree.setFocus();
}

} // namespace BookmarkList
