#include "list/EntrySort.h"

#include "list/ExchangeSortOrder.h"

#include <QHash>
#include <algorithm>

namespace {

QString TypeOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringLiteral(" ") : name.mid(dot);
}

std::uint64_t FileTimeValue(const FILETIME &time)
{
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// "Before" in the target order: smaller when ascending, greater when descending.
bool Before(const SortValue &a, const SortValue &b, bool ascending)
{
    const int c = CompareSortValues(a, b);
    return ascending ? c < 0 : c > 0;
}

// Dense ranks in target order (equal values share a rank), by sorting all
// values. Consumes the values.
std::vector<int> RanksBySorting(std::vector<SortValue> &values, bool ascending)
{
    struct Item {
        SortValue value;
        int position;
    };
    std::vector<Item> items;
    items.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        items.push_back({std::move(values[i]), int(i)});
    std::sort(items.begin(), items.end(),
              [ascending](const Item &a, const Item &b) { return Before(a.value, b.value, ascending); });

    std::vector<int> rank(items.size());
    int current = 0;
    rank[std::size_t(items[0].position)] = 0;
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (CompareSortValues(items[i - 1].value, items[i].value) != 0)
            ++current;
        rank[std::size_t(items[i].position)] = current;
    }
    return rank;
}

// The same ranks, by sorting only the distinct values: cheaper when there are
// many ties. Consumes the values.
std::vector<int> RanksOfDistinct(std::vector<SortValue> &values, bool ascending)
{
    QHash<std::pair<std::uint64_t, QString>, int> slotByValue;
    std::vector<SortValue> distinct;
    std::vector<int> slotOf(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::pair<std::uint64_t, QString> hashKey(values[i].number, values[i].text);
        auto found = slotByValue.constFind(hashKey);
        if (found == slotByValue.constEnd()) {
            found = slotByValue.insert(hashKey, int(distinct.size()));
            distinct.push_back(std::move(values[i]));
        }
        slotOf[i] = found.value();
    }
    const std::vector<int> rankOfSlot = RanksBySorting(distinct, ascending);
    std::vector<int> rank(values.size());
    for (std::size_t i = 0; i < rank.size(); ++i)
        rank[i] = rankOfSlot[std::size_t(slotOf[i])];
    return rank;
}

} // namespace

SortValue SortValueOf(CFileEntry &entry, SortKey key)
{
    switch (key) {
    case SortKey::Name:
        return {0, entry.Name().toCaseFolded()};
    case SortKey::Size:
        return {entry.Size(), {}};
    case SortKey::Changed:
        return {FileTimeValue(entry.LastWriteTime()), {}};
    case SortKey::Attrs:
        return {0, fromWide(entry.AttributeLetters()).toCaseFolded()};
    case SortKey::Type:
        return {0, TypeOf(entry.Name()).toCaseFolded()};
    case SortKey::None:
        break;
    }
    return {};
}

int CompareSortValues(const SortValue &a, const SortValue &b)
{
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    return QString::compare(a.text, b.text, Qt::CaseSensitive);
}

void SortEntries(CFileEntryArray &entries, SortKey key, bool ascending)
{
    const int n = entries.GetSize();
    if (key == SortKey::None || n < 2)
        return;

    std::vector<SortValue> values;
    values.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        values.push_back(SortValueOf(*entries[i], key));

    // Types and attribute letters take few distinct values: sort those only.
    const bool fewDistinct = key == SortKey::Type || key == SortKey::Attrs;
    const std::vector<int> rank = fewDistinct ? RanksOfDistinct(values, ascending) : RanksBySorting(values, ascending);
    entries.Reorder(ExchangeSortOrder(rank));
}
