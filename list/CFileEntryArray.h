// The owning array of a folder's entries, in enumeration order until sorted.
#pragma once

#include "list/CFileEntry.h"

#include <memory>
#include <vector>

class CFileEntryArray
{
public:
    CFileEntryArray() = default;
    ~CFileEntryArray(); // RemoveAll
    CFileEntryArray(const CFileEntryArray &) = delete;
    CFileEntryArray &operator=(const CFileEntryArray &) = delete;
    CFileEntryArray(CFileEntryArray &&) = default;
    CFileEntryArray &operator=(CFileEntryArray &&) = default;

    int GetSize() const { return int(m_entries.size()); }
    // index must lie in 0 .. GetSize() - 1.
    CFileEntry *GetAt(int index) const { return m_entries[std::size_t(index)].get(); }
    CFileEntry *operator[](int index) const { return GetAt(index); }

    // Appends at the end and takes ownership; returns the new entry's index.
    int Add(std::unique_ptr<CFileEntry> entry);
    // Takes the entry at index out of the array, leaving its place empty
    // until RemoveAll.
    std::unique_ptr<CFileEntry> Take(int index) { return std::move(m_entries[std::size_t(index)]); }
    // Destroys every entry, last to first, and leaves the array empty.
    void RemoveAll();
    // Rearranges the entries: the entry at order[i] moves to position i.
    // order must be a permutation of 0 .. GetSize() - 1.
    void Reorder(const std::vector<int> &order);

private:
    std::vector<std::unique_ptr<CFileEntry>> m_entries;
};
