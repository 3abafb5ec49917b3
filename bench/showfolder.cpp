// bench_showfolder: shows a large device folder in the file list, offscreen.
//
//   bench_showfolder DEVICE_DIR [FOLDER]   shows FOLDER (default \bench) once
//
// Times the whole load (enumeration, the filter with its settings read once,
// the entries and the model) plus painting the first screen.
#include "list/CFileListViewEx.h"
#include "platform/Device.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: bench_showfolder DEVICE_DIR [FOLDER]\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Device device(QString::fromLocal8Bit(argv[1]));
    CurrentDevice current(device);
    const QString folder = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("\\bench");

    CFileListViewEx list;
    list.resize(480, 600);
    list.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    list.ShowFolder(folder, true);
    const qint64 loaded = timer.elapsed();
    list.repaint();
    const qint64 painted = timer.elapsed();

    std::printf("%d rows, loaded in %lld ms, first screen painted at %lld ms\n", list.GetItemCount(),
                static_cast<long long>(loaded), static_cast<long long>(painted));
    return list.GetItemCount() > 0 ? 0 : 1;
}
