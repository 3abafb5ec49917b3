// bench_smbcopy: pasting a copied folder into a share on a loopback Samba
// server, against smbclient's own mput of the same folder, in one run.
//
//   bench_smbcopy DEVICE_DIR   lays out \src once (2,000 files of 4 KiB and
//                              two of 100 MB), starts a throw-away smbd and
//                              prints the best of three rounds of each side
#include "SambaServer.h"
#include "fileops/CFileOperations.h"
#include "list/CFileListViewEx.h"
#include "BenchApp.h"
#include "platform/UiSink.h"
#include "tree/CDirTreeView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

namespace {

// Any box the engine shows is a failure of the run: said, and answered No.
class PrintingSink final : public UiSink
{
public:
    int messageBox(HWND, const QString &text, const QString &, UINT) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return IDNO;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
};

bool createSource(const QString &src)
{
    if (QFile::exists(src + QStringLiteral("/f1999.txt")))
        return true;
    QDir().mkpath(src);
    // The large files are sparse: both sides read the same zeros from memory.
    for (int i = 0; i < 2; ++i) {
        QFile large(src + QStringLiteral("/large%1.bin").arg(i));
        if (!large.open(QIODevice::WriteOnly) || !large.resize(qint64(100) << 20))
            return false;
    }
    const QByteArray small(4096, 's');
    for (int f = 0; f < 2000; ++f) {
        QFile file(src + QStringLiteral("/f%1.txt").arg(f));
        if (!file.open(QIODevice::WriteOnly) || file.write(small) != small.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_smbcopy DEVICE_DIR\n");
        return 2;
    }
    BenchApp bench(argc, argv, argv[1]);
    Device &device = bench.device;
    const QString src = device.storeRoot() + QStringLiteral("/src");
    if (!createSource(src))
        return 1;
    SambaServer server;
    if (!server.problem().isEmpty()) {
        std::printf("copy into an SMB share: skipped, %s\n", qPrintable(server.problem()));
        return 0;
    }

    PrintingSink sink;
    UiSink::setCurrent(&sink);
    CDirTreeView tree;
    CFileListViewEx list;
    tree.SetListView(&list);
    tree.OnInitialUpdate();
    CFileOperations ops;
    ops.SetViews(&tree, &list);

    double ours = 1e9, theirs = 1e9;
    for (int round = 0; round < 3; ++round) {
        // The share's own folder stays: the server holds it open.
        for (const char *copy : {"/src", "/theirs"})
            QDir(server.shareFolder() + QLatin1String(copy)).removeRecursively();
        QElapsedTimer timer;
        timer.start();
        ops.CopyFolder(QStringLiteral("\\src\\"));
        ops.Paste(server.computer() + QStringLiteral("\\public\\"));
        ours = std::min(ours, timer.nsecsElapsed() / 1e9);
        if (!QFile::exists(server.shareFolder() + QStringLiteral("/src/f1999.txt")) || CFileOperations::copySkippedAny()) {
            std::fprintf(stderr, "our copy into the share failed\n");
            return 1;
        }

        timer.start();
        const QByteArray out = server.client(QStringLiteral("prompt off; recurse on; lcd %1; mkdir theirs; cd theirs; mput *").arg(src));
        theirs = std::min(theirs, timer.nsecsElapsed() / 1e9);
        if (!QFile::exists(server.shareFolder() + QStringLiteral("/theirs/f1999.txt"))) {
            std::fprintf(stderr, "smbclient's copy failed: %s\n", out.right(500).constData());
            return 1;
        }
    }
    std::printf("copy 2,000 small files and 2 of 100 MB into an SMB share on loopback: CFileOperations %.3fs, "
                "smbclient mput %.3fs, ratio %.2f (target <= 1.5)\n",
                ours, theirs, ours / theirs);
    return 0;
}
