#include "ZoneOverride.h"

#include "platform/FileTime.h"

#include <gtest/gtest.h>

namespace {

TEST(FileTime, UnixConversionsRoundTrip)
{
    EXPECT_EQ(FileTime::ticks(FileTime::fromUnix(0, 0)), 116444736000000000ULL);
    const FILETIME t = FileTime::fromUnix(1700000000, 123456789);
    EXPECT_EQ(FileTime::ticks(t), (1700000000ULL + 11644473600ULL) * 10000000ULL + 1234567ULL);
    const timespec back = FileTime::toTimespec(t);
    EXPECT_EQ(back.tv_sec, 1700000000);
    EXPECT_EQ(back.tv_nsec, 123456700);
    EXPECT_EQ(FileTime::ticks(FileTime::fromUnix(-11644473601LL, 0)), 0u);
    EXPECT_EQ(FileTime::toUtc(t), QDateTime(QDate(2023, 11, 14), QTime(22, 13, 20, 123), Qt::UTC));
    EXPECT_EQ(FileTime::ticks(FileTime::fromDateTime(FileTime::toUtc(t))),
              (1700000000ULL + 11644473600ULL) * 10000000ULL + 1230000ULL);
}

TEST(FileTime, LocalTimeUsesTheRulesOfThatMoment)
{
    ZoneOverride berlin("Europe/Berlin");
    // A summer and a winter instant show their own offsets, whatever today is.
    const QDateTime summer = FileTime::toLocal(FileTime::fromUnix(1688212800, 0)); // 2023-07-01 12:00 UTC
    const QDateTime winter = FileTime::toLocal(FileTime::fromUnix(1672574400, 0)); // 2023-01-01 12:00 UTC
    EXPECT_EQ(summer.time(), QTime(14, 0));
    EXPECT_EQ(winter.time(), QTime(13, 0));
}

} // namespace
