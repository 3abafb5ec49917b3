#include "list/CFileEntryArray.h"

#include "QtPrinters.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

WIN32_FIND_DATAW Record(const QString &name, DWORD attributes, DWORD high, DWORD low)
{
    WIN32_FIND_DATAW data;
    copyToWide(name, data.cFileName, MAX_PATH);
    data.dwFileAttributes = attributes;
    data.nFileSizeHigh = high;
    data.nFileSizeLow = low;
    data.ftLastWriteTime = {0x11223344, 0x01C36672};
    data.dwOID = 77;
    return data;
}

TEST(FileEntry, CopiesTheRecordAndFormatsIt)
{
    const WIN32_FIND_DATAW data = Record("notes.txt", 0x61, 0, 1536);
    CFileEntry entry(data);
    EXPECT_EQ(std::memcmp(&entry.FindData(), &data, sizeof data), 0);
    EXPECT_EQ(entry.Name(), "notes.txt");
    DWORD high = 9, low = 9;
    entry.GetSize(high, low);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(low, 1536u);
    EXPECT_EQ(entry.LastWriteTime().dwHighDateTime, 0x01C36672u);
    EXPECT_EQ(entry.SizeText(), "1.5Kb");
    EXPECT_EQ(entry.AttributesText(), "RAI");
    EXPECT_EQ(fromWide(entry.AttributeLetters()), "RAI");

    CFileEntry empty;
    const WIN32_FIND_DATAW zero{};
    EXPECT_EQ(std::memcmp(&empty.FindData(), &zero, sizeof zero), 0);
    EXPECT_EQ(empty.Name(), QString());
    EXPECT_EQ(fromWide(empty.AttributeLetters()), QString());
}

// Records the order in which entries are destroyed.
class TracedEntry : public CFileEntry
{
public:
    TracedEntry(int id, std::vector<int> &log) : m_id(id), m_log(log) {}
    ~TracedEntry() override { m_log.push_back(m_id); }

private:
    int m_id;
    std::vector<int> &m_log;
};

TEST(FileEntryArray, ReorderMovesOwnershipAndClearingDestroysLastToFirst)
{
    std::vector<int> log;
    {
        CFileEntryArray entries;
        for (int id = 0; id < 3; ++id)
            EXPECT_EQ(entries.Add(std::make_unique<TracedEntry>(id, log)), id);
        CFileEntry *first = entries[0];
        entries.Reorder({2, 0, 1});
        EXPECT_EQ(entries[1], first);
        EXPECT_TRUE(log.empty());
        entries.RemoveAll();
        EXPECT_EQ(entries.GetSize(), 0);
        EXPECT_EQ(log, (std::vector<int>{1, 0, 2}));

        log.clear();
        entries.Add(std::make_unique<TracedEntry>(5, log));
        entries.Add(std::make_unique<TracedEntry>(6, log));
    }
    EXPECT_EQ(log, (std::vector<int>{6, 5}));
}

} // namespace
