#include "list/CFileTypeInfo.h"

#include "framework/CImageList.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Shell.h"

#include <algorithm>
#include <vector>

namespace {

QString withoutLeadingSpace(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

} // namespace

void CFileTypeInfo::SetPath(const QString &path)
{
    m_path = path;
}

QString CFileTypeInfo::GetExtension(const QString &text) const
{
    const QString &source = text.isEmpty() ? m_path : text;
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    if (dot < 1)
        return QString();
    return source.mid(dot + 1).toUpper();
}

QString CFileTypeInfo::GetFolder() const
{
    const qsizetype slash = m_path.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? QString() : m_path.left(slash + 1);
}

LONG CFileTypeInfo::ReadRegString(HKEY root, const QString &subKey, const QString &valueName,
                                  QString &output) const
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(subKey.utf16()), 0, 0, &key);
    if (result != ERROR_SUCCESS)
        return result;

    const auto name = reinterpret_cast<LPCWSTR>(valueName.utf16());
    DWORD size = 0;
    result = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS && size > 0) {
        // Two spare zero bytes terminate the text even when the stored value
        // lacks its terminator; an even count keeps whole characters.
        std::vector<BYTE> buffer((std::size_t(size) + 2) & ~std::size_t(1), 0);
        result = RegQueryValueExW(key, name, nullptr, nullptr, buffer.data(), &size);
        if (result == ERROR_SUCCESS)
            output = fromWide(reinterpret_cast<const WCHAR *>(buffer.data()));
    }
    RegCloseKey(key);
    return result;
}

QString CFileTypeInfo::GetTypeName() const
{
    const QString extension = GetExtension();
    if (extension.isEmpty())
        return QString();

    QString className;
    if (ReadRegString(HKEY_CLASSES_ROOT, QLatin1Char('.') + extension, QString(), className) != ERROR_SUCCESS)
        return extension + QStringLiteral(" File");
    QString typeName = className;
    ReadRegString(HKEY_CLASSES_ROOT, className, QString(), typeName);
    return typeName;
}

bool CFileTypeInfo::GetIconIndex(CImageList &imageList, int &index, int fallback) const
{
    SHFILEINFO info{};
    int appended = -1;
    if (SHGetFileInfo(reinterpret_cast<LPCWSTR>(m_path.utf16()), 0, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON)
        && info.hIcon) {
        appended = imageList.ReplaceIcon(-1, *info.hIcon);
        DestroyIcon(info.hIcon);
    }
    if (appended < 0) {
        index = fallback;
        return false;
    }
    index = appended;
    return true;
}

QString CFileTypeInfo::ReadShortcutTarget(const QString &path) const
{
    if (GetExtension(path) != QLatin1String("LNK"))
        return path;
    const HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return QString();
    const DWORD size = GetFileSize(file, nullptr);
    // A shortcut is one short line; anything this large is not one.
    constexpr DWORD MaxShortcutSize = 64 * 1024;
    QByteArray bytes;
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE && size <= MaxShortcutSize) {
        bytes.fill('\0', qsizetype(size) + 1);
        if (!ReadFile(file, bytes.data(), size, &read, nullptr))
            read = 0;
    }
    CloseHandle(file);
    if (size > MaxShortcutSize || read < size)
        return QString();
    QString text = CodePage::fromAnsi(QByteArray(bytes.constData())); // up to the first zero byte

    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        const int count = text.left(hash).toInt();
        const qsizetype question = text.indexOf(QLatin1Char('?'));
        qsizetype length = question >= 0 ? question - hash - 1 : count >= 1 ? count : qsizetype(size) - hash - 1;
        length = std::clamp<qsizetype>(length, 0, size);
        text = text.mid(hash + 1, length);
    }
    if (text.endsWith(QLatin1Char('"')))
        text.chop(1);
    if (text.startsWith(QLatin1Char('"')))
        text.remove(0, 1);
    return text;
}

QString CFileTypeInfo::GetOpenCommand() const
{
    QString target = ReadShortcutTarget(m_path);
    QString command;
    if (target.startsWith(QLatin1Char(':'))) {
        const QString rai = QStringLiteral("\\Software\\Microsoft\\Shell\\Rai\\");
        const QString one = QStringLiteral("1");
        if (ReadRegString(HKEY_LOCAL_MACHINE, rai + target, one, command) != ERROR_SUCCESS)
            return QString();
        if (command.startsWith(QLatin1Char(':'))) {
            const qsizetype space = command.indexOf(QLatin1Char(' '));
            const QString alias = space < 0 ? command : command.left(space);
            const QString rest = space < 0 ? QString() : command.mid(space + 1);
            QString resolved;
            if (ReadRegString(HKEY_LOCAL_MACHINE, rai + alias, one, resolved) == ERROR_SUCCESS)
                command = resolved + QLatin1Char(' ') + rest;
        }
        return command;
    }

    QString extension = GetExtension(target);
    if (extension.isEmpty())
        extension = QStringLiteral("exe");
    const QString key = QLatin1Char('.') + extension;
    const QString openKey = QStringLiteral("\\Shell\\Open\\Command");
    if (ReadRegString(HKEY_CLASSES_ROOT, key + openKey, QString(), command) != ERROR_SUCCESS) {
        QString className;
        if (ReadRegString(HKEY_CLASSES_ROOT, key, QString(), className) != ERROR_SUCCESS
            || ReadRegString(HKEY_CLASSES_ROOT, className + openKey, QString(), command) != ERROR_SUCCESS)
            return QString();
    }
    if (!target.contains(QLatin1Char('\\')))
        target = GetFolder() + target;
    const qsizetype placeholder = command.indexOf(QLatin1String("%1"));
    if (placeholder >= 0)
        command.replace(placeholder, 2, target);
    if (command.contains(QLatin1String("%*")))
        command = QLatin1Char('"') + target + QLatin1Char('"');
    return command;
}

bool CFileTypeInfo::SplitOpenCommand(QString &program, QString &parameters) const
{
    QString line = withoutLeadingSpace(GetOpenCommand());
    if (line.isEmpty())
        return false;
    qsizetype end;
    if (line.startsWith(QLatin1Char('"'))) {
        line.remove(0, 1);
        end = line.indexOf(QLatin1Char('"'));
        if (end < 0)
            return false;
    } else {
        end = line.indexOf(QLatin1Char(' '));
        if (end < 0)
            end = line.size();
    }
    program = line.left(end);
    if (end < line.size())
        parameters = withoutLeadingSpace(line.mid(end + 1));
    return !program.isEmpty();
}
