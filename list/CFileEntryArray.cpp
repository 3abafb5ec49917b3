#include "list/CFileEntryArray.h"

#include <cassert>

CFileEntryArray::~CFileEntryArray()
{
    RemoveAll();
}

int CFileEntryArray::Add(std::unique_ptr<CFileEntry> entry)
{
    m_entries.push_back(std::move(entry));
    return GetSize() - 1;
}

void CFileEntryArray::RemoveAll()
{
    while (!m_entries.empty())
        m_entries.pop_back();
}

void CFileEntryArray::Reorder(const std::vector<int> &order)
{
    assert(order.size() == m_entries.size());
    std::vector<std::unique_ptr<CFileEntry>> reordered;
    reordered.reserve(m_entries.size());
    for (int from : order)
        reordered.push_back(std::move(m_entries[std::size_t(from)]));
    m_entries = std::move(reordered);
}
