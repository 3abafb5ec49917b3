#include "fileops/ShortcutFile.h"

#include "platform/CodePage.h"
#include "platform/Files.h"

#include <QByteArray>

namespace {

// The text in the ANSI code page; with the terminator, its zero byte is the last byte.
QByteArray toAnsi(const QString &text, bool withTerminator)
{
    const int length = withTerminator ? -1 : int(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide(text), length, nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide(text), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

bool ShortcutFile::WriteShortcutFile(const QString &target, const QString &file)
{
    HANDLE handle = CreateFileW(wide(file), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const QString text = QStringLiteral("%1#\"%2\"").arg(QString::number(target.size() + 2), target);
    const QByteArray bytes = toAnsi(text, true);
    DWORD written = 0;
    // The conversion ends at the first zero character: its bytes, no more.
    WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    return CloseHandle(handle);
}

QString ShortcutFile::DialogForm(const QString &text)
{
    if (text.isEmpty())
        return text;
    return QStringLiteral("%1#%2").arg(QString::number(text.size()), text);
}

bool ShortcutFile::WriteText(const QString &file, const QString &text, Disposition disposition)
{
    const DWORD creation = disposition == Disposition::CreateAlways ? CREATE_ALWAYS : TRUNCATE_EXISTING;
    HANDLE handle = CreateFileW(wide(file), GENERIC_WRITE, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    if (disposition == Disposition::CreateAlways)
        SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    const QByteArray bytes = toAnsi(text, false);
    DWORD written = 0;
    const BOOL wrote = WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    const BOOL closed = CloseHandle(handle);
    return wrote && closed && written == DWORD(bytes.size());
}

bool ShortcutFile::AppendText(const QString &file, QString &text)
{
    HANDLE handle = CreateFileW(wide(file), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // Read in blocks, never past the largest shortcut (the file may grow
    // while it is read); a bigger file is one that cannot be read.
    QByteArray bytes;
    char block[4096];
    DWORD read = 0;
    bool ok;
    while ((ok = ReadFile(handle, block, sizeof block, &read, nullptr)) && read > 0 && bytes.size() <= MaxFileSize)
        bytes.append(block, read);
    CloseHandle(handle);
    if (!ok || bytes.size() > MaxFileSize)
        return false;
    for (const char byte : std::as_const(bytes)) {
        if (byte != 0)
            text += QChar(CodePage::toUnicode(static_cast<unsigned char>(byte)));
    }
    return true;
}
