// Where the program keeps its settings: keys under HKEY_LOCAL_MACHINE and the
// names of their values. The key paths are passed with their leading
// backslash, exactly as written here.
#pragma once

#include <QString>

namespace RegistryLayout {

// Application key (root HKEY_LOCAL_MACHINE).
inline const QString AppKey = QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss");
inline const QString BookmarksKey = QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss\\Bookmarks");
inline const QString NetPathsKey = QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss\\NetPaths");
inline const QString FileFilterKey = QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss\\FileFilter");

// String value the installation package puts in each of the four keys (the
// product name in the application key, empty in the others); never read.
inline const QString PackageDefault = QStringLiteral("Default");

// Registry key name handed to the framework, and the profile key below
// HKEY_CURRENT_USER where the framework keeps its own settings.
inline const QString ProfileKeyName = QStringLiteral("Brindlecove\\Quillmoss");
inline const QString ProfileKey = QStringLiteral("Software\\Brindlecove\\Quillmoss\\quillmoss");

// REG_DWORD values of the application key: 1 once the first-run disclaimer
// was shown; 1 (or absent) to show the file list's column header, 0 to hide it.
inline const QString Disclaimer = QStringLiteral("Disclaimer");
inline const QString ShowHeader = QStringLiteral("ShowHeader");

// Bookmarks and NetPaths: REG_DWORD Count (absent: none), then REG_SZ entries
// Name0.. / Path0.. up to Count - 1. A bookmark's folder is the REG_SZ value
// named by its display name.
inline const QString Count = QStringLiteral("Count");
inline constexpr char NameFormat[] = "Name%d";
inline constexpr char PathFormat[] = "Path%d";

inline QString bookmarkName(int index)
{
    return QString::asprintf(NameFormat, index);
}
inline QString netPath(int index)
{
    return QString::asprintf(PathFormat, index);
}

// FileFilter: REG_DWORD values, each 0 when absent.
// MainFilter 0 all files, 1 hide system file types, 2 only the SubFilter category.
inline const QString MainFilter = QStringLiteral("MainFilter");
// SubFilter 0 documents, 1 executables, 2 images, 3 internet files.
inline const QString SubFilter = QStringLiteral("SubFilter");
// HideROM 1 hides files that reside in ROM.
inline const QString HideROM = QStringLiteral("HideROM");

} // namespace RegistryLayout
