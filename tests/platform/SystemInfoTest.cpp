// The host readers behind the system information calls, and the socket
// calls' buffers.
#include "TempDevice.h"

#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstring>
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

TEST(SystemInfoTest, StoreIsTheStoreFolderFileSystem)
{
    TempDevice device;
    STORE_INFORMATION store;
    ASSERT_TRUE(GetStoreInformation(&store));
    const QStorageInfo host(device.device().storeRoot());
    EXPECT_EQ(store.dwStoreSize, DWORD(std::min<qint64>(host.bytesTotal(), 0xFFFFFFFF)));
}

TEST(SystemInfoTest, SocketCallsFillTheCallersBuffers)
{
    struct Named : SystemSource {
        std::optional<QByteArray> hostName() override { return QByteArray("handheld"); }
        std::optional<HostEntry> resolve(const QByteArray &name) override
        {
            return name == "handheld" ? std::optional<HostEntry>(HostEntry{"handheld.lan", htonl(0x0A000107)})
                                      : std::nullopt;
        }
    } named;
    CurrentSystemSource current(named);
    char small[8];
    EXPECT_EQ(winsock::gethostname(small, sizeof small), winsock::SOCKET_ERROR);
    EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAEFAULT);
    char name[9];
    ASSERT_EQ(winsock::gethostname(name, sizeof name), 0);
    EXPECT_STREQ(name, "handheld");
    const winsock::hostent *entry = winsock::gethostbyname(name);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->h_name, "handheld.lan");
    winsock::in_addr address;
    std::memcpy(&address.S_addr, entry->h_addr_list[0], 4);
    EXPECT_STREQ(winsock::inet_ntoa(address), "10.0.1.7");
    EXPECT_EQ(winsock::gethostbyname("ppp_peer"), nullptr);
}
