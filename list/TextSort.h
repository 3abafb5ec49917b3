// The text sort of lists that hold their cells as text (the find result
// list): which column a header title names, the sort state a tap leads to,
// and how two cell texts of a column compare.
//
// State: the low two bits are the direction (1 ascending, 2 descending), the
// rest the column code of the last sort. The codes are used as they are, so
// the bits of Attrs (24) and Type (48) overlap those of Size and Changed: a
// tap on Attrs after a sort by Size counts as a second tap (descending).
#pragma once

#include <QString>

namespace TextSort {

enum Code { NameCode = 4, SizeCode = 8, ChangedCode = 16, AttrsCode = 24, TypeCode = 48 };
constexpr int Ascending = 1;
constexpr int Descending = 2;

// The code of a column title ("Name", "Size", "Changed", "Attrs", "Type"),
// compared whole and case-sensitive; 0 for any other title.
int ColumnCode(const QString &title);

// code + Descending when the old state shares a bit with code and is not
// descending; code + Ascending otherwise.
int NextState(int oldState, int code);

// -1, 0 or 1: whether first comes before, with or after second in the order
// of state (its code and direction; descending negates).
//   Name: upper-cased texts, first against second.
//   Attrs, Type: upper-cased texts, second against first.
//   Size: by unit ("Mb" after the first character ranks 3, else "Kb" 2,
//   else 1), then by the leading decimal numbers.
//   Changed: the "DD-MM-YYYY hh:mm:ss" texts as the dates they show (day
//   first); a text that is no such date counts as before every date.
int Compare(int state, const QString &first, const QString &second);

} // namespace TextSort
