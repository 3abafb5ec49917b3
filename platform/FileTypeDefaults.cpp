#include "platform/FileTypeDefaults.h"

#include "platform/Files.h"
#include "platform/Registry.h"

#include <QStringList>

namespace {

struct DefaultType {
    const char *className;
    const char *description;
    QStringList extensions;
};

// Bumped when the table grows, so devices set up earlier get the new entries.
constexpr DWORD TableVersion = 1;
const QString MarkKey = QStringLiteral("\\System\\Quillmoss");
const QString MarkValue = QStringLiteral("FileTypeDefaults");

// Class names never end in "file": the extension editor names its classes
// ext + "file", and rewriting one must not change the other extensions here.
const DefaultType Types[] = {
    {"text.document", "Text Document", {"txt", "log", "csv"}},
    {"xml.document", "XML Document", {"xml"}},
    {"web.page", "Web Page", {"htm", "html"}},
    {"bitmap.image", "Bitmap Image", {"bmp"}},
    {"jpeg.image", "JPEG Image", {"jpg", "jpeg"}},
    {"gif.image", "GIF Image", {"gif"}},
    {"png.image", "PNG Image", {"png"}},
    {"pdf.document", "PDF Document", {"pdf"}},
    {"word.document", "Word Document", {"doc", "docx", "rtf"}},
    {"spreadsheet", "Spreadsheet", {"xls", "xlsx", "ods"}},
    {"opendocument.text", "OpenDocument Text", {"odt"}},
    {"zip.archive", "ZIP Archive", {"zip"}},
    {"tar.archive", "Tar Archive", {"tar", "gz", "tgz"}},
    {"mp3.audio", "MP3 Audio", {"mp3"}},
    {"wave.sound", "Wave Sound", {"wav"}},
    {"ogg.audio", "Ogg Audio", {"ogg"}},
    {"mp4.video", "MP4 Video", {"mp4", "m4v"}},
    {"avi.video", "AVI Video", {"avi"}},
    {"webm.video", "WebM Video", {"webm"}},
};

struct DefaultAlias {
    const char *alias;
    const char *standIn;
};

const DefaultAlias Aliases[] = {
    {":DEFBROWSER", "iexplore.exe"},
    {":MSMAIL", "tmail.exe"},
    {":HOSTOPEN", "hostopen.exe"},
};

bool keyExists(HKEY root, const QString &path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, wide(path), 0, 0, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void setValue(HKEY root, const QString &path, const QString &name, DWORD type, const void *data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, wide(path), 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.isEmpty() ? nullptr : wide(name), 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

void setString(HKEY root, const QString &path, const QString &name, const QString &value)
{
    setValue(root, path, name, REG_SZ, value.utf16(), DWORD(value.size() + 1) * 2);
}

} // namespace

QString FileTypeDefaults::openCommand()
{
    return QStringLiteral("\\Windows\\hostopen.exe \"%1\"");
}

void FileTypeDefaults::install()
{
    HKEY mark = nullptr;
    DWORD version = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(MarkKey), 0, 0, &mark) == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD size = sizeof version;
        if (RegQueryValueExW(mark, wide(MarkValue), nullptr, &type, reinterpret_cast<BYTE *>(&version), &size)
                != ERROR_SUCCESS
            || type != REG_DWORD)
            version = 0;
        RegCloseKey(mark);
    }
    if (version >= TableVersion)
        return;

    for (const DefaultType &type : Types) {
        const QString className = QString::fromLatin1(type.className);
        if (!keyExists(HKEY_CLASSES_ROOT, className)) {
            setString(HKEY_CLASSES_ROOT, className, QString(), QString::fromLatin1(type.description));
            setString(HKEY_CLASSES_ROOT, className + QStringLiteral("\\Shell\\Open\\Command"), QString(),
                      openCommand());
        }
        for (const QString &extension : type.extensions) {
            if (!keyExists(HKEY_CLASSES_ROOT, QLatin1Char('.') + extension))
                setString(HKEY_CLASSES_ROOT, QLatin1Char('.') + extension, QString(), className);
        }
    }
    for (const DefaultAlias &entry : Aliases) {
        const QString program = QStringLiteral("\\Windows\\") + QString::fromLatin1(entry.standIn);
        const QString key = QStringLiteral("\\Software\\Microsoft\\Shell\\Rai\\") + QString::fromLatin1(entry.alias);
        if (GetFileAttributesW(wide(program)) != INVALID_FILE_ATTRIBUTES && !keyExists(HKEY_LOCAL_MACHINE, key))
            setString(HKEY_LOCAL_MACHINE, key, QStringLiteral("1"), program);
    }
    setValue(HKEY_LOCAL_MACHINE, MarkKey, MarkValue, REG_DWORD, &TableVersion, sizeof TableVersion);
}
