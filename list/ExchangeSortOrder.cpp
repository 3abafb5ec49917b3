#include "list/ExchangeSortOrder.h"

#include <algorithm>
#include <bit>

namespace {

// Binary indexed tree over 0 .. size - 1.
class Fenwick
{
public:
    explicit Fenwick(int size = 0) : m_tree(std::size_t(size) + 1, 0) {}

    // Every slot of a tree of the given size holds 1.
    void fillOnes(int size)
    {
        m_tree.assign(std::size_t(size) + 1, 0);
        for (int i = 1; i <= size; ++i) {
            m_tree[std::size_t(i)] += 1;
            const int parent = i + (i & -i);
            if (parent <= size)
                m_tree[std::size_t(parent)] += m_tree[std::size_t(i)];
        }
    }

    void add(int index, int delta)
    {
        for (int i = index + 1; i < int(m_tree.size()); i += i & -i)
            m_tree[std::size_t(i)] += delta;
    }

    // Sum over 0 .. index - 1.
    int prefix(int index) const
    {
        int sum = 0;
        for (int i = index; i > 0; i -= i & -i)
            sum += m_tree[std::size_t(i)];
        return sum;
    }

    // The slot holding the rank-th one (0-based); the tree holds only 0s and 1s.
    int findRank(int rank) const
    {
        const int size = int(m_tree.size()) - 1;
        int index = 0;
        for (int step = int(std::bit_floor(unsigned(size))); step > 0; step >>= 1) {
            const int next = index + step;
            if (next <= size && m_tree[std::size_t(next)] <= rank) {
                index = next;
                rank -= m_tree[std::size_t(next)];
            }
        }
        return index;
    }

private:
    std::vector<int> m_tree;
};

} // namespace

// Per key group in target order, scanning the group's members by position: each
// member joins the end of a run, then the run rotates left by the number of
// earlier-key entries between this member and the next (mod the run length).
// The rotations are replayed backwards over the run's final slots, so each
// member costs O(log n) instead of a rotation of the whole run.
std::vector<int> ExchangeSortOrder(const std::vector<int> &keyRank)
{
    const int n = int(keyRank.size());
    const int keys = n ? *std::max_element(keyRank.begin(), keyRank.end()) + 1 : 0;

    // Positions grouped by key rank, increasing within each group.
    std::vector<int> groupStart(std::size_t(keys) + 1, 0);
    for (int rank : keyRank)
        ++groupStart[std::size_t(rank) + 1];
    for (int k = 0; k < keys; ++k)
        groupStart[std::size_t(k) + 1] += groupStart[std::size_t(k)];
    std::vector<int> members(static_cast<std::size_t>(n));
    {
        std::vector<int> fill(groupStart.begin(), groupStart.end() - 1);
        for (int p = 0; p < n; ++p)
            members[std::size_t(fill[std::size_t(keyRank[std::size_t(p)])]++)] = p;
    }

    Fenwick earlier(n);
    Fenwick freeSlots;
    std::vector<int> rotation;
    std::vector<int> result(static_cast<std::size_t>(n));
    for (int k = 0; k < keys; ++k) {
        const int first = groupStart[std::size_t(k)];
        const int size = groupStart[std::size_t(k) + 1] - first;
        const int *position = members.data() + first;
        int *out = result.data() + first;

        if (size > 1) {
            rotation.resize(std::size_t(size));
            for (int j = 0; j < size; ++j) {
                const int next = j + 1 < size ? position[j + 1] : n;
                rotation[std::size_t(j)] = earlier.prefix(next) - earlier.prefix(position[j] + 1);
            }
            // Backwards: after step j the run (length j + 1) occupies the free
            // slots cyclically from startRank; member j sits at run index
            // j - (rotation mod (j + 1)).
            freeSlots.fillOnes(size);
            int startRank = 0;
            for (int j = size - 1; j >= 0; --j) {
                const int length = j + 1;
                const int index = j - rotation[std::size_t(j)] % length;
                const int rank = (startRank + index) % length;
                const int slot = freeSlots.findRank(rank);
                out[slot] = position[j];
                freeSlots.add(slot, -1);
                if (j > 0)
                    startRank = rank % j;
            }
        } else {
            out[0] = position[0];
        }
        for (int j = 0; j < size; ++j)
            earlier.add(position[j], 1);
    }
    return result;
}
