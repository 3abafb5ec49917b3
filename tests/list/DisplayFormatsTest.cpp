#include "list/DisplayFormats.h"
#include "platform/FileTime.h"

#include "QtPrinters.h"
#include "ZoneOverride.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

TEST(DisplayFormats, FileSizeBoundaries)
{
    const struct {
        DWORD high, low;
        const char *text;
    } cases[] = {
        {0, 0, "0 b"},           {0, 1023, "1023 b"},         {0, 1024, "1.0Kb"},
        {0, 1536, "1.5Kb"},      {0, 1126, "1.1Kb"}, // 1.0996 rounds up
        {0, 1048575, "1024.0Kb"}, {0, 1048576, "1.0Mb"},
        {0, 1625292, "1.5Mb"}, // 1.54999 rounds down
        {0, 0xFFFFFFFF, "4096.0Mb"}, {1, 0, "4096.0Mb"},     {1, 0x80000000, "6144.0Mb"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFileSize(c.high, c.low), c.text) << c.high << "-" << c.low;
}

TEST(DisplayFormats, AttributeLettersInFixedOrder)
{
    const std::pair<DWORD, const char *> cases[] = {
        {0, ""},       {0x39F7, "RHSDAINTCFM"}, {0xFFFFFFFF, "RHSDAINTCFM"}, {0x8, ""},  {0x600, ""},
        {0xFFFFC000, ""}, {0x61, "RAI"},        {0x20, "A"},                  {0x2100, "TM"},
    };
    for (const auto &[attributes, text] : cases)
        EXPECT_EQ(FormatAttributes(attributes), text) << std::hex << attributes;
}

FILETIME utc(int year, int month, int day, int hour, int minute, int second)
{
    return FileTime::fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC));
}

TEST(DisplayFormats, FileTimeUsesTheOffsetInForceAtThatMoment)
{
    {
        ZoneOverride berlin("Europe/Berlin");
        // Summer time (+2) and winter time (+1), whatever today's offset is.
        EXPECT_EQ(FormatFileTime(utc(2003, 8, 19, 10, 59, 18)), "19-08-2003 12:59:18");
        EXPECT_EQ(FormatFileTime(utc(2003, 1, 5, 23, 30, 0)), "06-01-2003 00:30:00");
        // The hour the clocks go forward: 01:59:59 UTC+1, then 03:00:00 UTC+2.
        EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 0, 59, 59)), "28-03-2021 01:59:59");
        EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 1, 0, 0)), "28-03-2021 03:00:00");
    }
    // The year in full, every field padded.
    ZoneOverride utcZone("UTC");
    EXPECT_EQ(FormatFileTime(utc(1999, 12, 31, 23, 59, 59)), "31-12-1999 23:59:59");
    EXPECT_EQ(FormatFileTime(FILETIME{}), "01-01-1601 00:00:00");
    EXPECT_EQ(FormatFileTime(utc(2004, 2, 29, 0, 0, 7)), "29-02-2004 00:00:07");
}

} // namespace
