// What the platform reads from and converts for the host: code page 1252,
// file times, memory and power readings.
#include "platform/CodePage.h"
#include "platform/FileTime.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// glibc's iconv judges each byte; the five bytes it leaves undefined are their own C1 control.
char16_t iconvUnicode(unsigned char byte)
{
    const iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    char in = char(byte);
    char16_t out = 0;
    char *inp = &in, *outp = reinterpret_cast<char *>(&out);
    size_t inLeft = 1, outLeft = 2;
    const bool converted = iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1);
    iconv_close(cd);
    return converted ? out : char16_t(byte);
}

TEST(CodePage, EveryByteMapsAsIconvSaysAndRoundTrips)
{
    for (int b = 1; b < 256; ++b) {
        EXPECT_EQ(CodePage::toUnicode(uchar(b)), iconvUnicode(uchar(b))) << b;
        const char byte = char(b);
        WCHAR wide[2] = {};
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &byte, 1, wide, 2), 1);
        EXPECT_EQ(wide[0], CodePage::toUnicode(uchar(b)));
        char back = 0;
        BOOL usedDefault = TRUE;
        ASSERT_EQ(WideCharToMultiByte(1252, 0, wide, 1, &back, 1, nullptr, &usedDefault), 1);
        EXPECT_EQ(back, byte) << b;
        EXPECT_FALSE(usedDefault);
    }
}

TEST(CodePage, UnmappableCharactersBecomeTheDefault)
{
    const WCHAR text[] = u"A\u0100\u4E2D";
    char out[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, &usedDefault), 4);
    EXPECT_STREQ(out, "A??");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 3, out, sizeof out, "#", nullptr), 3);
    EXPECT_EQ(QByteArray(out, 3), "A##");
    EXPECT_EQ(CodePage::toAnsi(QString::fromUtf16(u"\u20AC5 \u00E9t\u00E9 \u0100")), "\x80" "5 \xE9t\xE9 ?");
    EXPECT_EQ(CodePage::fromAnsi("\x80\x81\xFF"), QString::fromUtf16(u"\u20AC\u0081\u00FF"));
}

TEST(CodePage, SizesAndErrors)
{
    const WCHAR text[] = u"hello";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 6);
    char small[3];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, small, sizeof small, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(65001, 0, text, -1, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR wide[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

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

void writeSupply(const QString &root, const QString &name, const QList<QPair<const char *, const char *>> &files)
{
    QDir(root).mkpath(name);
    for (const auto &[file, value] : files) {
        QFile out(root + '/' + name + '/' + file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(value) + '\n');
    }
}


TEST(SystemInfoTest, MemInfoGivesBytesClampedTo32Bits)
{
    MEMORYSTATUS status;
    ASSERT_TRUE(SystemSource::parseMemInfo("MemTotal:       32768 kB\nMemFree:  1000 kB\nMemAvailable:   12800 kB\n"
                                           "SwapTotal: 8388608 kB\nSwapFree: 0 kB\n", status));
    EXPECT_EQ(status.dwTotalPhys, 32u << 20);
    EXPECT_EQ(status.dwAvailPhys, 12800u << 10);
    EXPECT_EQ(status.dwMemoryLoad, 61u);
    EXPECT_EQ(status.dwTotalPageFile, 0xFFFFFFFFu);
    // Kernels before MemAvailable: free plus buffers plus cache.
    ASSERT_TRUE(SystemSource::parseMemInfo("MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 5 kB\nCached: 20 kB\n", status));
    EXPECT_EQ(status.dwAvailPhys, 35u << 10);
    EXPECT_FALSE(SystemSource::parseMemInfo("garbage", status));
}

TEST(SystemInfoTest, PowerSuppliesMapToThePlatformFlags)
{
    QTemporaryDir root;
    SYSTEM_POWER_STATUS_EX status;
    SystemSource::readPowerSupplies(root.path(), status);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE); // nothing but mains can power it
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
    EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
    EXPECT_EQ(status.BackupBatteryFlag, BATTERY_FLAG_NO_BATTERY);

    writeSupply(root.path(), "AC", {{"type", "Mains"}, {"online", "0"}});
    writeSupply(root.path(), "BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "20"},
                                      {"energy_now", "30000000"}, {"power_now", "15000000"}});
    SystemSource::readPowerSupplies(root.path(), status);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_LOW);
    EXPECT_EQ(status.BatteryLifePercent, 20);
    EXPECT_EQ(status.BatteryLifeTime, 7200u);

    writeSupply(root.path(), "AC", {{"online", "1"}});
    writeSupply(root.path(), "BAT0", {{"status", "Charging"}, {"capacity", "90"}});
    SystemSource::readPowerSupplies(root.path(), status);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING);
    EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
}

} // namespace
