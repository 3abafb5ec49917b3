#include "platform/Desktop.h"

#include "platform/UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Desktop::Desktop()
    : m_dir(qEnvironmentVariable("QUILLMOSS_DESKTOP",
                                 QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                     + QStringLiteral("/quillmoss/desktop")))
{
}

RegistryHive &Desktop::hive()
{
    if (!m_hive) {
        QDir().mkpath(m_dir);
        m_hive = std::make_unique<RegistryHive>(m_dir + QStringLiteral("/registry.db"));
    }
    return *m_hive;
}

QString Desktop::readString(const QString &key, const QString &name)
{
    RegistryHive::KeyId id = 0;
    RegistryHive::Value value;
    if (!m_hive && !QFile::exists(m_dir + QStringLiteral("/registry.db")))
        return QString();
    if (hive().openKey(RegistryHive::LocalMachine, key, &id) != ERROR_SUCCESS
        || hive().queryValue(id, name, &value) != ERROR_SUCCESS || value.type != REG_SZ)
        return QString();
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(value.data.constData()), value.data.size() / 2);
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool Desktop::writeString(const QString &key, const QString &name, const QString &value)
{
    RegistryHive::KeyId id = 0;
    bool created = false;
    const QByteArray data(reinterpret_cast<const char *>(value.utf16()), (value.size() + 1) * 2);
    return hive().createKey(RegistryHive::LocalMachine, key, &id, &created) == ERROR_SUCCESS
           && hive().setValue(id, name, REG_SZ, data) == ERROR_SUCCESS;
}

bool Desktop::exists(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

bool Desktop::createFolder(const QString &path)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0;
}

bool Desktop::writeFile(const QString &path, QByteArrayView bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    for (ssize_t n = 0; done < bytes.size(); done += n) {
        n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            n = 0;
        else if (n <= 0)
            break;
    }
    return ::close(fd) == 0 && done == bytes.size();
}

bool Desktop::readFile(const QString &path, qint64 limit, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit)
        return false;
    bytes = file.read(limit + 1);
    return bytes.size() <= limit && file.error() == QFile::NoError;
}

bool Desktop::setCurrentFolder(const QString &path)
{
    return QDir::setCurrent(path);
}

namespace {

std::unique_ptr<HostProcess> startHost(const QString &program, const QStringList &arguments)
{
    const UniqueFd image(::open(QFile::encodeName(program).constData(), O_PATH | O_CLOEXEC));
    if (!image.valid()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return ProcessLauncher::current().start(image.get(), program, arguments, {});
}

} // namespace

std::unique_ptr<HostProcess> Desktop::start(const QString &program, const QString &commandLine)
{
    QString arguments = commandLine;
    for (const QString &prefix : {QLatin1Char('"') + program + QLatin1Char('"'), program}) {
        if (arguments.startsWith(prefix)) {
            arguments = arguments.mid(prefix.size());
            break;
        }
    }
    return startHost(program, SplitCommandLine(arguments));
}

void Desktop::openAddress(const QString &address)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        startHost(opener, {address});
}
