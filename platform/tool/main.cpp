// qmdevice: looks into a device from the command line.
//   qmdevice [--device DIR] ls [DEVICE-FOLDER]     list a folder (default "\")
//   qmdevice [--device DIR] reg ROOT\KEY           dump a registry key
#include "platform/Device.h"
#include "platform/FileTime.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

#include <vector>

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

int listFolder(QString folder)
{
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide(folder + QLatin1Char('*')), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_NO_MORE_FILES)
            return 0;
        err << "cannot list " << folder << ": error " << error << Qt::endl;
        return 1;
    }
    do {
        const quint64 size = (quint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        out << QStringLiteral("0x%1 %2 %3 %4")
                   .arg(data.dwFileAttributes, 4, 16, QLatin1Char('0'))
                   .arg(size, 12)
                   .arg(FileTime::toLocal(data.ftLastWriteTime).toString(Qt::ISODate))
                   .arg(fromWide(data.cFileName))
            << Qt::endl;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return 0;
}

QString valueText(DWORD type, const std::vector<BYTE> &data)
{
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return QLatin1Char('"') + QString::fromUtf16(reinterpret_cast<const char16_t *>(data.data()),
                                                     qsizetype(data.size() / 2)).section(QChar(0), 0, 0)
            + QLatin1Char('"');
    case REG_DWORD:
        if (data.size() == 4)
            return QStringLiteral("dword:%1").arg(data[0] | data[1] << 8 | data[2] << 16 | DWORD(data[3]) << 24);
        [[fallthrough]];
    default:
        return QStringLiteral("type %1: %2").arg(type).arg(
            QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size())).toHex(' ')));
    }
}

int dumpKey(const QString &path)
{
    static const std::pair<const char *, HKEY> roots[] = {
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_USERS", HKEY_USERS}};
    const QString rootName = path.section(QLatin1Char('\\'), 0, 0).toUpper();
    const QString subKey = path.section(QLatin1Char('\\'), 1);
    HKEY root = nullptr;
    for (const auto &[name, handle] : roots)
        if (rootName == QLatin1String(name))
            root = handle;
    HKEY key = nullptr;
    if (!root || RegOpenKeyExW(root, wide(subKey), 0, 0, &key) != ERROR_SUCCESS) {
        err << "no key " << path << Qt::endl;
        return 1;
    }
    WCHAR name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        out << "[" << fromWide(name) << "]" << Qt::endl;
    }
    for (DWORD i = 0;; ++i) {
        DWORD length = 256, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
        const QString valueName = fromWide(name);
        out << (valueName.isEmpty() ? QStringLiteral("@") : valueName) << " = " << valueText(type, data) << Qt::endl;
    }
    RegCloseKey(key);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    Device device(Device::chooseDir(args));
    Device::setCurrent(&device);
    for (const QString &option : {QStringLiteral("--device"), QStringLiteral("--network")}) {
        const int i = args.indexOf(option);
        if (i >= 0)
            args.remove(i, std::min<qsizetype>(2, args.size() - i));
    }
    const QString command = args.value(0);
    if (command == QLatin1String("ls"))
        return listFolder(args.value(1, QStringLiteral("\\")));
    if (command == QLatin1String("reg") && args.size() == 2)
        return dumpKey(args.at(1));
    err << "usage: qmdevice [--device DIR] ls [FOLDER] | reg ROOT\\KEY" << Qt::endl;
    return 2;
}
