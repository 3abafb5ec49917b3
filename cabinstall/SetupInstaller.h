// The device's cabinet installer: applies a cabinet's setup file to the
// current device through the platform's file and registry calls, so nothing
// lands outside the device. It refuses a package that names this device's
// platform as unsupported, then creates the folders, copies the files (a
// program ".exe" becomes runnable), writes the registry values and creates
// the shortcuts. Folder, file and link names are single plain names; the
// folder macros "%CEn%" are those of a Pocket PC.
#pragma once

#include "package/Cabinet.h"

#include <QString>

namespace SetupInstaller {

// The device's platform name: HKEY_LOCAL_MACHINE\Platform, string "Type";
// "PocketPC" when the device names none.
QString platformType();

// Creates the device folder path with its missing parents.
bool createFolders(const QString &path);
// Writes bytes as the device file path, replacing a file there.
bool writeFile(const QString &path, const QByteArray &bytes);

// Installs members (the ".000" setup file and the files it numbers). False
// with a sentence in error when refused or when a step failed; steps done
// before a failure stay done.
bool install(const QList<CabMember> &members, QString &error);

} // namespace SetupInstaller
