// Shortcut files (".lnk"): one line of ANSI text (code page 1252), a decimal
// count, "#" and the target. Two writers produce it:
//   pasted form: count "#" "\"target\"" and one zero byte after the text,
//                the count being the target's length + 2 (the quotes);
//   dialog form: count "#" text as typed, no zero byte.
// Nothing here shows a message: failures are only reported as results.
#pragma once

#include <QString>

class ShortcutFile
{
public:
    // Writes the pasted form of target into file, creating it or replacing
    // an existing file. True when the file was written and closed; false when
    // it could not be created (then nothing else happens).
    static bool WriteShortcutFile(const QString &target, const QString &file);

    // The dialog form of text ("%d#%s" with text's length); empty stays empty.
    static QString DialogForm(const QString &text);

    enum class Disposition {
        TruncateExisting, // the file must exist; it is emptied first
        CreateAlways,     // created, or an existing file replaced
    };
    // Writes exactly text's ANSI bytes (no terminator). False when the file
    // could not be opened or not every byte was written.
    static bool WriteText(const QString &file, const QString &text, Disposition disposition);

    // The largest file read as a shortcut: a path and its parameters need
    // far less, and anything bigger is not one.
    static constexpr int MaxFileSize = 64 * 1024;

    // Reads file to its end and appends one character per byte to text (a
    // zero byte adds nothing; bytes from 0x80 up become their code-page
    // character). False, with text untouched, when it cannot be opened or
    // read, or holds more than MaxFileSize bytes.
    static bool AppendText(const QString &file, QString &text);
};
