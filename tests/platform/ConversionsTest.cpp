// What the platform reads from and converts for the host: code page 1252,
// file times, memory and power readings.
#include "PlatformTestUtil.h"
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

TEST(CodePage, EveryByteMapsAsIconvSaysAndRoundTripsOthersBecomeTheDefault)
{
    for (int b = 1; b < 256; ++b) {
        const char byte = char(b);
        WCHAR wide[2] = {};
        char back = 0;
        BOOL usedDefault = TRUE;
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, &byte, 1, wide, 2), 1) << b;
        EXPECT_EQ(WideCharToMultiByte(1252, 0, wide, 1, &back, 1, nullptr, &usedDefault), 1) << b;
        const char16_t unicode = iconvUnicode(uchar(b));
        EXPECT_EQ(std::tuple(CodePage::toUnicode(uchar(b)), wide[0], back, usedDefault),
                  std::tuple(unicode, unicode, byte, FALSE)) << b;
    }
    // Unmappable characters become the default; sizes are checked.
    const WCHAR text[] = u"A\u0100\u4E2D";
    char out[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ((std::tuple{WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, &usedDefault),
                          std::string(out), usedDefault}), std::tuple(4, std::string("A??"), TRUE));
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 3, out, sizeof out, "#", nullptr), 3);
    EXPECT_EQ(QByteArray(out, 3), "A##");
    EXPECT_EQ(CodePage::toAnsi(QString::fromUtf16(u"\u20AC5 \u00E9t\u00E9 \u0100")), "\x80" "5 \xE9t\xE9 ?");
    EXPECT_EQ(CodePage::fromAnsi("\x80\x81\xFF"), QString::fromUtf16(u"\u20AC\u0081\u00FF"));
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"hello", -1, nullptr, 0, nullptr, nullptr), 6);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR wide[2];
    const WCHAR *hello = u"hello";
    expectRefused(
        {REFUSES(WideCharToMultiByte(CP_ACP, 0, hello, -1, out, 3, nullptr, nullptr), ERROR_INSUFFICIENT_BUFFER),
         REFUSES(WideCharToMultiByte(65001, 0, hello, -1, nullptr, 0, nullptr, nullptr), ERROR_INVALID_PARAMETER),
         REFUSES(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), ERROR_INSUFFICIENT_BUFFER)});
}

TEST(FileTime, UnixConversionsRoundTrip)
{
    const FILETIME t = FileTime::fromUnix(1700000000, 123456789);
    const timespec back = FileTime::toTimespec(t);
    EXPECT_EQ(std::pair(back.tv_sec, back.tv_nsec), std::pair(time_t(1700000000), 123456700L));
    constexpr std::uint64_t Then = (1700000000ULL + 11644473600ULL) * 10000000ULL;
    EXPECT_EQ((std::vector<std::uint64_t>{FileTime::ticks(FileTime::fromUnix(0, 0)), FileTime::ticks(t),
                                          FileTime::ticks(FileTime::fromUnix(-11644473601LL, 0)),
                                          FileTime::ticks(FileTime::fromDateTime(FileTime::toUtc(t)))}),
              (std::vector<std::uint64_t>{116444736000000000, Then + 1234567, 0, Then + 1230000}));
    EXPECT_EQ(FileTime::toUtc(t), QDateTime(QDate(2023, 11, 14), QTime(22, 13, 20, 123), Qt::UTC));
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

// Memory in bytes clamped to 32 bits; power supplies map to the platform's flags.
TEST(SystemInfoTest, MemInfoAndPowerSuppliesMapToThePlatformsFigures)
{
    MEMORYSTATUS s;
    ASSERT_TRUE(SystemSource::parseMemInfo("MemTotal:       32768 kB\nMemFree:  1000 kB\nMemAvailable:   12800 kB\n"
                                           "SwapTotal: 8388608 kB\nSwapFree: 0 kB\n", s));
    EXPECT_EQ((std::vector{s.dwTotalPhys, s.dwAvailPhys, s.dwMemoryLoad, s.dwTotalPageFile}),
              (std::vector<DWORD>{32u << 20, 12800u << 10, 61, 0xFFFFFFFF}));
    // Kernels before MemAvailable: free plus buffers plus cache.
    ASSERT_TRUE(SystemSource::parseMemInfo("MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 5 kB\nCached: 20 kB\n", s));
    EXPECT_EQ(s.dwAvailPhys, 35u << 10);
    EXPECT_FALSE(SystemSource::parseMemInfo("garbage", s));
    QTemporaryDir root;
    // Mains, battery flag, percent, time left, backup battery flag.
    const auto read = [&] {
        SYSTEM_POWER_STATUS_EX s;
        SystemSource::readPowerSupplies(root.path(), s);
        return std::vector<DWORD>{s.ACLineStatus, s.BatteryFlag, s.BatteryLifePercent, s.BatteryLifeTime,
                                  s.BackupBatteryFlag};
    };
    constexpr DWORD None = BATTERY_FLAG_NO_BATTERY, Unknown = BATTERY_LIFE_UNKNOWN;
    // Nothing but mains can power it.
    EXPECT_EQ(read(), (std::vector<DWORD>{AC_LINE_ONLINE, None, BATTERY_PERCENTAGE_UNKNOWN, Unknown, None}));
    writeSupply(root.path(), "AC", {{"type", "Mains"}, {"online", "0"}});
    writeSupply(root.path(), "BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "20"},
                                      {"energy_now", "30000000"}, {"power_now", "15000000"}});
    EXPECT_EQ(read(), (std::vector<DWORD>{AC_LINE_OFFLINE, BATTERY_FLAG_LOW, 20, 7200, None}));
    writeSupply(root.path(), "AC", {{"online", "1"}});
    writeSupply(root.path(), "BAT0", {{"status", "Charging"}, {"capacity", "90"}});
    EXPECT_EQ(read(), (std::vector<DWORD>{AC_LINE_ONLINE, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING, 90, Unknown,
                                          None}));
}

} // namespace
