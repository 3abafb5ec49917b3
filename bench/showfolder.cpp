// bench_showfolder: shows a large device folder in the file list, offscreen.
//
//   bench_showfolder DEVICE_DIR [FOLDER]   shows FOLDER (default \bench) once
//
// Times the whole load (enumeration, the filter with its settings read once,
// the entries and the model) plus painting the first screen, and the peak
// memory the load added per row (VmHWM after the load against VmRSS before).
#include "list/CFileListViewEx.h"
#include "BenchApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

// A "Vm...:  123 kB" line of /proc/self/status, in bytes.
qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: bench_showfolder DEVICE_DIR [FOLDER]\n");
        return 2;
    }
    BenchApp bench(argc, argv, argv[1]);
    const QString folder = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("\\bench");

    CFileListViewEx list;
    list.resize(480, 600);
    list.show();
    QApplication::processEvents();

    const qint64 before = statusBytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    list.ShowFolder(folder, true);
    const qint64 loaded = timer.elapsed();
    list.repaint();
    const qint64 painted = timer.elapsed();

    const int rows = list.GetItemCount();
    std::printf("%d rows, loaded in %lld ms, first screen painted at %lld ms, peak %lld bytes per row\n", rows,
                static_cast<long long>(loaded), static_cast<long long>(painted),
                static_cast<long long>(rows > 0 ? (statusBytes("VmHWM:") - before) / rows : 0));
    return list.GetItemCount() > 0 ? 0 : 1;
}
