#include "platform/FileTime.h"

std::uint64_t FileTime::ticks(const FILETIME &time)
{
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTime::fromTicks(std::uint64_t ticks)
{
    FILETIME time;
    time.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = DWORD(ticks >> 32);
    return time;
}

FILETIME FileTime::fromUnix(std::int64_t seconds, std::uint32_t nanoseconds)
{
    const std::int64_t sinceEpoch = seconds * std::int64_t(TicksPerSecond) + nanoseconds / 100;
    if (sinceEpoch < -std::int64_t(UnixEpochTicks))
        return FILETIME();
    return fromTicks(std::uint64_t(sinceEpoch + std::int64_t(UnixEpochTicks)));
}

timespec FileTime::toTimespec(const FILETIME &time)
{
    const std::int64_t sinceEpoch = std::int64_t(ticks(time)) - std::int64_t(UnixEpochTicks);
    std::int64_t seconds = sinceEpoch / std::int64_t(TicksPerSecond);
    std::int64_t rest = sinceEpoch % std::int64_t(TicksPerSecond);
    if (rest < 0) {
        rest += TicksPerSecond;
        --seconds;
    }
    timespec result;
    result.tv_sec = time_t(seconds);
    result.tv_nsec = long(rest * 100);
    return result;
}

QDateTime FileTime::toUtc(const FILETIME &time)
{
    const std::int64_t sinceEpoch = std::int64_t(ticks(time)) - std::int64_t(UnixEpochTicks);
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch / 10000, Qt::UTC);
}

FILETIME FileTime::fromDateTime(const QDateTime &time)
{
    const std::int64_t ms = time.toMSecsSinceEpoch();
    const std::int64_t seconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    return fromUnix(seconds, std::uint32_t(ms - seconds * 1000) * 1000000u);
}

QDateTime FileTime::toLocal(const FILETIME &time)
{
    return toUtc(time).toLocalTime();
}
