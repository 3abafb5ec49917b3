#include "filetypes/FileTypeRegistry.h"

#include "settings/CRegistryAccess.h"
#include "settings/CRegistryKey.h"

namespace FileTypeRegistry {

QStringList ExtensionKeys()
{
    QStringList keys;
    CRegistryKey root;
    if (root.Open(QStringLiteral("HKEY_CLASSES_ROOT"), false) != S_OK)
        return keys;
    QString name;
    RegEntryKind kind = RegKindOther;
    for (HRESULT result = root.EnumFirst(&name, &kind); result == S_OK && kind == RegKindSubKey;
         result = root.EnumNext(&name, &kind)) {
        if (name.startsWith(QLatin1Char('.')))
            keys.append(name);
    }
    return keys;
}

bool ReadDefault(const QString &key, QString &text)
{
    CRegistryKey registryKey;
    return !key.isEmpty() && registryKey.Open(QStringLiteral("HKEY_CLASSES_ROOT\\") + key, false) == S_OK
        && registryKey.ReadString(QString(), &text) == S_OK;
}

void RemoveAssociation(const QString &extensionKey)
{
    QString className;
    const bool named = ReadDefault(extensionKey, className) && !className.isEmpty();
    CRegistryAccess().DeleteKey(HKEY_CLASSES_ROOT, extensionKey);
    if (!named)
        return;
    for (const QString &other : ExtensionKeys()) {
        QString otherClass;
        if (ReadDefault(other, otherClass) && otherClass.compare(className, Qt::CaseInsensitive) == 0)
            return;
    }
    CRegistryAccess().DeleteKey(HKEY_CLASSES_ROOT, className);
}

} // namespace FileTypeRegistry
