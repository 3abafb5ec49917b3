// System information of the handheld platform: version, processor, memory,
// object store, power, and the sockets' host name and name look-up.
//
// Every call reads through one replaceable SystemSource, so tests can set any
// value. The default source reads the host: the kernel's version (uname), its
// processor (uname, /proc/cpuinfo), /proc/meminfo, the file system of the
// device's store (statvfs), /sys/class/power_supply, gethostname and
// getaddrinfo. The source may be called from any thread.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <optional>

constexpr DWORD VER_PLATFORM_WIN32_CE = 3;

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize = 0;
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    WCHAR szCSDVersion[128] = {};
};
static_assert(sizeof(OSVERSIONINFOW) == 276);

constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr WORD PROCESSOR_ARCHITECTURE_MIPS = 1;
constexpr WORD PROCESSOR_ARCHITECTURE_ALPHA = 2;
constexpr WORD PROCESSOR_ARCHITECTURE_PPC = 3;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr WORD PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr WORD PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;
constexpr DWORD PROCESSOR_STRONGARM = 2577;
constexpr DWORD PROCESSOR_AMD_X8664 = 8664;

// The 32-bit layout's fields, with addresses as plain numbers.
struct SYSTEM_INFO {
    WORD wProcessorArchitecture = 0;
    WORD wReserved = 0;
    DWORD dwPageSize = 0;
    DWORD lpMinimumApplicationAddress = 0;
    DWORD lpMaximumApplicationAddress = 0;
    DWORD dwActiveProcessorMask = 0;
    DWORD dwNumberOfProcessors = 0;
    DWORD dwProcessorType = 0;
    DWORD dwAllocationGranularity = 0;
    WORD wProcessorLevel = 0;
    WORD wProcessorRevision = 0;
};
static_assert(sizeof(SYSTEM_INFO) == 36);

// Byte counts above 4 GiB read as 0xFFFFFFFF, as the platform reports them.
struct MEMORYSTATUS {
    DWORD dwLength = 0;
    DWORD dwMemoryLoad = 0;
    DWORD dwTotalPhys = 0;
    DWORD dwAvailPhys = 0;
    DWORD dwTotalPageFile = 0;
    DWORD dwAvailPageFile = 0;
    DWORD dwTotalVirtual = 0;
    DWORD dwAvailVirtual = 0;
};
static_assert(sizeof(MEMORYSTATUS) == 32);

struct STORE_INFORMATION {
    DWORD dwStoreSize = 0;
    DWORD dwFreeSize = 0;
};

constexpr BYTE AC_LINE_OFFLINE = 0;
constexpr BYTE AC_LINE_ONLINE = 1;
constexpr BYTE AC_LINE_UNKNOWN = 255;
constexpr BYTE BATTERY_FLAG_HIGH = 1;
constexpr BYTE BATTERY_FLAG_LOW = 2;
constexpr BYTE BATTERY_FLAG_CRITICAL = 4;
constexpr BYTE BATTERY_FLAG_CHARGING = 8;
constexpr BYTE BATTERY_FLAG_NO_BATTERY = 128;
constexpr BYTE BATTERY_FLAG_UNKNOWN = 255;
constexpr BYTE BATTERY_PERCENTAGE_UNKNOWN = 255;
constexpr DWORD BATTERY_LIFE_UNKNOWN = 0xFFFFFFFF;

struct SYSTEM_POWER_STATUS_EX {
    BYTE ACLineStatus = AC_LINE_UNKNOWN;
    BYTE BatteryFlag = BATTERY_FLAG_UNKNOWN;
    BYTE BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    BYTE Reserved1 = 0;
    DWORD BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    DWORD BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    BYTE Reserved2 = 0;
    BYTE BackupBatteryFlag = BATTERY_FLAG_UNKNOWN;
    BYTE BackupBatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    BYTE Reserved3 = 0;
    DWORD BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    DWORD BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
};
static_assert(sizeof(SYSTEM_POWER_STATUS_EX) == 24);

// A resolved name: the official name and the first IPv4 address, in network
// byte order.
struct HostEntry {
    QByteArray officialName;
    std::uint32_t address = 0;
};

class SystemSource
{
public:
    virtual ~SystemSource() = default;

    // Each call fills its structure from the host; false when it cannot.
    virtual bool version(OSVERSIONINFOW &info);
    virtual void systemInfo(SYSTEM_INFO &info);
    virtual bool memoryStatus(MEMORYSTATUS &status);
    virtual bool storeInformation(STORE_INFORMATION &info);
    virtual bool powerStatus(SYSTEM_POWER_STATUS_EX &status);
    // Nothing when the host has no name or the name is not known.
    virtual std::optional<QByteArray> hostName();
    // May block for as long as the host's resolver takes.
    virtual std::optional<HostEntry> resolve(const QByteArray &name);

    // The source in use; the host when none was set.
    static SystemSource &current();
    static void setCurrent(SystemSource *source);

    // The readers behind the host source, over any text or folder.
    static bool parseMemInfo(const QByteArray &meminfo, MEMORYSTATUS &status);
    static void readPowerSupplies(const QString &folder, SYSTEM_POWER_STATUS_EX &status);
};

// Makes a source current for the lifetime of the object (tests).
class CurrentSystemSource
{
public:
    explicit CurrentSystemSource(SystemSource &source) { SystemSource::setCurrent(&source); }
    ~CurrentSystemSource() { SystemSource::setCurrent(nullptr); }
    CurrentSystemSource(const CurrentSystemSource &) = delete;
    CurrentSystemSource &operator=(const CurrentSystemSource &) = delete;
};

// info->dwOSVersionInfoSize must be sizeof(OSVERSIONINFOW); the platform id
// is VER_PLATFORM_WIN32_CE.
BOOL GetVersionExW(OSVERSIONINFOW *info);
void GetSystemInfo(SYSTEM_INFO *info);
// Sets dwLength; on a failed read every other field is 0.
void GlobalMemoryStatus(MEMORYSTATUS *status);
// The object store: the file system holding the device's store folder.
BOOL GetStoreInformation(STORE_INFORMATION *info);
// update is accepted for the platform's signature; every call reads afresh.
BOOL GetSystemPowerStatusEx(SYSTEM_POWER_STATUS_EX *status, BOOL update);

// The sockets' calls, named as the platform names them; kept in a namespace
// because the host's C library has functions of the same names.
namespace winsock {

constexpr int SOCKET_ERROR = -1;
constexpr int WSAEFAULT = 10014;
constexpr int WSAHOST_NOT_FOUND = 11001;

struct in_addr {
    std::uint32_t S_addr = 0; // network byte order
};

struct hostent {
    char *h_name = nullptr;
    char **h_aliases = nullptr;
    short h_addrtype = 2; // the platform's AF_INET
    short h_length = 4;
    char **h_addr_list = nullptr;
};

// 0, or SOCKET_ERROR (WSAGetLastError: WSAEFAULT when nameLength is too
// small for the name and its terminator).
int gethostname(char *name, int nameLength);
// The entry lives in storage of the calling thread until its next call;
// null (WSAHOST_NOT_FOUND) when the name does not resolve.
hostent *gethostbyname(const char *name);
// Dotted text of the address, in storage of the calling thread.
const char *inet_ntoa(in_addr address);
int WSAGetLastError();

} // namespace winsock
