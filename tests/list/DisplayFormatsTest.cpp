#include "list/DisplayFormats.h"
#include "platform/FileTime.h"

#include "QtPrinters.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <time.h>

namespace {

struct SizeCase {
    DWORD high;
    DWORD low;
    const char *text;
};

void PrintTo(const SizeCase &c, std::ostream *out)
{
    *out << c.high << "-" << c.low;
}

class FileSizeText : public testing::TestWithParam<SizeCase> {};

TEST_P(FileSizeText, Boundaries)
{
    const SizeCase &c = GetParam();
    EXPECT_EQ(FormatFileSize(c.high, c.low), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileSizeText,
                         testing::Values(SizeCase{0, 0, "0 b"}, SizeCase{0, 1023, "1023 b"},
                                         SizeCase{0, 1024, "1.0Kb"}, SizeCase{0, 1536, "1.5Kb"},
                                         SizeCase{0, 1126, "1.1Kb"}, // 1.0996 rounds up
                                         SizeCase{0, 1048575, "1024.0Kb"},
                                         SizeCase{0, 1048576, "1.0Mb"},
                                         SizeCase{0, 1625292, "1.5Mb"}, // 1.54999 rounds down
                                         SizeCase{0, 0xFFFFFFFF, "4096.0Mb"},
                                         SizeCase{1, 0, "4096.0Mb"}, SizeCase{1, 0x80000000, "6144.0Mb"}));

struct AttributeCase {
    DWORD attributes;
    const char *text;
};

void PrintTo(const AttributeCase &c, std::ostream *out)
{
    *out << "0x" << std::hex << c.attributes;
}

class AttributeText : public testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeText, LettersInFixedOrder)
{
    EXPECT_EQ(FormatAttributes(GetParam().attributes), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Attributes, AttributeText,
                         testing::Values(AttributeCase{0, ""}, AttributeCase{0x39F7, "RHSDAINTCFM"},
                                         AttributeCase{0xFFFFFFFF, "RHSDAINTCFM"}, AttributeCase{0x8, ""},
                                         AttributeCase{0x600, ""}, AttributeCase{0xFFFFC000, ""},
                                         AttributeCase{0x61, "RAI"}, AttributeCase{0x20, "A"},
                                         AttributeCase{0x2100, "TM"}));

// Sets TZ for the test's lifetime and restores it afterwards.
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

FILETIME utc(int year, int month, int day, int hour, int minute, int second)
{
    return FileTime::fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC));
}

TEST(FileTimeText, UsesTheOffsetInForceAtThatMoment)
{
    ZoneOverride berlin("Europe/Berlin");
    // Summer time (+2) and winter time (+1), whatever today's offset is.
    EXPECT_EQ(FormatFileTime(utc(2003, 8, 19, 10, 59, 18)), QStringLiteral("19-08-2003 12:59:18"));
    EXPECT_EQ(FormatFileTime(utc(2003, 1, 5, 23, 30, 0)), QStringLiteral("06-01-2003 00:30:00"));
    // The hour the clocks go forward: 01:59:59 UTC+1, then 03:00:00 UTC+2.
    EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 0, 59, 59)), QStringLiteral("28-03-2021 01:59:59"));
    EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 1, 0, 0)), QStringLiteral("28-03-2021 03:00:00"));
}

TEST(FileTimeText, YearInFullAndFieldsPadded)
{
    ZoneOverride utcZone("UTC");
    EXPECT_EQ(FormatFileTime(utc(1999, 12, 31, 23, 59, 59)), QStringLiteral("31-12-1999 23:59:59"));
    EXPECT_EQ(FormatFileTime(FILETIME{}), QStringLiteral("01-01-1601 00:00:00"));
    EXPECT_EQ(FormatFileTime(utc(2004, 2, 29, 0, 0, 7)), QStringLiteral("29-02-2004 00:00:07"));
}

} // namespace
