#include "list/FileFilter.h"

#include "TempDevice.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

WIN32_FIND_DATAW Record(const QString &name, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE)
{
    WIN32_FIND_DATAW data;
    copyToWide(name, data.cFileName, MAX_PATH);
    data.dwFileAttributes = attributes;
    return data;
}

void Set(const QString &name, std::optional<DWORD> value)
{
    CRegistryAccess registry;
    if (value)
        registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name, *value);
    else
        registry.DeleteValue(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name);
}

struct FilterCase {
    std::optional<DWORD> mainFilter;
    std::optional<DWORD> subFilter;
    std::optional<DWORD> hideRom;
    const char *shown;  // names shown, separated by spaces
    const char *hidden; // names hidden
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
};

void PrintTo(const FilterCase &c, std::ostream *out)
{
    const auto number = [](std::optional<DWORD> v) { return v ? std::to_string(*v) : std::string("absent"); };
    *out << "main " << number(c.mainFilter) << " sub " << number(c.subFilter) << " rom " << number(c.hideRom);
}

class FilterRules : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterRules, ShowsAndHides)
{
    TempDevice device;
    const FilterCase &c = GetParam();
    Set(RegistryLayout::MainFilter, c.mainFilter);
    Set(RegistryLayout::SubFilter, c.subFilter);
    Set(RegistryLayout::HideROM, c.hideRom);
    for (const QString &name : QString::fromLatin1(c.shown).split(' ', Qt::SkipEmptyParts))
        EXPECT_TRUE(PassesFileFilter(Record(name, c.attributes))) << name.toStdString();
    for (const QString &name : QString::fromLatin1(c.hidden).split(' ', Qt::SkipEmptyParts))
        EXPECT_FALSE(PassesFileFilter(Record(name, c.attributes))) << name.toStdString();
}

constexpr DWORD Rom = FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY;
const auto None = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Settings, FilterRules,
    testing::Values(
        // Absent values count as 0: everything shows.
        FilterCase{None, None, None, "a.dll readme b.exe .cpl", "", Rom},
        FilterCase{0, 2, 0, "a.dll readme b.exe", ""},
        // Hide the system types, whatever their case.
        FilterCase{1, 0, 0, "c.dll.bak readme .cpl x.dl a.txt", "a.dll b.CPL c.Drv d.htp"},
        // Only one group.
        FilterCase{2, 0, 0, "a.doc b.TXT c.psw d.pwd e.pxl f.xls", "a.exe readme a.docx txt"},
        FilterCase{2, 1, 0, "setup.EXE", "a.com a.txt exe"},
        FilterCase{2, 2, 0, "photo.jpg a.2bp b.bmp c.gif d.pcx e.tif", "photo.jpeg jpg a.tiff"},
        FilterCase{2, 3, 0, "a.html b.htm c.url d.xml e.xsl", "a.xhtml a.txt"},
        // Unknown groups and filters show everything.
        FilterCase{2, 7, 0, "a.dll readme photo.jpeg", ""},
        FilterCase{2, 0xFFFFFFFF, 0, "a.dll readme photo.jpeg", ""},
        FilterCase{3, 0, 0, "a.dll readme", ""},
        FilterCase{0xFFFFFFFF, 0, 0, "a.dll readme", ""},
        // Files in ROM: HideROM 1 hides them even when the filter would show them.
        FilterCase{0, 0, 1, "", "a.txt b.dll readme", Rom},
        FilterCase{2, 0, 1, "", "a.txt", Rom},
        FilterCase{0, 0, 2, "a.txt b.dll", "", Rom},
        FilterCase{1, 0, 1, "a.txt", "", FILE_ATTRIBUTE_ARCHIVE}));

TEST(FileFilter, SettingsAreReadForEveryRecord)
{
    TempDevice device;
    const WIN32_FIND_DATAW record = Record("a.dll");
    EXPECT_TRUE(PassesFileFilter(record));
    Set(RegistryLayout::MainFilter, 1);
    EXPECT_FALSE(PassesFileFilter(record));
    Set(RegistryLayout::MainFilter, 0);
    EXPECT_TRUE(PassesFileFilter(record));
}

} // namespace
