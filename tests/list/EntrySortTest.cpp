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

        std::vector<int> expected(static_cast<std::size_t>(n));
        for (int p = 0; p < n; ++p)
            expected[std::size_t(p)] = p;
        ExchangeSort(expected, [&](int a, int b) { return rank[std::size_t(a)] - rank[std::size_t(b)]; }, true);
        ASSERT_EQ(ExchangeSortOrder(rank), expected) << "round " << round;
    }
}

TEST(ExchangeSortOrder, LargeGroupsWithFewKeys)
{
    QRandomGenerator random(7);
    std::vector<int> rank(3000);
    for (int &r : rank)
        r = int(random.bounded(3));
    std::vector<int> expected(rank.size());
    for (std::size_t p = 0; p < rank.size(); ++p)
        expected[p] = int(p);
    ExchangeSort(expected, [&](int a, int b) { return rank[std::size_t(a)] - rank[std::size_t(b)]; }, true);
    EXPECT_EQ(ExchangeSortOrder(rank), expected);
}

TEST(EntrySort, EqualKeysEndInTheExchangeSortOrder)
{
    CFileEntryArray entries;
    entries.Add(MakeEntry("5a", 1, 5));
    entries.Add(MakeEntry("5b", 2, 5));
    entries.Add(MakeEntry("1", 3, 1));
    SortEntries(entries, SortKey::Size, true);
    EXPECT_EQ(Names(entries), (QStringList{"1", "5b", "5a"}));
}

TEST(EntrySort, TypeSortsNamesWithoutDotFirst)
{
    CFileEntryArray entries;
    entries.Add(MakeEntry("a.bat", 1));
    entries.Add(MakeEntry("readme", 2));
    entries.Add(MakeEntry("x.BAT", 3));
    entries.Add(MakeEntry("a.b.aaa", 4));
    // " " sorts before ".aaa" before ".bat"; the two .bat files trade places
    // as the exchange sort moves them, which a stable sort would not do.
    SortEntries(entries, SortKey::Type, true);
    EXPECT_EQ(Names(entries), (QStringList{"readme", "a.b.aaa", "x.BAT", "a.bat"}));
    SortEntries(entries, SortKey::Type, false);
    EXPECT_EQ(Names(entries), (QStringList{"x.BAT", "a.bat", "a.b.aaa", "readme"}));
}

TEST(EntrySort, SizeIsSixtyFourBitUnsigned)
{
    CFileEntryArray entries;
    entries.Add(MakeEntry("big", 1, 0x100000000ULL));
    entries.Add(MakeEntry("low", 2, 0xFFFFFFFFULL));
    entries.Add(MakeEntry("huge", 3, 0xFFFFFFFF00000000ULL));
    SortEntries(entries, SortKey::Size, true);
    EXPECT_EQ(Names(entries), (QStringList{"low", "big", "huge"}));
}

TEST(EntrySort, NoneLeavesTheOrder)
{
    CFileEntryArray entries;
    entries.Add(MakeEntry("b", 1));
    entries.Add(MakeEntry("a", 2));
    SortEntries(entries, SortKey::None, true);
    EXPECT_EQ(Names(entries), (QStringList{"b", "a"}));
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

TEST(EntrySort, TextKeysIgnoreCase)
{
    CFileEntry upper(MakeEntry("\u00c9T\u00c9.DOC", 1)->FindData());
    CFileEntry lower(MakeEntry("\u00e9t\u00e9.doc", 2)->FindData());
    for (SortKey key : {SortKey::Name, SortKey::Type})
        EXPECT_EQ(CompareSortValues(SortValueOf(upper, key), SortValueOf(lower, key)), 0);
    CFileEntry b(MakeEntry("b", 3)->FindData());
    CFileEntry capitalA(MakeEntry("A", 4)->FindData());
    EXPECT_GT(CompareSortValues(SortValueOf(b, SortKey::Name), SortValueOf(capitalA, SortKey::Name)), 0);
}

} // namespace
