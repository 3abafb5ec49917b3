// A listed file, its display formats and the sort of the list.
#include "list/CFileEntryArray.h"
#include "list/DisplayFormats.h"
#include "list/EntrySort.h"
#include "list/ExchangeSortOrder.h"
#include "platform/FileTime.h"

#include "QtPrinters.h"
#include "ZoneOverride.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <numeric>
#include <set>
#include <gtest/gtest.h>

namespace {

// Records the order in which entries are destroyed.
struct TracedEntry : CFileEntry {
    TracedEntry(int id, std::vector<int> &log) : id(id), log(log) {}
    ~TracedEntry() override { log.push_back(id); }
    int id;
    std::vector<int> &log;
};

TEST(FileEntryArray, ReorderMovesOwnershipAndClearingDestroysLastToFirst)
{
    std::vector<int> log;
    {
        CFileEntryArray entries;
        for (int id = 0; id < 3; ++id)
            EXPECT_EQ(entries.Add(std::make_unique<TracedEntry>(id, log)), id);
        CFileEntry *first = entries[0];
        entries.Reorder({2, 0, 1});
        EXPECT_EQ(entries[1], first);
        EXPECT_TRUE(log.empty());
        entries.RemoveAll();
        EXPECT_EQ(entries.GetSize(), 0);
        EXPECT_EQ(log, (std::vector<int>{1, 0, 2}));

        log.clear();
        entries.Add(std::make_unique<TracedEntry>(5, log));
        entries.Add(std::make_unique<TracedEntry>(6, log));
    }
    EXPECT_EQ(log, (std::vector<int>{6, 5}));
}

TEST(DisplayFormats, FileSizeBoundariesAttributeLettersAndTimesInTheirMomentsOffset)
{
    const struct {
        DWORD high, low;
        const char *text;
    } sizes[] = {
        {0, 0, "0 b"},          {0, 1023, "1023 b"},      {0, 1024, "1.0Kb"},
        {0, 1126, "1.1Kb"}, // 1.0996 rounds up
        {0, 1048575, "1024.0Kb"}, {0, 1048576, "1.0Mb"},
        {0, 1625292, "1.5Mb"}, // 1.54999 rounds down
        {1, 0, "4096.0Mb"},     {1, 0x80000000, "6144.0Mb"},
    };
    for (const auto &c : sizes)
        EXPECT_EQ(FormatFileSize(c.high, c.low), c.text) << c.high << "-" << c.low;
    // In fixed order, whatever else is set.
    const std::pair<DWORD, const char *> attributes[] = {
        {0, ""}, {0x39F7, "RHSDAINTCFM"}, {0xFFFFFFFF, "RHSDAINTCFM"}, {0x8, ""}, {0x600, ""}, {0x2100, "TM"},
    };
    for (const auto &[bits, text] : attributes)
        EXPECT_EQ(FormatAttributes(bits), text) << std::hex << bits;

    const auto utc = [](int year, int month, int day, int hour, int minute, int second) {
        return FileTime::fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC));
    };
    ZoneOverride berlin("Europe/Berlin");
    // Times use the offset in force at their moment: summer time (+2) and
    // winter time (+1), whatever today's offset is.
    EXPECT_EQ(FormatFileTime(utc(2003, 8, 19, 10, 59, 18)), "19-08-2003 12:59:18");
    EXPECT_EQ(FormatFileTime(utc(2003, 1, 5, 23, 30, 0)), "06-01-2003 00:30:00");
    // The hour the clocks go forward: 01:59:59 UTC+1, then 03:00:00 UTC+2.
    EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 0, 59, 59)), "28-03-2021 01:59:59");
    EXPECT_EQ(FormatFileTime(utc(2021, 3, 28, 1, 0, 0)), "28-03-2021 03:00:00");
    // The year in full, every field padded.
    ZoneOverride utcZone("UTC");
    EXPECT_EQ(FormatFileTime(utc(1999, 12, 31, 23, 59, 59)), "31-12-1999 23:59:59");
    EXPECT_EQ(FormatFileTime(FILETIME{}), "01-01-1601 00:00:00");
    EXPECT_EQ(FormatFileTime(utc(2004, 2, 29, 0, 0, 7)), "29-02-2004 00:00:07");
}

// The literal exchange sort: the reference the fast sort must match exactly.
template <typename T, typename Compare>
void ExchangeSort(std::vector<T> &items, Compare compare, bool ascending)
{
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        for (std::size_t j = i + 1; j < items.size(); ++j) {
            const int c = compare(items[i], items[j]);
            if (ascending ? c > 0 : c < 0)
                std::swap(items[i], items[j]);
        }
    }
}

TEST(EntrySort, Examples)
{
    const struct {
        SortKey key;
        bool ascending;
        std::vector<std::pair<const char *, std::uint64_t>> entries; // name, size
        QStringList sorted;
    } cases[] = {
        // Equal keys end in the exchange sort's order, not a stable one.
        {SortKey::Size, true, {{"5a", 5}, {"5b", 5}, {"1", 1}}, {"1", "5b", "5a"}},
        // " " sorts before ".aaa" before ".bat"; the two .bat files trade places.
        {SortKey::Type, true, {{"a.bat", 0}, {"readme", 0}, {"x.BAT", 0}, {"a.b.aaa", 0}}, {"readme", "a.b.aaa", "x.BAT", "a.bat"}},
        // Sizes are 64-bit unsigned.
        {SortKey::Size, true, {{"big", 0x100000000ULL}, {"low", 0xFFFFFFFFULL}, {"huge", 0xFFFFFFFF00000000ULL}}, {"low", "big", "huge"}},
        {SortKey::None, true, {{"b", 0}, {"a", 0}}, {"b", "a"}},
        // Text keys ignore case.
        {SortKey::Name, true, {{"b", 0}, {"A", 0}, {"\u00c9T\u00c9.DOC", 0}, {"\u00e9t\u00e9.doc", 0}}, {"A", "b", "\u00c9T\u00c9.DOC", "\u00e9t\u00e9.doc"}},
    };
    for (const auto &c : cases) {
        CFileEntryArray entries;
        for (const auto &[name, size] : c.entries)
            entries.Add(std::make_unique<CFileEntry>(Record(name, 0, 0, size)));
        SortEntries(entries, c.key, c.ascending);
        QStringList names;
        for (int i = 0; i < entries.GetSize(); ++i)
            names << entries[i]->Name();
        EXPECT_EQ(names, c.sorted) << int(c.key);
    }
    CFileEntry upper(Record("\u00c9T\u00c9.DOC", 0, 1)), lower(Record("\u00e9t\u00e9.doc", 0, 2));
    for (SortKey key : {SortKey::Name, SortKey::Type})
        EXPECT_EQ(CompareSortValues(SortValueOf(upper, key), SortValueOf(lower, key)), 0);
}

// Random ranks, and random arrays full of ties under every key, checked
// against the literal sort.
TEST(EntrySort, OrderAndSortMatchTheLiteralSortForEveryKeyAndDirection)
{
    const auto literalOrder = [](const std::vector<int> &rank) {
        std::vector<int> order(rank.size());
        std::iota(order.begin(), order.end(), 0);
        ExchangeSort(order, [&](int a, int b) { return rank[std::size_t(a)] - rank[std::size_t(b)]; }, true);
        return order;
    };
    QRandomGenerator random(20030819);
    for (int round = 0; round < 3000; ++round) {
        const int n = int(random.bounded(60));
        const int keys = 1 + int(random.bounded(round % 3 == 0 ? 3 : 10));
        std::vector<int> rank(static_cast<std::size_t>(n));
        for (int &r : rank)
            r = int(random.bounded(keys));
        // Ranks must be dense: renumber the keys that occur.
        const std::set<int> used(rank.begin(), rank.end());
        for (int &r : rank)
            r = int(std::distance(used.begin(), used.find(r)));
        ASSERT_EQ(ExchangeSortOrder(rank), literalOrder(rank)) << "round " << round;
    }
    // Large groups with few keys.
    std::vector<int> rank(3000);
    for (int &r : rank)
        r = int(random.bounded(3));
    EXPECT_EQ(ExchangeSortOrder(rank), literalOrder(rank));

    const QStringList names = {"a", "A", "b.txt", "B.TXT", "c.Txt", "readme", ".profile", "x.bat",
                               "X.BAT", "a.b.c", "\u00e9t\u00e9.doc", "\u00c9T\u00c9.DOC", "z."};
    const DWORD attributes[] = {0, 0x1, 0x20, 0x21, 0x61, 0x2, 0x39F7, 0x80};
    const std::uint64_t values[] = {0, 1, 1023, 0xFFFFFFFFULL, 0x100000000ULL, 0xFFFFFFFF00000000ULL};
    const SortKey keys[] = {SortKey::Name, SortKey::Size, SortKey::Changed, SortKey::Attrs, SortKey::Type};
    random.seed(1601);
    for (int round = 0; round < 3000; ++round) {
        const int n = int(random.bounded(40));
        for (SortKey key : keys) {
            for (bool ascending : {true, false}) {
                CFileEntryArray entries;
                for (int i = 0; i < n; ++i) {
                    entries.Add(std::make_unique<CFileEntry>(
                        Record(names[int(random.bounded(names.size()))], attributes[random.bounded(8)], DWORD(i),
                               values[random.bounded(6)], values[random.bounded(6)])));
                }
                std::vector<std::pair<SortValue, DWORD>> expected;
                for (int i = 0; i < n; ++i)
                    expected.emplace_back(SortValueOf(*entries[i], key), entries[i]->FindData().dwOID);
                ExchangeSort(expected,
                             [](const auto &a, const auto &b) { return CompareSortValues(a.first, b.first); },
                             ascending);
                SortEntries(entries, key, ascending);
                for (int i = 0; i < n; ++i) {
                    ASSERT_EQ(entries[i]->FindData().dwOID, expected[std::size_t(i)].second)
                        << "round " << round << " key " << int(key) << (ascending ? " ascending" : " descending")
                        << " row " << i;
                }
            }
        }
    }
}

} // namespace
