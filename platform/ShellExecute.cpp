#include "platform/ShellExecute.h"

#include "platform/Files.h"
#include "platform/Process.h"

#include <optional>
#include <vector>

namespace {

// The default value of HKEY_CLASSES_ROOT\subKey as text; nothing when the key or the value is missing.
std::optional<QString> readDefault(const QString &subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(subKey), 0, 0, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<QString> text;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::vector<WCHAR> buffer(size / 2 + 1, 0);
        if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer.data()), &size)
            == ERROR_SUCCESS)
            text = fromWide(buffer.data());
    }
    RegCloseKey(key);
    return text;
}

std::optional<QString> openCommand(const QString &extension)
{
    const QString suffix = QStringLiteral("\\Shell\\Open\\Command");
    if (std::optional<QString> command = readDefault(QLatin1Char('.') + extension + suffix))
        return command;
    const std::optional<QString> className = readDefault(QLatin1Char('.') + extension);
    if (!className || className->isEmpty())
        return std::nullopt;
    return readDefault(*className + suffix);
}

} // namespace

BOOL ShellExecuteExW(SHELLEXECUTEINFO *info)
{
    if (!info || (info->cbSize != SHELLEXECUTEINFO_SIZE && info->cbSize != sizeof(SHELLEXECUTEINFO))
        || !info->lpFile || !*info->lpFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const QString verb = fromWide(info->lpVerb);
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const QString file = fromWide(info->lpFile);
    const QString parameters = fromWide(info->lpParameters);
    const qsizetype slash = file.lastIndexOf(QLatin1Char('\\'));
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > slash ? file.mid(dot + 1) : QString();

    QString program = file;
    QString arguments = parameters;
    if (!extension.isEmpty() && extension.compare(QLatin1String("exe"), Qt::CaseInsensitive) != 0) {
        std::optional<QString> command = openCommand(extension);
        if (!command || command->trimmed().isEmpty()) {
            SetLastError(ERROR_NO_ASSOCIATION);
            return FALSE;
        }
        QString line = command->trimmed();
        line.replace(QLatin1String("%1"), file);
        line.replace(QLatin1String("%*"), parameters);
        // A quoted program runs to its closing quote (or the end); else to the first space.
        const bool quoted = line.startsWith(QLatin1Char('"'));
        const qsizetype from = quoted ? 1 : 0;
        qsizetype end = line.indexOf(QLatin1Char(quoted ? '"' : ' '), from);
        if (end < 0)
            end = line.size();
        program = line.mid(from, end - from);
        arguments = line.mid(end + 1).trimmed();
    }

    PROCESS_INFORMATION process;
    if (!CreateProcessW(wide(program), wide(arguments), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                        &process))
        return FALSE;
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = process.hProcess;
    else
        CloseHandle(process.hProcess);
    return TRUE;
}
