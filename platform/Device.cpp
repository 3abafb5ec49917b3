#include "platform/Device.h"

#include "platform/RegistryHive.h"

#include <QDir>
#include <QStandardPaths>

namespace {

Device *s_current = nullptr;

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString optionValue(const QStringList &args, const QString &option)
{
    const int i = args.indexOf(option);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}

} // namespace

Device::Device(const QString &dir)
    : m_dir(QDir(dir).absolutePath()),
      m_storeRoot(m_dir + QStringLiteral("/store")),
      m_networkRoot(dataHome() + QStringLiteral("/quillmoss/network"))
{
    if (!QDir(m_storeRoot).exists())
        layOut();
}

Device::~Device()
{
    if (s_current == this)
        s_current = nullptr;
}

void Device::layOut()
{
    static const char *const folders[] = {
        "My Documents", "Program Files", "Temp", "Windows", "Windows/Start Menu",
        "Windows/Start Menu/Programs", "Windows/Desktop",
    };
    QDir store(m_storeRoot);
    store.mkpath(QStringLiteral("."));
    for (const char *folder : folders)
        store.mkpath(QString::fromLatin1(folder));
}

RegistryHive &Device::hive()
{
    if (!m_hive)
        m_hive = std::make_unique<RegistryHive>(hivePath());
    return *m_hive;
}

Device *Device::current()
{
    return s_current;
}

void Device::setCurrent(Device *device)
{
    s_current = device;
}

QString Device::chooseDir(const QStringList &args)
{
    QString dir = optionValue(args, QStringLiteral("--device"));
    if (dir.isEmpty())
        dir = qEnvironmentVariable("QUILLMOSS_DEVICE");
    if (dir.isEmpty())
        dir = dataHome() + QStringLiteral("/quillmoss/device");
    return dir;
}

QString Device::chooseNetworkDir(const QStringList &args)
{
    const QString dir = optionValue(args, QStringLiteral("--network"));
    return dir.isEmpty() ? dataHome() + QStringLiteral("/quillmoss/network") : dir;
}
