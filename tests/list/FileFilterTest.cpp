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

constexpr DWORD Rom = FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY;
const auto None = std::nullopt;

TEST(FileFilter, ShowsAndHidesBySettings)
{
    TempDevice device;
    const struct {
        std::optional<DWORD> mainFilter, subFilter, hideRom;
        const char *shown;  // names shown, separated by spaces
        const char *hidden; // names hidden
        DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    } cases[] = {
        // Absent values count as 0: everything shows.
        {None, None, None, "a.dll readme b.exe .cpl", "", Rom},
        {0, 2, 0, "a.dll readme b.exe", ""},
        // Hide the system types, whatever their case.
        {1, 0, 0, "c.dll.bak readme .cpl x.dl a.txt", "a.dll b.CPL c.Drv d.htp"},
        // Only one group.
        {2, 0, 0, "a.doc b.TXT c.psw d.pwd e.pxl f.xls", "a.exe readme a.docx txt"},
        {2, 1, 0, "setup.EXE", "a.com a.txt exe"},
        {2, 2, 0, "photo.jpg a.2bp b.bmp c.gif d.pcx e.tif", "photo.jpeg jpg a.tiff"},
        {2, 3, 0, "a.html b.htm c.url d.xml e.xsl", "a.xhtml a.txt"},
        // Unknown groups and filters show everything.
        {2, 7, 0, "a.dll readme photo.jpeg", ""},
        {2, 0xFFFFFFFF, 0, "a.dll readme photo.jpeg", ""},
        {3, 0, 0, "a.dll readme", ""},
        {0xFFFFFFFF, 0, 0, "a.dll readme", ""},
        // Files in ROM: HideROM 1 hides them even when the filter would show them.
        {0, 0, 1, "", "a.txt b.dll readme", Rom},
        {2, 0, 1, "", "a.txt", Rom},
        {0, 0, 2, "a.txt b.dll", "", Rom},
        {1, 0, 1, "a.txt", "", FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        Set(RegistryLayout::MainFilter, c.mainFilter);
        Set(RegistryLayout::SubFilter, c.subFilter);
        Set(RegistryLayout::HideROM, c.hideRom);
        // Each name twice: the second answer comes from the filter's memory.
        FileFilter filter;
        for (int round = 0; round < 2; ++round) {
            for (const QString &name : QString(c.shown).split(' ', Qt::SkipEmptyParts))
                EXPECT_TRUE(filter.Passes(Record(name, c.attributes))) << name.toStdString();
            for (const QString &name : QString(c.hidden).split(' ', Qt::SkipEmptyParts))
                EXPECT_FALSE(filter.Passes(Record(name, c.attributes))) << name.toStdString();
        }
    }
}

// The settings are read when a filter is made, once per folder load.
TEST(FileFilter, SettingsAreReadWhenMade)
{
    TempDevice device;
    const WIN32_FIND_DATAW record = Record("a.dll");
    FileFilter before;
    Set(RegistryLayout::MainFilter, 1);
    EXPECT_TRUE(before.Passes(record));
    EXPECT_FALSE(FileFilter().Passes(record));
}

} // namespace
