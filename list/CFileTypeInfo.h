// Answers questions about one file path: its extension, folder, type name
// from the file-type registry and its small icon from the shell. Nothing is
// cached; every answer is looked up again.
#pragma once

#include "platform/Registry.h"

#include <QString>

class CImageList;

class CFileTypeInfo
{
public:
    CFileTypeInfo() = default;
    virtual ~CFileTypeInfo() = default;

    // Stores the path unchanged (empty after construction).
    void SetPath(const QString &path);
    QString GetPath() const { return m_path; }

    // Of text, or of the stored path when text is empty: everything after the
    // last "." of the whole string, upper-cased, when that dot is at position 1
    // or later; otherwise empty. "a.txt" -> "TXT", ".profile" -> "",
    // "\My.Files\readme" -> "FILES\README".
    QString GetExtension(const QString &text = QString()) const;

    // The stored path up to and including its last backslash; empty without one.
    QString GetFolder() const;

    // Reads a string value (empty name: the key's default value) of
    // root\subKey into output. Returns 0 exactly when the value was read, else
    // the platform's error code of the open or the query; output changes only
    // when a value of non-zero size was read.
    LONG ReadRegString(HKEY root, const QString &subKey, const QString &valueName, QString &output) const;

    // The type description of the stored path: empty without an extension;
    // EXT + " File" when ".EXT" has no readable default value; else the
    // default value of the class key it names, or the class name itself when
    // that cannot be read.
    QString GetTypeName() const;

    // Appends the shell's small icon for the stored path to imageList and sets
    // index to its position (true). When the shell has no icon or the list
    // refuses it, index becomes fallback and the result is false.
    bool GetIconIndex(CImageList &imageList, int &index, int fallback) const;

private:
    QString m_path;
};
