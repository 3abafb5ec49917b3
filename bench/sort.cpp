// Sorting the file list's entries: every key, both directions, at 20,000 and
// 100,000 entries with many ties (20 extensions, 8 attribute patterns).
#include "list/EntrySort.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

void Fill(CFileEntryArray &entries, int count, QRandomGenerator &random)
{
    static const char *const extensions[] = {"txt", "doc", "exe", "dll", "bmp", "jpg", "htm", "xml", "lnk", "cpl",
                                             "ini", "log", "wav", "mp3", "zip", "cab", "pdf", "xls", "psw", ""};
    static const DWORD attributes[] = {0x20, 0x21, 0x61, 0x1, 0x2, 0x22, 0x3061, 0x80};
    entries.RemoveAll();
    for (int i = 0; i < count; ++i) {
        WIN32_FIND_DATAW data;
        const char *extension = extensions[random.bounded(20)];
        const QString name = QStringLiteral("File %1%2%3")
                                 .arg(random.bounded(1000000))
                                 .arg(*extension ? "." : "")
                                 .arg(QLatin1String(extension));
        copyToWide(name, data.cFileName, MAX_PATH);
        data.dwFileAttributes = attributes[random.bounded(8)];
        data.nFileSizeLow = random.generate() % 5000000;
        data.ftLastWriteTime.dwHighDateTime = 0x01C00000 + random.bounded(0x40000);
        data.ftLastWriteTime.dwLowDateTime = random.generate();
        entries.Add(std::make_unique<CFileEntry>(data));
    }
}

} // namespace

int main()
{
    const struct {
        SortKey key;
        const char *name;
    } keys[] = {{SortKey::Name, "Name"}, {SortKey::Size, "Size"}, {SortKey::Changed, "Changed"},
                {SortKey::Attrs, "Attrs"}, {SortKey::Type, "Type"}};
    QRandomGenerator random(2003);
        // Wall and CPU seconds of SortEntries; wall seconds of a plain stable sort
    // by the same comparison, for reference.
    std::printf("%-8s %8s %-10s %10s %10s %12s\n", "key", "entries", "direction", "seconds", "cpu", "stable_sort");
    for (int count : {20000, 100000}) {
        for (const auto &k : keys) {
            for (bool ascending : {true, false}) {
                CFileEntryArray entries;
                Fill(entries, count, random);
                QElapsedTimer timer;
                timer.start();
                const std::clock_t cpuStart = std::clock();
                SortEntries(entries, k.key, ascending);
                const double seconds = timer.nsecsElapsed() / 1e9;
                const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;

                // Reference: a plain stable sort by the same comparison.
                Fill(entries, count, random);
                std::vector<SortValue> values;
                for (int i = 0; i < count; ++i)
                    values.push_back(SortValueOf(*entries[i], k.key));
                timer.restart();
                std::stable_sort(values.begin(), values.end(), [&](const SortValue &a, const SortValue &b) {
                    const int c = CompareSortValues(a, b);
                    return ascending ? c < 0 : c > 0;
                });
                const double reference = timer.nsecsElapsed() / 1e9;
                std::printf("%-8s %8d %-10s %10.4f %10.4f %12.4f\n", k.name, count,
                            ascending ? "ascending" : "descending", seconds, cpuSeconds, reference);
            }
        }
    }
    return 0;
}
