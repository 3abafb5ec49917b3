// bench_enumerate: lists a large device folder with FindFirstFileW/FindNextFileW.
//
//   bench_enumerate --create DEVICE_DIR COUNT   lays out \bench with COUNT files
//   bench_enumerate DEVICE_DIR                  enumerates \bench\*.* once
//
// The enumeration reads every record's attributes, times and size and prints
// a summary, so nothing can be skipped.
#include "DeviceFiles.h"
#include "platform/Device.h"
#include "platform/Files.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

int enumerate()
{
    QElapsedTimer timer;
    timer.start();
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(u"\\bench\\*.*", &data);
    if (find == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "FindFirstFileW failed: error %u\n", GetLastError());
        return 1;
    }
    std::uint64_t count = 0, bytes = 0, times = 0;
    DWORD attributes = 0;
    do {
        ++count;
        bytes += (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        times ^= (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        attributes |= data.dwFileAttributes;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::printf("%llu entries, %llu bytes, attributes 0x%x, time hash %llx, %lld ms\n",
                static_cast<unsigned long long>(count), static_cast<unsigned long long>(bytes), attributes,
                static_cast<unsigned long long>(times), static_cast<long long>(timer.elapsed()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool creating = argc == 4 && std::strcmp(argv[1], "--create") == 0;
    if (!creating && argc != 2) {
        std::fprintf(stderr, "usage: bench_enumerate [--create] DEVICE_DIR [COUNT]\n");
        return 2;
    }
    Device device(QString::fromLocal8Bit(argv[creating ? 2 : 1]));
    CurrentDevice current(device);
    return creating ? createDeviceFiles(QFile::encodeName(device.storeRoot()) + "/bench", "file", std::atoi(argv[3])) : enumerate();
}
