// bench_find: the Find Files dialog's search, from the tap on Start until the
// caption reads "Start" again with every hit in the result list.
//
//   bench_find --create-text DEVICE_DIR    lays out \text: ~1 GiB of text files
//                                          of mixed sizes, a rare phrase in 12
//   bench_find --create-names DEVICE_DIR   lays out \names: 200,000 empty files
//                                          in 200 folders two levels deep
//   bench_find content DEVICE_DIR          searches \text for the rare phrase
//   bench_find names DEVICE_DIR            searches \names for *12345*
//
// A search prints its hits' count and seconds on one line.
#include "list/CFileListCtrl.h"
#include "BenchApp.h"
#include "platform/UiSink.h"
#include "tools/CFindFilesDlg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

const QByteArray RarePhrase = "marmot lantern";

// Text of common words in lines of about 70 characters; never the rare phrase.
QByteArray wordPool(std::mt19937 &random, int size)
{
    static const char *words[] = {
        "the", "of", "and", "to", "in", "is", "that", "for", "it", "as", "was", "with", "be", "by", "on", "not",
        "he", "this", "are", "or", "his", "from", "at", "which", "but", "have", "an", "had", "they", "you",
        "were", "their", "one", "all", "we", "can", "her", "has", "there", "been", "if", "more", "when", "will",
        "would", "who", "so", "no", "time", "year", "people", "way", "day", "man", "thing", "woman", "life",
        "child", "world", "school", "state", "family", "student", "group", "country", "problem", "hand",
        "part", "place", "case", "week", "company", "system", "program", "question", "work", "government",
        "number", "night", "point", "home", "water", "room", "mother", "area", "money", "story", "fact",
        "month", "lot", "right", "study", "book", "eye", "job", "word", "business", "issue", "side", "kind",
        "head", "house", "service", "friend", "father", "power", "hour", "game", "line", "end", "member",
        "law", "car", "city", "community", "name", "president", "team", "minute", "idea", "kid", "body",
        "information", "back", "parent", "face", "others", "level", "office", "door", "health", "person",
        "art", "war", "history", "party", "result", "change", "morning", "reason", "research", "girl", "guy",
        "moment", "air", "teacher", "force", "education", "lamp", "lantern", "marmoset", "mar", "mot"};
    std::uniform_int_distribution<int> pick(0, int(std::size(words)) - 1);
    QByteArray pool;
    pool.reserve(size + 100);
    int lineLength = 0;
    while (pool.size() < size) {
        const QByteArray word = words[pick(random)];
        pool += word;
        lineLength += int(word.size()) + 1;
        pool += lineLength > 70 ? '\n' : ' ';
        if (lineLength > 70)
            lineLength = 0;
    }
    return pool;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

int createText(const QString &store)
{
    std::mt19937 random(20261207);
    const QByteArray pool = wordPool(random, 8 << 20);
    // Sizes spread evenly on a log scale from 1 KiB to 1 MiB: many small files, most bytes in large ones.
    std::uniform_real_distribution<double> logSize(10.0, 20.0);
    qint64 total = 0;
    int files = 0;
    for (; total < (qint64(1) << 30); ++files) {
        const int size = int(std::exp2(logSize(random)));
        const int offset = std::uniform_int_distribution<int>(0, int(pool.size()) - size)(random);
        QByteArray content = pool.mid(offset, size);
        if (files % 600 == 299) // 12 hits in ~7,000 files
            content.replace(std::uniform_int_distribution<int>(0, size - int(RarePhrase.size()))(random),
                            RarePhrase.size(), RarePhrase);
        const QString folder = store + QStringLiteral("/text/d%1").arg(files % 50, 2, 10, QLatin1Char('0'));
        if (files < 50)
            QDir().mkpath(folder);
        if (!writeFile(folder + QStringLiteral("/t%1.txt").arg(files), content))
            return 1;
        total += size;
    }
    std::printf("%d files, %lld bytes\n", files, static_cast<long long>(total));
    return 0;
}

int createNames(const QString &store)
{
    for (int i = 0; i < 200000; ++i) {
        const QString folder = store + QStringLiteral("/names/a%1/b%2").arg(i / 10000).arg(i / 1000 % 10);
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        if (!writeFile(folder + QStringLiteral("/f%1.txt").arg(i, 6, 10, QLatin1Char('0')), QByteArray()))
            return 1;
    }
    return 0;
}

// Runs one search in the dialog as a user would; prints hits and seconds.
int search(const QString &folder, const QString &filename, const QString &containing)
{
    CFindFilesDlg dialog;
    dialog.setDirectory(folder);
    dialog.setFilename(filename);
    dialog.setContaining(containing);
    int hits = -1;
    double seconds = 0;
    ScopedModalHook hook([&](CDialog &) {
        auto *start = dialog.GetDlgItem<QPushButton>(CFindFilesDlg::IDC_START);
        QElapsedTimer timer;
        timer.start();
        start->click();
        while (start->text() != QLatin1String("Start"))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        seconds = timer.nsecsElapsed() / 1e9;
        hits = dialog.results().GetItemCount();
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    std::printf("%d hits in %.3f s\n", hits, seconds);
    return hits > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_find --create-text|--create-names|content|names DEVICE_DIR\n");
        return 2;
    }
    BenchApp bench(argc, argv, argv[2]);
    Device &device = bench.device;
    const char *command = argv[1];
    if (std::strcmp(command, "--create-text") == 0)
        return createText(device.storeRoot());
    if (std::strcmp(command, "--create-names") == 0)
        return createNames(device.storeRoot());
    if (std::strcmp(command, "content") == 0)
        return search(QStringLiteral("\\text\\"), QStringLiteral("*.*"), QString::fromLatin1(RarePhrase));
    if (std::strcmp(command, "names") == 0)
        return search(QStringLiteral("\\names\\"), QStringLiteral("*12345*"), QString());
    std::fprintf(stderr, "unknown command %s\n", command);
    return 2;
}
