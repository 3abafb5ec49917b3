// hivewriter DEVICE_DIR PREFIX COUNT: writes REG_DWORD values PREFIX0, PREFIX1, ... = their index into
// HKEY_LOCAL_MACHINE\SOFTWARE\HiveWriter of the device, each through its own open-write-close, and prints
// each index once its write has returned success. COUNT 0 writes until killed. Exits 1 on the first
// failed write, 2 on wrong arguments.
#include "platform/Device.h"
#include "platform/Registry.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    Device device(QString::fromLocal8Bit(argv[1]));
    CurrentDevice current(device);
    const long count = std::strtol(argv[3], nullptr, 10);
    for (long i = 0; count == 0 || i < count; ++i) {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\HiveWriter", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        if (result == ERROR_SUCCESS) {
            const DWORD value = DWORD(i);
            result = RegSetValueExW(key, wide(QString::fromLocal8Bit(argv[2]) + QString::number(i)), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE *>(&value), sizeof value);
            RegCloseKey(key);
        }
        if (result != ERROR_SUCCESS) {
            std::fprintf(stderr, "write %ld failed: %d\n", i, int(result));
            return 1;
        }
        std::printf("%ld\n", i);
        std::fflush(stdout);
    }
    return 0;
}
