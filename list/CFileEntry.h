// One listed file: a copy of the find-data record the folder enumeration
// returned, plus a scratch buffer for its attribute letters (used when the
// list is sorted by attributes).
#pragma once

#include "platform/Types.h"

#include <QString>

class CFileEntry
{
public:
    static constexpr int AttributeLettersSize = 14;

    // All find data zero.
    CFileEntry();
    // Byte copy of the record.
    explicit CFileEntry(const WIN32_FIND_DATAW &findData);
    virtual ~CFileEntry() = default;

    const WIN32_FIND_DATAW &FindData() const { return m_findData; }
    // Points into the record; valid while the entry lives.
    LPCWSTR GetName() const { return m_findData.cFileName; }
    QString Name() const { return fromWide(m_findData.cFileName); }
    DWORD Attributes() const { return m_findData.dwFileAttributes; }
    void GetSize(DWORD &sizeHigh, DWORD &sizeLow) const;
    std::uint64_t Size() const;
    FILETIME LastWriteTime() const { return m_findData.ftLastWriteTime; }

    QString SizeText() const;
    QString TimeText() const;
    QString AttributesText() const;

    // Writes the attribute letters into the entry's own buffer (zero-filled
    // first) and returns it; the buffer stays valid while the entry lives.
    LPCWSTR AttributeLetters();

private:
    WIN32_FIND_DATAW m_findData;
    WCHAR m_attributeLetters[AttributeLettersSize];
};
