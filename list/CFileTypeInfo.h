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

    // The target of the shortcut file at path (extension LNK): its code page
    // text after "#", as long as the count before "#" says (or up to a "?"),
    // without enclosing double quotes; empty when the file cannot be read.
    // Any other path is returned as it is.
    QString ReadShortcutTarget(const QString &path) const;

    // The command line that opens the stored path, or empty. A shortcut is
    // followed to its target; an alias target (":NAME") is the alias table's
    // command, re-resolved one level when that begins with ":" again;
    // otherwise the open command of the target's extension ("exe" for none),
    // taken from ".EXT\Shell\Open\Command" or from the class that ".EXT"
    // names, with the first "%1" replaced by the target (a bare target name
    // lies in the stored path's folder) and, when "%*" appears, the whole
    // command replaced by the quoted target.
    QString GetOpenCommand() const;

    // Splits GetOpenCommand into the program (the first word, or the text
    // inside leading double quotes) and the rest without leading white space.
    // False when there is no command, no closing quote or no program.
    bool SplitOpenCommand(QString &program, QString &parameters) const;

private:
    QString m_path;
};
