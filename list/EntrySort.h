// Sorting the file list's entries by one of its columns.
//
// Text keys compare without regard to case: both texts are case-folded
// (QString::toCaseFolded, so "a" equals "A" and "é" equals "É") and then
// compared code unit by code unit.
#pragma once

#include "list/CFileEntryArray.h"

#include <QString>
#include <cstdint>

enum class SortKey { None, Name, Size, Changed, Attrs, Type };

// The value an entry is compared by: the number first, then the text, which is
// already case-folded.
struct SortValue {
    std::uint64_t number = 0;
    QString text;
};

// Name: the file name. Size: the 64-bit size. Changed: the last write time as
// a 64-bit file time. Attrs: the attribute letters. Type: the name from its
// last "." to the end, dot included, or " " for a name without a dot.
// Attrs writes the entry's attribute-letter buffer, hence the non-const entry.
SortValue SortValueOf(CFileEntry &entry, SortKey key);

// Negative, zero or positive as a's value is below, equal to or above b's.
int CompareSortValues(const SortValue &a, const SortValue &b);

// Reorders the entries exactly as the exchange sort of the list does (swap
// i < j when i must come after j: ascending on a greater key, descending on a
// smaller one; never on equal keys), in O(n log n). SortKey::None leaves the
// array unchanged.
void SortEntries(CFileEntryArray &entries, SortKey key, bool ascending);
