// bench_paste: the file operation engine on large trees, as a paste and a
// delete run them (with the tree and list the engine refreshes).
//
//   bench_paste --create DEVICE_DIR   lays out \src (~1 GiB: 4 large files and
//                                     20,000 small ones in 100 folders)
//   bench_paste --create-many DEVICE_DIR COUNT   lays out \many with COUNT small files
//   bench_paste --create-files DEVICE_DIR   lays out \full with 100,000 files
//                                     and \new with 10,000 (64 bytes at most)
//   bench_paste copy DEVICE_DIR       copies \src into \dst (removed first by host calls)
//   bench_paste files DEVICE_DIR [FOLDER]   copies every file of \new in the
//                                     list and pastes them into \FOLDER (\full
//                                     unless named), shown in the list (pasted
//                                     ones removed first by host calls)
//   bench_paste delete DEVICE_DIR     deletes \many
#include "DeviceFiles.h"
#include "fileops/CFileOperations.h"
#include "list/CFileListViewEx.h"
#include "BenchApp.h"
#include "tree/CDirTreeView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

bool writeFile(const QString &path, const QByteArray &block, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (qint64 written = 0; written < size; written += block.size()) {
        if (file.write(block.constData(), qMin<qint64>(block.size(), size - written)) < 0)
            return false;
    }
    return true;
}

int createSource(const QString &store)
{
    const QString src = store + QStringLiteral("/src");
    QDir().mkpath(src);
    const QByteArray block(1 << 20, 'q');
    for (int i = 0; i < 4; ++i) {
        if (!writeFile(src + QStringLiteral("/large%1.bin").arg(i), block, qint64(236) << 20))
            return 1;
    }
    const QByteArray small(4096, 's');
    for (int d = 0; d < 100; ++d) {
        const QString folder = src + QStringLiteral("/d%1").arg(d, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        for (int f = 0; f < 200; ++f) {
            if (!writeFile(folder + QStringLiteral("/f%1.txt").arg(f), small, small.size()))
                return 1;
        }
    }
    return 0;
}

int createMany(const QString &store, int count)
{
    const QString many = store + QStringLiteral("/many");
    const QByteArray small(64, 'm');
    for (int i = 0; i < count; ++i) {
        const QString folder = many + QStringLiteral("/d%1").arg(i / 1000, 3, 10, QLatin1Char('0'));
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        if (!writeFile(folder + QStringLiteral("/f%1.txt").arg(i), small, small.size()))
            return 1;
    }
    return 0;
}

// Removes the files an earlier paste of \new left in \full.
void removePasted(const QString &store, const QString &folder)
{
    const QByteArray full = QFile::encodeName(store + QLatin1Char('/') + folder) + '/';
    for (const QString &name : QDir(store + QStringLiteral("/new")).entryList(QDir::Files))
        ::unlink((full + QFile::encodeName(name)).constData());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_paste --create|--create-many|--create-files|copy|files|delete DEVICE_DIR [COUNT|FOLDER]\n");
        return 2;
    }
    BenchApp bench(argc, argv, argv[2]);
    Device &device = bench.device;
    const char *command = argv[1];
    if (std::strcmp(command, "--create") == 0)
        return createSource(device.storeRoot());
    if (std::strcmp(command, "--create-many") == 0)
        return createMany(device.storeRoot(), argc > 3 ? std::atoi(argv[3]) : 100000);
    if (std::strcmp(command, "--create-files") == 0)
        return createDeviceFiles(QFile::encodeName(device.storeRoot()) + "/full", "file", 100000)
            || createDeviceFiles(QFile::encodeName(device.storeRoot()) + "/new", "new", 10000);

    CDirTreeView tree;
    CFileListViewEx list;
    tree.SetListView(&list);
    tree.OnInitialUpdate();
    CFileOperations ops;
    ops.SetViews(&tree, &list);

    QElapsedTimer timer;
    qint64 elapsed = -1;
    bool ok = false;
    if (std::strcmp(command, "copy") == 0) {
        QDir(device.storeRoot() + QStringLiteral("/dst")).removeRecursively();
        QDir().mkpath(device.storeRoot() + QStringLiteral("/dst"));
        timer.start();
        ops.CopyFolder(QStringLiteral("\\src\\"));
        ops.Paste(QStringLiteral("\\dst\\"));
        ok = QFile::exists(device.storeRoot() + QStringLiteral("/dst/src/d099/f199.txt"))
            && !CFileOperations::copySkippedAny();
    } else if (std::strcmp(command, "files") == 0) {
        const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("full");
        const QString shown = QLatin1Char('\\') + folder + QLatin1Char('\\');
        removePasted(device.storeRoot(), folder);
        tree.SelectPath(QStringLiteral("\\new\\"));
        list.SelectAll(true);
        ops.CopyFiles();
        tree.SelectPath(shown);
        timer.start();
        ops.Paste(shown);
        elapsed = timer.nsecsElapsed();
        ok = ops.names().size() == 10000 && list.GetItemCount() == 110000;
        // The share of the list's own refresh, shown on stderr.
        QElapsedTimer refresh;
        refresh.start();
        list.RefreshFolder();
        std::fprintf(stderr, "list refresh of 110,000 files alone: %.3f s\n", refresh.nsecsElapsed() / 1e9);
    } else if (std::strcmp(command, "delete") == 0) {
        timer.start();
        ok = ops.DeleteTree(QStringLiteral("\\many\\"));
    } else {
        std::fprintf(stderr, "unknown command %s\n", command);
        return 2;
    }
    std::printf("%s: %.3f s\n", command, (elapsed >= 0 ? elapsed : timer.nsecsElapsed()) / 1e9);
    return ok ? 0 : 1;
}
