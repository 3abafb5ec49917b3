// A network path served over SMB: "\\COMPUTER\SHARE\folder\name", where the
// computer is a host name or address, optionally with a port after a colon
// ("\\127.0.0.1:4455\public"). A computer that has a folder in the device's
// network folder is served from there instead, so no SMB path names one.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

class SmbPath
{
public:
    enum class Wildcards { Refuse, AllowInLast };

    // The SMB path that path names, or nothing when it is not one. A path that
    // is one but cannot be reached as written carries an error():
    // ERROR_BAD_NETPATH for a malformed computer, ERROR_INVALID_NAME for a bad
    // component (".", "..", "/", NUL, wildcards where refused),
    // ERROR_FILENAME_EXCED_RANGE for MAX_PATH characters or more.
    static std::optional<SmbPath> parse(const QString &path, Wildcards wildcards = Wildcards::Refuse);

    DWORD error() const { return m_error; }
    bool ok() const { return m_error == ERROR_SUCCESS; }
    // "host" or "host:port" as written: the session key.
    const QString &server() const { return m_server; }
    // "\\computer" alone, without a share.
    bool isComputer() const { return m_components.isEmpty(); }
    // "\\computer\share": a share's own folder.
    bool isShare() const { return m_components.size() == 1; }
    // The last component (the share for a share); empty for a computer.
    QString name() const { return m_components.isEmpty() ? QString() : m_components.last(); }
    bool endsWithSeparator() const { return m_endsWithSeparator; }
    bool hasWildcards() const;
    // Whether both lie in one share of one server (a rename can join them).
    bool sameShare(const SmbPath &other) const
    {
        return !isComputer() && !other.isComputer() && m_server.compare(other.m_server, Qt::CaseInsensitive) == 0
            && m_components.first().compare(other.m_components.first(), Qt::CaseInsensitive) == 0;
    }
    // Whether both name one object's folder (the parent) on one server.
    bool sameParent(const SmbPath &other) const;

    // libsmbclient's address of the object, components percent-encoded.
    QByteArray url() const { return urlOf(m_components.size()); }
    // The folder holding the object (the computer for a share).
    QByteArray parentUrl() const { return urlOf(m_components.size() - 1); }
    // The address of name inside this folder.
    QByteArray childUrl(const QString &name) const;

private:
    QByteArray urlOf(qsizetype components) const;

    DWORD m_error = ERROR_SUCCESS;
    QString m_server;
    QStringList m_components;
    bool m_endsWithSeparator = false;
};
