#include "list/EntrySort.h"
#include "list/ExchangeSortOrder.h"

#include "QtPrinters.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

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

std::unique_ptr<CFileEntry> MakeEntry(const QString &name, DWORD id, std::uint64_t size = 0,
                                      std::uint64_t time = 0, DWORD attributes = 0)
{
    WIN32_FIND_DATAW data;
    copyToWide(name, data.cFileName, MAX_PATH);
    data.dwOID = id;
    data.nFileSizeHigh = DWORD(size >> 32);
    data.nFileSizeLow = DWORD(size);
    data.ftLastWriteTime.dwHighDateTime = DWORD(time >> 32);
    data.ftLastWriteTime.dwLowDateTime = DWORD(time);
    data.dwFileAttributes = attributes;
    return std::make_unique<CFileEntry>(data);
}

std::vector<DWORD> Ids(const CFileEntryArray &entries)
{
    std::vector<DWORD> ids;
    for (int i = 0; i < entries.GetSize(); ++i)
        ids.push_back(entries[i]->FindData().dwOID);
    return ids;
}

QStringList Names(const CFileEntryArray &entries)
{
    QStringList names;
    for (int i = 0; i < entries.GetSize(); ++i)
        names << entries[i]->Name();
    return names;
}

std::vector<int> LiteralOrder(const std::vector<int> &rank)
{
    std::vector<int> order(rank.size());
    for (std::size_t p = 0; p < rank.size(); ++p)
        order[p] = int(p);
    ExchangeSort(order, [&](int a, int b) { return rank[std::size_t(a)] - rank[std::size_t(b)]; }, true);
    return order;
}

TEST(ExchangeSortOrder, MatchesTheLiteralSortOnKeyRanks)
{
    QRandomGenerator random(20030819);
    for (int round = 0; round < 3000; ++round) {
        const int n = int(random.bounded(60));
        const int keys = 1 + int(random.bounded(round % 3 == 0 ? 3 : 10));
        std::vector<int> rank(static_cast<std::size_t>(n));
        for (int &r : rank)
            r = int(random.bounded(keys));
        // Ranks must be dense: renumber the keys that occur.
        std::vector<int> used(std::size_t(keys), -1);
        int next = 0;
        for (int r = 0; r < keys; ++r)
            if (std::find(rank.begin(), rank.end(), r) != rank.end())
                used[std::size_t(r)] = next++;
        for (int &r : rank)
            r = used[std::size_t(r)];
        ASSERT_EQ(ExchangeSortOrder(rank), LiteralOrder(rank)) << "round " << round;
    }
    // Large groups with few keys.
    std::vector<int> rank(3000);
    for (int &r : rank)
        r = int(random.bounded(3));
    EXPECT_EQ(ExchangeSortOrder(rank), LiteralOrder(rank));
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
        {SortKey::Type, false, {{"readme", 0}, {"a.b.aaa", 0}, {"x.BAT", 0}, {"a.bat", 0}}, {"x.BAT", "a.bat", "a.b.aaa", "readme"}},
        // Sizes are 64-bit unsigned.
        {SortKey::Size, true, {{"big", 0x100000000ULL}, {"low", 0xFFFFFFFFULL}, {"huge", 0xFFFFFFFF00000000ULL}}, {"low", "big", "huge"}},
        {SortKey::None, true, {{"b", 0}, {"a", 0}}, {"b", "a"}},
        // Text keys ignore case.
        {SortKey::Name, true, {{"b", 0}, {"A", 0}, {"\u00c9T\u00c9.DOC", 0}, {"\u00e9t\u00e9.doc", 0}}, {"A", "b", "\u00c9T\u00c9.DOC", "\u00e9t\u00e9.doc"}},
    };
    for (const auto &c : cases) {
        CFileEntryArray entries;
        for (const auto &[name, size] : c.entries)
            entries.Add(MakeEntry(name, 0, size));
        SortEntries(entries, c.key, c.ascending);
        EXPECT_EQ(Names(entries), c.sorted) << int(c.key);
    }
    CFileEntry upper(MakeEntry("\u00c9T\u00c9.DOC", 1)->FindData()), lower(MakeEntry("\u00e9t\u00e9.doc", 2)->FindData());
    for (SortKey key : {SortKey::Name, SortKey::Type})
        EXPECT_EQ(CompareSortValues(SortValueOf(upper, key), SortValueOf(lower, key)), 0);
}

// Random arrays full of ties under every key, checked against the literal sort.
TEST(EntrySort, MatchesTheLiteralSortForEveryKeyAndDirection)
{
    const QStringList names = {"a", "A", "b.txt", "B.TXT", "c.Txt", "readme", ".profile", "x.bat",
                               "X.BAT", "a.b.c", "\u00e9t\u00e9.doc", "\u00c9T\u00c9.DOC", "z."};
    const DWORD attributes[] = {0, 0x1, 0x20, 0x21, 0x61, 0x2, 0x39F7, 0x80};
    const std::uint64_t values[] = {0, 1, 1023, 0xFFFFFFFFULL, 0x100000000ULL, 0xFFFFFFFF00000000ULL};
    const SortKey keys[] = {SortKey::Name, SortKey::Size, SortKey::Changed, SortKey::Attrs, SortKey::Type};

    QRandomGenerator random(1601);
    for (int round = 0; round < 3000; ++round) {
        const int n = int(random.bounded(40));
        for (SortKey key : keys) {
            for (bool ascending : {true, false}) {
                CFileEntryArray entries;
                for (int i = 0; i < n; ++i) {
                    entries.Add(MakeEntry(names[int(random.bounded(names.size()))], DWORD(i),
                                          values[random.bounded(6)], values[random.bounded(6)],
                                          attributes[random.bounded(8)]));
                }
                std::vector<std::pair<SortValue, DWORD>> expected;
                for (int i = 0; i < n; ++i)
                    expected.emplace_back(SortValueOf(*entries[i], key), entries[i]->FindData().dwOID);
                ExchangeSort(expected,
                             [](const auto &a, const auto &b) { return CompareSortValues(a.first, b.first); },
                             ascending);
                std::vector<DWORD> expectedIds;
                for (const auto &e : expected)
                    expectedIds.push_back(e.second);

                SortEntries(entries, key, ascending);
                ASSERT_EQ(Ids(entries), expectedIds)
                    << "round " << round << " key " << int(key) << (ascending ? " ascending" : " descending");
            }
        }
    }
}

} // namespace
