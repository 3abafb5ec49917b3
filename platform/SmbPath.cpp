#include "platform/SmbPath.h"

#include "platform/DevicePath.h"

#include <QUrl>

namespace {

constexpr int MaxHostLength = 253;

bool isWildcard(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('?');
}

// A host name or an IPv4 address, then an optional decimal port 1-65535.
bool validServer(const QString &server)
{
    const qsizetype colon = server.indexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? server : server.left(colon);
    if (host.isEmpty() || host.size() > MaxHostLength)
        return false;
    for (const QChar c : host) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-') && c != QLatin1Char('.')
            && c != QLatin1Char('_'))
            return false;
    }
    if (colon < 0)
        return true;
    const QString port = server.mid(colon + 1);
    bool number = false;
    const int value = port.toInt(&number);
    return number && port.size() <= 5 && port.at(0).isDigit() && value >= 1 && value <= 65535;
}

// Whether the device's network folder holds the computer.
bool inNetworkFolder(const QString &computer)
{
    const DevicePath folder = DevicePath::resolve(QStringLiteral("\\\\") + computer);
    return folder.ok() && folder.exists();
}

} // namespace

std::optional<SmbPath> SmbPath::parse(const QString &path, Wildcards wildcards)
{
    if (!path.startsWith(QLatin1String("\\\\")))
        return std::nullopt;
    QStringList components = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (components.isEmpty())
        return std::nullopt;
    const QString computer = components.takeFirst();
    if (!computer.contains(QLatin1Char(':')) && inNetworkFolder(computer))
        return std::nullopt;

    SmbPath result;
    result.m_server = computer;
    result.m_components = components;
    result.m_endsWithSeparator = path.endsWith(QLatin1Char('\\'));
    if (path.size() >= MAX_PATH) {
        result.m_error = ERROR_FILENAME_EXCED_RANGE;
    } else if (!validServer(computer)) {
        result.m_error = ERROR_BAD_NETPATH;
    } else {
        for (qsizetype i = 0; i < components.size(); ++i) {
            const QString &component = components.at(i);
            const bool wildcardsAllowed = wildcards == Wildcards::AllowInLast && i == components.size() - 1;
            if (component == QLatin1String(".") || component == QLatin1String("..")
                || component.contains(QLatin1Char('/')) || component.contains(QChar(0))
                || (!wildcardsAllowed && std::any_of(component.begin(), component.end(), isWildcard)))
                result.m_error = ERROR_INVALID_NAME;
        }
    }
    return result;
}

bool SmbPath::hasWildcards() const
{
    const QString last = name();
    return std::any_of(last.begin(), last.end(), isWildcard);
}

QByteArray SmbPath::urlOf(qsizetype components) const
{
    QByteArray url = "smb://" + m_server.toLatin1();
    for (qsizetype i = 0; i < components; ++i)
        url += '/' + QUrl::toPercentEncoding(m_components.at(i));
    return url;
}

QByteArray SmbPath::childUrl(const QString &name) const
{
    return url() + '/' + QUrl::toPercentEncoding(name);
}

bool SmbPath::sameParent(const SmbPath &other) const
{
    if (m_server.compare(other.m_server, Qt::CaseInsensitive) != 0 || m_components.size() != other.m_components.size())
        return false;
    for (qsizetype i = 0; i + 1 < m_components.size(); ++i) {
        if (m_components.at(i).compare(other.m_components.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}
