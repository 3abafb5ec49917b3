#include "list/CFileEntry.h"

#include "list/DisplayFormats.h"

#include <algorithm>
#include <cstring>

CFileEntry::CFileEntry() : m_findData{}, m_attributeLetters{} {}

CFileEntry::CFileEntry(const WIN32_FIND_DATAW &findData) : m_attributeLetters{}
{
    std::memcpy(&m_findData, &findData, sizeof m_findData);
}

void CFileEntry::GetSize(DWORD &sizeHigh, DWORD &sizeLow) const
{
    sizeHigh = m_findData.nFileSizeHigh;
    sizeLow = m_findData.nFileSizeLow;
}

std::uint64_t CFileEntry::Size() const
{
    return (std::uint64_t(m_findData.nFileSizeHigh) << 32) | m_findData.nFileSizeLow;
}

QString CFileEntry::SizeText() const
{
    return FormatFileSize(m_findData.nFileSizeHigh, m_findData.nFileSizeLow);
}

QString CFileEntry::TimeText() const
{
    return FormatFileTime(m_findData.ftLastWriteTime);
}

QString CFileEntry::AttributesText() const
{
    return FormatAttributes(m_findData.dwFileAttributes);
}

LPCWSTR CFileEntry::AttributeLetters()
{
    std::fill(std::begin(m_attributeLetters), std::end(m_attributeLetters), WCHAR(0));
    copyToWide(AttributesText(), m_attributeLetters, AttributeLettersSize);
    return m_attributeLetters;
}
