// bench_registry: CRegistryAccess::ReadDword of an existing value (the file
// filter's read, three per listed file) on a temporary device, in reads per
// second. Target: at least 200,000 reads/s.
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "platform/Device.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main()
{
    QTemporaryDir dir;
    Device device(dir.path());
    CurrentDevice current(device);
    CRegistryAccess registry;
    if (registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, RegistryLayout::MainFilter, 1)
        != RegSuccess) {
        std::fprintf(stderr, "bench_registry: could not write the value\n");
        return 1;
    }

    constexpr int Rounds = 5;
    constexpr int Reads = 200000;
    double best = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Reads; ++i) {
            DWORD value = 0;
            if (registry.ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, RegistryLayout::MainFilter,
                                   value)
                    != RegSuccess
                || value != 1) {
                std::fprintf(stderr, "bench_registry: read %d failed\n", i);
                return 1;
            }
        }
        const double perSecond = Reads / (double(timer.nsecsElapsed()) / 1e9);
        std::printf("round %d: %.0f reads/s\n", round + 1, perSecond);
        best = std::max(best, perSecond);
    }
    std::printf("registry ReadDword: %.0f reads/s (best of %d rounds of %d; target 200000)\n", best, Rounds, Reads);
    return best >= 200000 ? 0 : 1;
}
