// The file-type entries under HKEY_CLASSES_ROOT as the extension editor reads
// and removes them: ".ext" keys whose default value names a class key.
#pragma once

#include <QString>
#include <QStringList>

namespace FileTypeRegistry {

// Names of the subkeys of HKEY_CLASSES_ROOT that begin with ".", in the
// registry's order.
QStringList ExtensionKeys();

// The default value of HKEY_CLASSES_ROOT\key; false (text untouched) when the
// key or a string default value is missing.
bool ReadDefault(const QString &key, QString &text);

// Deletes the class that extensionKey names and then extensionKey itself
// (each with its subkeys). A class still named by another extension key is
// kept, so that extension keeps its description and open command.
void RemoveAssociation(const QString &extensionKey);

} // namespace FileTypeRegistry
