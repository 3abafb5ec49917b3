#include "platform/Shell.h"

#include "platform/CodePage.h"
#include "platform/Files.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

namespace {

// Bytes looked at to guess the type of a file whose name says nothing.
constexpr DWORD SniffBytes = 512;
// A shortcut is one short line; anything bigger is not read for its icon.
constexpr DWORD ShortcutIconLimit = 4096;

class FileHandle
{
public:
    explicit FileHandle(const QString &path)
        : m_handle(CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~FileHandle()
    {
        if (ok())
            CloseHandle(m_handle);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Up to limit bytes from the start of the file; false when it cannot be read.
bool ReadHead(const QString &path, DWORD limit, QByteArray &bytes)
{
    FileHandle file(path);
    if (!file.ok())
        return false;
    bytes.resize(qsizetype(limit));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), limit, &read, nullptr))
        return false;
    bytes.truncate(qsizetype(read));
    return true;
}

// What C's atoi reads at the start of text.
long long LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), 1LL << 40);
    return negative ? -value : value;
}

// The target inside a shortcut's text; size is the file's size in bytes.
QString TargetOfShortcutText(QString text, qsizetype size)
{
    const qsizetype hash = text.indexOf(u'#');
    if (hash >= 0) {
        const long long count = LeadingNumber(text.left(hash));
        const qsizetype question = text.indexOf(u'?');
        long long length = question >= 0 ? question - hash - 1 : count >= 1 ? count : size - hash - 1;
        length = std::clamp<long long>(length, 0, size);
        text = text.mid(hash + 1, qsizetype(length));
    }
    if (text.endsWith(u'"'))
        text.chop(1);
    if (text.startsWith(u'"'))
        text.remove(0, 1);
    return text;
}

bool ReadShortcut(const QString &path, DWORD limit, QString &target)
{
    FileHandle file(path);
    if (!file.ok())
        return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > limit) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    std::vector<char> bytes(std::size_t(size) + 1, 0);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), size, &read, nullptr))
        return false;
    if (read < size) {
        SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    // The text ends at the first zero byte, as a C string would.
    const int length = int(std::find(bytes.begin(), bytes.end(), '\0') - bytes.begin());
    std::vector<WCHAR> wide(std::size_t(length) + 1, 0);
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), length);
    target = TargetOfShortcutText(fromWide(wide.data()), qsizetype(size));
    return true;
}

// Without a desktop session (the offscreen and VNC platforms) Qt knows neither
// the icon theme nor where themes live: add the freedesktop locations and use
// Adwaita.
void EnsureIconTheme()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        QStringList standard = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                         QStringLiteral("icons"), QStandardPaths::LocateDirectory);
        standard.prepend(QDir::homePath() + QStringLiteral("/.icons"));
        for (const QString &path : standard) {
            if (!paths.contains(path))
                paths.append(path);
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::fallbackThemeName().isEmpty())
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)done;
}

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'\\') + 1);
}

QIcon ThemeIcon(const QString &name, const QString &fallbackName)
{
    QIcon icon = QIcon::fromTheme(name, QIcon::fromTheme(fallbackName));
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("application-x-generic")) : icon;
}

// The icon of a file by its name, or by content when the name says nothing
// and the file can be read (path empty: name only).
QIcon IconOfFile(const QString &name, const QString &path)
{
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return ThemeIcon(QStringLiteral("application-x-executable"), QString());
    QMimeDatabase mimes;
    QMimeType type;
    // The platform takes everything after the last dot as the extension, so a
    // bare ".txt" is a text file; Qt would see a hidden file without one.
    const QString lookupName = name.startsWith(u'.') ? QLatin1Char('x') + name : name;
    const QList<QMimeType> byName = mimes.mimeTypesForFileName(lookupName);
    QByteArray head;
    if (!byName.isEmpty())
        type = byName.first();
    else if (!path.isEmpty() && ReadHead(path, SniffBytes, head))
        type = mimes.mimeTypeForData(head);
    else
        type = mimes.mimeTypeForName(QStringLiteral("application/octet-stream"));
    return ThemeIcon(type.iconName(), type.genericIconName());
}

bool IsShortcut(const QString &path)
{
    return path.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive);
}

// A shortcut whose target is not shown: a shortcut named by its name only, or
// one that cannot be read, or the target of a shortcut (one level is followed).
QIcon ShortcutIcon()
{
    return ThemeIcon(QStringLiteral("inode-symlink"), QString());
}

// touchFile false: only the name and the attributes count.
QIcon IconOfObject(const QString &path, DWORD attributes, bool touchFile)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ThemeIcon(QStringLiteral("folder"), QString());
    const QString name = NameOf(path);
    if (!touchFile)
        return IsShortcut(name) ? ShortcutIcon() : IconOfFile(name, QString());

    if (!IsShortcut(name))
        return IconOfFile(name, path);
    QString target;
    if (ReadShortcut(path, ShortcutIconLimit, target) && !target.isEmpty()) {
        // A bare name lies in the shortcut's own folder.
        if (!target.contains(u'\\'))
            target.prepend(path.left(path.lastIndexOf(u'\\') + 1));
        const DWORD targetAttributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(target.utf16()));
        if (targetAttributes == INVALID_FILE_ATTRIBUTES)
            return IconOfObject(target, 0, false);
        // One level only: a shortcut to a shortcut shows the shortcut icon.
        return IconOfObject(target, targetAttributes, !IsShortcut(target));
    }
    return ShortcutIcon();
}

} // namespace

DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFO *info, UINT infoSize, UINT flags)
{
    if (!path || !info || infoSize < sizeof(SHFILEINFO) || !(flags & SHGFI_ICON)
        || !qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const QString devicePath = fromWide(path);
    const bool touchFile = !(flags & SHGFI_USEFILEATTRIBUTES);
    if (touchFile) {
        fileAttributes = GetFileAttributesW(path);
        if (fileAttributes == INVALID_FILE_ATTRIBUTES)
            return 0;
    }

    EnsureIconTheme();
    const int size = (flags & SHGFI_SMALLICON) ? 16 : 32;
    const QPixmap pixmap = IconOfObject(devicePath, fileAttributes, touchFile).pixmap(size, size);
    if (pixmap.isNull()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    info->hIcon = new QIcon(pixmap);
    return 1;
}

BOOL DestroyIcon(HICON icon)
{
    if (!icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete icon;
    return TRUE;
}

BOOL SHGetShortcutTarget(LPCWSTR path, LPWSTR target, int capacity)
{
    if (!path || !target || capacity <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    QString text;
    if (!ReadShortcut(fromWide(path), INVALID_FILE_SIZE - 1, text))
        return FALSE;
    copyToWide(text, target, capacity);
    return TRUE;
}
