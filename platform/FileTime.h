// FILETIME (100 ns ticks since 1601-01-01 UTC) <-> host times.
#pragma once

#include "platform/Types.h"

#include <QDateTime>
#include <cstdint>
#include <ctime>

class FileTime
{
public:
    // Ticks between 1601-01-01 and 1970-01-01.
    static constexpr std::uint64_t UnixEpochTicks = 116444736000000000ULL;
    static constexpr std::uint64_t TicksPerSecond = 10000000ULL;

    static std::uint64_t ticks(const FILETIME &time);
    static FILETIME fromTicks(std::uint64_t ticks);

    // Times before 1601 are clamped to 0.
    static FILETIME fromUnix(std::int64_t seconds, std::uint32_t nanoseconds);
    static timespec toTimespec(const FILETIME &time);

    // The time as a UTC QDateTime (millisecond precision).
    static QDateTime toUtc(const FILETIME &time);
    static FILETIME fromDateTime(const QDateTime &time);
    // Local wall-clock time for display, using the zone rules in force at that
    // moment (a summer date shows its summer offset even in winter).
    static QDateTime toLocal(const FILETIME &time);
};
