#include "cabinstall/SetupInstaller.h"

#include "cabinstall/SetupFileReader.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace SetupInstaller {

namespace {

// The Pocket PC's folder macros; empty for one it does not define.
QString macroFolder(int n)
{
    switch (n) {
    case 1: return QStringLiteral("\\Program Files");
    case 2: return QStringLiteral("\\Windows");
    case 4: return QStringLiteral("\\Windows\\StartUp");
    case 5: return QStringLiteral("\\My Documents");
    case 8: return QStringLiteral("\\Program Files\\Games");
    case 11: return QStringLiteral("\\Windows\\Start Menu\\Programs");
    case 14: return QStringLiteral("\\Windows\\Start Menu\\Programs\\Games");
    case 15: return QStringLiteral("\\Windows\\Fonts");
    case 17: return QStringLiteral("\\Windows\\Start Menu");
    default: return QString();
    }
}

bool isPlainName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('\\') && !name.contains('/')
           && !name.contains(':');
}

// base followed by the plain names parts; empty when a part is not plain.
QString below(QString base, const QList<QByteArray> &parts)
{
    for (const QByteArray &part : parts) {
        if (!isPlainName(part))
            return QString();
        base += QLatin1Char('\\') + CodePage::fromAnsi(part);
    }
    return base;
}

// A folder of the setup file as a device path; empty when it leads elsewhere.
QString folderPath(const SetupFile::Dir &dir)
{
    if (dir.parts.isEmpty())
        return QString();
    const QByteArray &first = dir.parts.first();
    if (first.startsWith("%CE") && first.endsWith('%')) {
        const QString base = macroFolder(first.mid(3, first.size() - 4).toInt());
        return base.isEmpty() ? QString() : below(base, dir.parts.mid(1));
    }
    return below(QString(), dir.parts);
}

QByteArray utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), (text.size() + 1) * 2);
}

bool setValue(const SetupFile::RegValue &value)
{
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    if (value.root < 1 || value.root > 4)
        return false;
    QByteArray data = value.data;
    DWORD type = REG_BINARY;
    switch (value.typeFlags & 0x10001) {
    case 0x00000: type = REG_SZ; data = utf16(CodePage::fromAnsi(value.data.left(value.data.indexOf('\0')))); break;
    case 0x10000: type = REG_MULTI_SZ; data = utf16(CodePage::fromAnsi(value.data)).chopped(2); break;
    case 0x10001: type = REG_DWORD; if (data.size() != 4) return false; break;
    }
    const QString key = CodePage::fromAnsi(QByteArrayList(value.key).join('\\'));
    const QString name = CodePage::fromAnsi(value.name);
    HKEY handle = nullptr;
    if (RegCreateKeyExW(roots[value.root - 1], wide(key), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    const bool keep = (value.typeFlags & 0x2) // no clobber
                      && RegQueryValueExW(handle, wide(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    const bool ok = keep || RegSetValueExW(handle, wide(name), 0, type, reinterpret_cast<const BYTE *>(data.constData()),
                                           DWORD(data.size())) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

bool fail(QString &error, const QString &text)
{
    error = text;
    return false;
}

} // namespace

bool createFolders(const QString &path)
{
    QString folder;
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        folder += QLatin1Char('\\') + part;
        const DWORD attributes = GetFileAttributesW(wide(folder));
        if (attributes == INVALID_FILE_ATTRIBUTES ? !CreateDirectoryW(wide(folder), nullptr)
                                                  : !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    return CloseHandle(file) && wrote && written == DWORD(bytes.size());
}

QString platformType()
{
    QString type = QStringLiteral("PocketPC");
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Platform", 0, 0, &key) != ERROR_SUCCESS)
        return type;
    WCHAR buffer[64] = {};
    DWORD size = sizeof(buffer) - sizeof(WCHAR), valueType = REG_NONE;
    if (RegQueryValueExW(key, u"Type", nullptr, &valueType, reinterpret_cast<BYTE *>(buffer), &size) == ERROR_SUCCESS
        && valueType == REG_SZ)
        type = fromWide(buffer);
    RegCloseKey(key);
    return type;
}

bool install(const QList<CabMember> &members, QString &error)
{
    const auto member = [&](int number) -> const CabMember * {
        const QByteArray extension = '.' + QByteArray::number(number).rightJustified(3, '0');
        for (const CabMember &m : members) {
            if (m.name.endsWith(extension))
                return &m;
        }
        return nullptr;
    };
    SetupFile setup;
    const CabMember *setupMember = member(0);
    if (!setupMember)
        return fail(error, QStringLiteral("The cabinet holds no setup file."));
    if (!SetupFileReader::read(setupMember->data, setup, error))
        return false;
    const QString name = CodePage::fromAnsi(setup.provider + ' ' + setup.appName);
    const QString platform = platformType();
    for (const QByteArray &unsupported : setup.unsupported) {
        QString listed = CodePage::fromAnsi(unsupported);
        if (listed.size() > 1 && listed.startsWith(QLatin1Char('\'')) && listed.endsWith(QLatin1Char('\'')))
            listed = listed.mid(1, listed.size() - 2);
        if (listed.compare(platform, Qt::CaseInsensitive) == 0)
            return fail(error, QStringLiteral("%1 cannot be installed on this device: its platform %2 is not supported.")
                                   .arg(name, platform));
    }

    QStringList folders;
    for (const SetupFile::Dir &dir : setup.dirs) {
        folders.append(folderPath(dir));
        if (folders.last().isEmpty())
            return fail(error, QStringLiteral("The setup file names a folder outside the device's folders."));
    }
    QHash<quint16, QString> installed;
    for (const SetupFile::File &file : setup.files) {
        const CabMember *data = member(file.id);
        if (!data || !isPlainName(file.name))
            return fail(error, QStringLiteral("The setup file names a file the cabinet does not hold."));
        const QString path = folders.value(file.dir) + QLatin1Char('\\') + CodePage::fromAnsi(file.name);
        if (!createFolders(folders.value(file.dir)) || !writeFile(path, data->data)
            || (path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) && !MarkProgramFileW(wide(path))))
            return fail(error, QStringLiteral("Cannot write %1 (error %2).").arg(path).arg(GetLastError()));
        installed.insert(file.id, path);
    }
    for (const SetupFile::RegValue &value : setup.values) {
        if (!setValue(value))
            return fail(error, QStringLiteral("Cannot write the registry value %1.").arg(QString::fromLatin1(value.name)));
    }
    for (const SetupFile::Link &link : setup.links) {
        const QString base = link.baseDir == 0 ? folders.value(0) : macroFolder(link.baseDir);
        const QString path = base.isEmpty() ? QString() : below(base, link.path);
        const QString target = installed.value(link.fileId);
        if (path.isEmpty() || target.isEmpty())
            return fail(error, QStringLiteral("The setup file names a shortcut outside the device's folders."));
        // The device's shortcut format: the length of what follows "#", "#", the quoted target.
        const QString text = QStringLiteral("%1#\"%2\"").arg(target.size() + 2).arg(target);
        if (!createFolders(path.left(path.lastIndexOf(QLatin1Char('\\')))) || !writeFile(path, CodePage::toAnsi(text)))
            return fail(error, QStringLiteral("Cannot write %1 (error %2).").arg(path).arg(GetLastError()));
    }
    return true;
}

} // namespace SetupInstaller
