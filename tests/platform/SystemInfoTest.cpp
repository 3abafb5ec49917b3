// The host readers behind the memory and power calls.
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeSupply(const QString &root, const QString &name, const QList<QPair<const char *, const char *>> &files)
{
    QDir(root).mkpath(name);
    for (const auto &[file, value] : files) {
        QFile out(root + '/' + name + '/' + file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(value) + '\n');
    }
}

} // namespace

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
