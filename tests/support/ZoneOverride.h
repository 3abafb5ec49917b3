// Sets the time zone (TZ) for a scope and restores the previous one.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <time.h>

class ZoneOverride
{
public:
    explicit ZoneOverride(const char *zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneOverride()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};
