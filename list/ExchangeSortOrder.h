// The order an exchange sort leaves behind, computed in O(n log n).
//
// The exchange sort compares every pair i < j and swaps when entry i must come
// after entry j, never on equal keys. The result is sorted, but entries with
// equal keys end in a scrambled order (keys 5a 5b 1 end as 1 5b 5a) that the
// user sees, so the list reproduces it exactly without the quadratic cost.
#pragma once

#include <vector>

// keyRank[p] is the rank, in target order, of the key of the entry at
// position p: 0 for the keys that come first, equal keys share a rank, ranks
// are dense (0 .. k - 1). Returns the positions in the order the exchange sort
// leaves them: result[i] is the position whose entry ends at index i.
std::vector<int> ExchangeSortOrder(const std::vector<int> &keyRank);
