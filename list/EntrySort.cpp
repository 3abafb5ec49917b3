#include "list/EntrySort.h"

#include "list/ExchangeSortOrder.h"

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

} // namespace

SortValue SortValueOf(CFileEntry &entry, SortKey key)
{
    switch (key) {
    case SortKey::Name:
        return {0, entry.Name()};
    case SortKey::Size:
        return {entry.Size(), {}};
    case SortKey::Changed:
        return {FileTimeValue(entry.LastWriteTime()), {}};
    case SortKey::Attrs:
        return {0, fromWide(entry.AttributeLetters())};
    case SortKey::Type:
        return {0, TypeOf(entry.Name())};
    case SortKey::None:
        break;
    }
    return {};
}

int CompareSortValues(const SortValue &a, const SortValue &b)
{
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    return QString::compare(a.text, b.text, Qt::CaseInsensitive);
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

    // Target order: "before" is smaller when ascending, greater when descending.
    auto compare = [&](int a, int b) {
        const int c = CompareSortValues(values[std::size_t(a)], values[std::size_t(b)]);
        return ascending ? c : -c;
    };
    std::vector<int> byKey(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        byKey[std::size_t(i)] = i;
    std::sort(byKey.begin(), byKey.end(), [&](int a, int b) { return compare(a, b) < 0; });

    std::vector<int> rank(static_cast<std::size_t>(n));
    int current = 0;
    rank[std::size_t(byKey[0])] = 0;
    for (std::size_t i = 1; i < byKey.size(); ++i) {
        if (compare(byKey[i - 1], byKey[i]) != 0)
            ++current;
        rank[std::size_t(byKey[i])] = current;
    }

    entries.Reorder(ExchangeSortOrder(rank));
}
