// wceload.exe stand-in, the device's cabinet installer: installs the
// cabinet named by its command line onto the device (QUILLMOSS_DEVICE).
// Refusals and failures are told on stderr with exit status 1.
#include "cabinstall/CabinetReader.h"
#include "cabinstall/SetupInstaller.h"
#include "platform/Device.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr DWORD MaxCabinetSize = 256 * 1024 * 1024;

bool readCabinet(const QString &path, QByteArray &bytes, QString &error)
{
    HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = QStringLiteral("cannot open it (error %1).").arg(GetLastError());
        return false;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    DWORD read = 0;
    bool ok = high == 0 && size <= MaxCabinetSize;
    if (ok) {
        bytes.resize(size);
        ok = ReadFile(file, bytes.data(), size, &read, nullptr) && read == size;
    }
    CloseHandle(file);
    if (!ok)
        error = QStringLiteral("cannot read it, or it is too big.");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString cab = app.arguments().mid(1).join(QLatin1Char(' ')).trimmed();
    Device device(Device::chooseDir({}));
    CurrentDevice current(device);
    QByteArray bytes;
    QList<CabMember> members;
    QString error;
    if (cab.isEmpty())
        error = QStringLiteral("no cabinet named.");
    else if (readCabinet(cab, bytes, error) && CabinetReader::read(bytes, members, error)
             && SetupInstaller::install(members, error))
        return 0;
    QTextStream(stderr) << "wceload: " << cab << ": " << error << Qt::endl;
    return 1;
}
