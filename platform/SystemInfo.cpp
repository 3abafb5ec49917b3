#include "platform/SystemInfo.h"

#include "platform/Device.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

SystemSource s_host;
std::atomic<SystemSource *> s_source = nullptr;

DWORD clamp(std::uint64_t value)
{
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : DWORD(value);
}

// At most limit bytes of a small host file (kernel files report no size).
QByteArray readSmallFile(const QString &path, qint64 limit = 64)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(limit).trimmed() : QByteArray();
}

std::optional<qint64> readNumber(const QString &path)
{
    bool ok = false;
    const qint64 value = readSmallFile(path).toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// "name : value" lines of /proc/cpuinfo for the first processor.
QHash<QByteArray, QByteArray> firstCpuFields()
{
    QHash<QByteArray, QByteArray> fields;
    for (const QByteArray &line : readSmallFile(QStringLiteral("/proc/cpuinfo"), 16384).split('\n')) {
        if (line.trimmed().isEmpty())
            break;
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            fields.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    return fields;
}

// Seconds until the battery is empty, from what the driver offers.
DWORD batteryLifeTime(const QString &dir)
{
    if (const auto seconds = readNumber(dir + QStringLiteral("/time_to_empty_now")))
        return clamp(std::uint64_t(std::max<qint64>(*seconds, 0)));
    const auto ratio = [&dir](const char *amount, const char *rate) -> std::optional<qint64> {
        const auto a = readNumber(dir + QLatin1Char('/') + QLatin1String(amount));
        const auto r = readNumber(dir + QLatin1Char('/') + QLatin1String(rate));
        if (!a || !r || *r == 0)
            return std::nullopt;
        return *a * 3600 / std::abs(*r);
    };
    if (readSmallFile(dir + QStringLiteral("/status")) != "Discharging")
        return BATTERY_LIFE_UNKNOWN;
    auto seconds = ratio("energy_now", "power_now");
    if (!seconds)
        seconds = ratio("charge_now", "current_now");
    return seconds ? clamp(std::uint64_t(std::max<qint64>(*seconds, 0))) : BATTERY_LIFE_UNKNOWN;
}

struct SocketState {
    QByteArray name;
    winsock::in_addr address;
    char *addressList[2] = {};
    char *aliases[1] = {};
    winsock::hostent entry;
    char dotted[16] = {};
    int lastError = 0;
};

SocketState &socketState()
{
    thread_local SocketState state;
    return state;
}

int socketFailure(int error)
{
    socketState().lastError = error;
    return winsock::SOCKET_ERROR;
}

} // namespace

bool SystemSource::version(OSVERSIONINFOW &info)
{
    utsname host;
    if (::uname(&host) != 0)
        return false;
    // "6.1.0-18-amd64": the kernel's major, minor and patch numbers.
    const QRegularExpressionMatch numbers =
        QRegularExpression(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?")).match(QString::fromLatin1(host.release));
    info.dwMajorVersion = numbers.captured(1).toUInt();
    info.dwMinorVersion = numbers.captured(2).toUInt();
    info.dwBuildNumber = numbers.captured(3).toUInt();
    info.dwPlatformId = VER_PLATFORM_WIN32_CE;
    copyToWide(QString::fromLatin1(host.sysname), info.szCSDVersion, 128);
    return true;
}

void SystemSource::systemInfo(SYSTEM_INFO &info)
{
    utsname host;
    const QByteArray machine = ::uname(&host) == 0 ? QByteArray(host.machine) : QByteArray();
    const QHash<QByteArray, QByteArray> cpu = firstCpuFields();
    if (machine == "x86_64" || QRegularExpression(QStringLiteral("^i[3-6]86$")).match(QString::fromLatin1(machine)).hasMatch()) {
        const bool wide = machine == "x86_64";
        info.wProcessorArchitecture = wide ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL;
        info.dwProcessorType = wide ? PROCESSOR_AMD_X8664 : 586;
        info.wProcessorLevel = WORD(cpu.value("cpu family").toUInt());
        info.wProcessorRevision = WORD((cpu.value("model").toUInt() & 0xFF) << 8 | (cpu.value("stepping").toUInt() & 0xFF));
    } else if (machine == "aarch64") {
        info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
    } else if (machine.startsWith("arm")) {
        info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM;
    } else {
        info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
    }
    const long processors = std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN));
    info.dwPageSize = DWORD(::sysconf(_SC_PAGESIZE));
    info.lpMinimumApplicationAddress = 0x10000;
    info.lpMaximumApplicationAddress = 0x7FFEFFFF;
    info.dwNumberOfProcessors = DWORD(processors);
    info.dwActiveProcessorMask = processors >= 32 ? 0xFFFFFFFFu : (1u << processors) - 1;
    info.dwAllocationGranularity = 0x10000;
}

bool SystemSource::memoryStatus(MEMORYSTATUS &status)
{
    return parseMemInfo(readSmallFile(QStringLiteral("/proc/meminfo"), 65536), status);
}

bool SystemSource::parseMemInfo(const QByteArray &meminfo, MEMORYSTATUS &status)
{
    QHash<QByteArray, std::uint64_t> bytes;
    for (const QByteArray &line : meminfo.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false;
        const std::uint64_t kb = fields.size() >= 2 ? fields.at(1).toULongLong(&ok) : 0;
        if (ok && fields.at(0).endsWith(':'))
            bytes.insert(fields.at(0).chopped(1), kb * 1024);
    }
    const std::uint64_t total = bytes.value("MemTotal");
    if (total == 0)
        return false;
    const std::uint64_t available = bytes.contains("MemAvailable")
        ? bytes.value("MemAvailable")
        : bytes.value("MemFree") + bytes.value("Buffers") + bytes.value("Cached");
    status.dwMemoryLoad = DWORD(100 - std::min(available, total) * 100 / total);
    status.dwTotalPhys = clamp(total);
    status.dwAvailPhys = clamp(available);
    status.dwTotalPageFile = clamp(bytes.value("SwapTotal"));
    status.dwAvailPageFile = clamp(bytes.value("SwapFree"));
    return true;
}

bool SystemSource::storeInformation(STORE_INFORMATION &info)
{
    const Device *device = Device::current();
    struct statvfs fs;
    if (!device || ::statvfs(QFile::encodeName(device->storeRoot()).constData(), &fs) != 0)
        return false;
    info.dwStoreSize = clamp(std::uint64_t(fs.f_blocks) * fs.f_frsize);
    info.dwFreeSize = clamp(std::uint64_t(fs.f_bavail) * fs.f_frsize);
    return true;
}

bool SystemSource::powerStatus(SYSTEM_POWER_STATUS_EX &status)
{
    readPowerSupplies(QStringLiteral("/sys/class/power_supply"), status);
    return true;
}

void SystemSource::readPowerSupplies(const QString &folder, SYSTEM_POWER_STATUS_EX &status)
{
    bool mainsSeen = false, online = false, battery = false, discharging = false;
    status = SYSTEM_POWER_STATUS_EX();
    // A host has no backup battery.
    status.BackupBatteryFlag = BATTERY_FLAG_NO_BATTERY;
    // A folder of power supplies is small; more entries than this are not a real one.
    const QStringList supplies = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name).mid(0, 64);
    for (const QString &name : supplies) {
        const QString dir = folder + QLatin1Char('/') + name;
        const QByteArray type = readSmallFile(dir + QStringLiteral("/type"));
        if (type == "Mains" || type == "USB" || type == "Wireless") {
            mainsSeen = true;
            online = online || readNumber(dir + QStringLiteral("/online")).value_or(0) == 1;
        } else if (type == "Battery" && !battery && readNumber(dir + QStringLiteral("/present")).value_or(1) != 0) {
            battery = true;
            const QByteArray state = readSmallFile(dir + QStringLiteral("/status"));
            discharging = state == "Discharging";
            const std::optional<qint64> capacity = readNumber(dir + QStringLiteral("/capacity"));
            if (capacity && *capacity >= 0 && *capacity <= 100) {
                status.BatteryLifePercent = BYTE(*capacity);
                status.BatteryFlag = *capacity > 66 ? BATTERY_FLAG_HIGH
                    : *capacity < 5                 ? BATTERY_FLAG_CRITICAL
                    : *capacity < 33                ? BATTERY_FLAG_LOW
                                                    : 0;
            }
            if (state == "Charging")
                status.BatteryFlag = (status.BatteryFlag == BATTERY_FLAG_UNKNOWN ? 0 : status.BatteryFlag)
                    | BATTERY_FLAG_CHARGING;
            status.BatteryLifeTime = batteryLifeTime(dir);
        }
    }
    if (!battery)
        status.BatteryFlag = BATTERY_FLAG_NO_BATTERY;
    // Without a battery the machine can only run on external power.
    status.ACLineStatus = online ? AC_LINE_ONLINE
        : mainsSeen || discharging ? AC_LINE_OFFLINE
        : battery ? AC_LINE_UNKNOWN
                  : AC_LINE_ONLINE;
}

std::optional<QByteArray> SystemSource::hostName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0 || !*buffer)
        return std::nullopt;
    return QByteArray(buffer);
}

std::optional<HostEntry> SystemSource::resolve(const QByteArray &name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo *found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    HostEntry entry;
    entry.officialName = found->ai_canonname ? QByteArray(found->ai_canonname) : name;
    entry.address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return entry;
}

SystemSource &SystemSource::current()
{
    SystemSource *source = s_source.load();
    return source ? *source : s_host;
}

void SystemSource::setCurrent(SystemSource *source)
{
    s_source = source;
}

BOOL GetVersionExW(OSVERSIONINFOW *info)
{
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *info = OSVERSIONINFOW();
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!SystemSource::current().version(*info)) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    return TRUE;
}

void GetSystemInfo(SYSTEM_INFO *info)
{
    if (!info)
        return;
    *info = SYSTEM_INFO();
    SystemSource::current().systemInfo(*info);
}

void GlobalMemoryStatus(MEMORYSTATUS *status)
{
    if (!status)
        return;
    *status = MEMORYSTATUS();
    if (!SystemSource::current().memoryStatus(*status))
        *status = MEMORYSTATUS();
    status->dwLength = sizeof(MEMORYSTATUS);
}

BOOL GetStoreInformation(STORE_INFORMATION *info)
{
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SystemSource::current().storeInformation(*info)) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    return TRUE;
}

BOOL GetSystemPowerStatusEx(SYSTEM_POWER_STATUS_EX *status, BOOL)
{
    if (!status) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SystemSource::current().powerStatus(*status)) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    return TRUE;
}

namespace winsock {

int gethostname(char *name, int nameLength)
{
    const std::optional<QByteArray> host = SystemSource::current().hostName();
    if (!host)
        return socketFailure(WSAHOST_NOT_FOUND);
    if (!name || nameLength <= host->size())
        return socketFailure(WSAEFAULT);
    std::memcpy(name, host->constData(), std::size_t(host->size()) + 1);
    return 0;
}

hostent *gethostbyname(const char *name)
{
    const std::optional<HostEntry> found = name ? SystemSource::current().resolve(QByteArray(name)) : std::nullopt;
    if (!found) {
        socketFailure(WSAHOST_NOT_FOUND);
        return nullptr;
    }
    SocketState &state = socketState();
    state.name = found->officialName;
    state.address.S_addr = found->address;
    state.addressList[0] = reinterpret_cast<char *>(&state.address);
    state.entry.h_name = state.name.data();
    state.entry.h_aliases = state.aliases;
    state.entry.h_addr_list = state.addressList;
    return &state.entry;
}

const char *inet_ntoa(in_addr address)
{
    ::in_addr host{};
    host.s_addr = address.S_addr;
    char *dotted = socketState().dotted;
    ::inet_ntop(AF_INET, &host, dotted, sizeof socketState().dotted);
    return dotted;
}

int WSAGetLastError()
{
    return socketState().lastError;
}

} // namespace winsock
