// The file filter and its dialog: which names the stored settings show, what
// the dialog shows of them and what Ok and Cancel write.
#include "FileListViewFixture.h"
#include "QtPrinters.h"
#include "Settings.h"

#include "list/CFilterDlg.h"
#include "list/FileFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace {

using FilterValues = std::array<std::optional<DWORD>, 3>; // MainFilter, SubFilter, HideROM
constexpr DWORD Rom = FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY;
const auto None = std::nullopt;

struct FilterTest : Panes {
    const QString names[3] = {RegistryLayout::MainFilter, RegistryLayout::SubFilter, RegistryLayout::HideROM};

    // Writes the values given and deletes the others.
    void store(const FilterValues &values)
    {
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                writeSetting(RegistryLayout::FileFilterKey, names[i], *values[i]);
            else
                CRegistryAccess().DeleteValue(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, names[i]);
        }
    }
    FilterValues stored()
    {
        FilterValues values;
        for (int i = 0; i < 3; ++i) {
            DWORD value = 0;
            if (readSetting(RegistryLayout::FileFilterKey, names[i], value) == RegSuccess)
                values[i] = value;
        }
        return values;
    }

    // Runs the dialog modally; act sees it open and initialised.
    int run(const std::function<void(CDialog &)> &act)
    {
        ScopedModalHook hook(act);
        return CFilterDlg().DoModal();
    }
    static QRadioButton *radio(CDialog &d, int id) { return d.GetDlgItem<QRadioButton>(id); }
    static QComboBox *combo(CDialog &d) { return d.GetDlgItem<QComboBox>(CFilterDlg::IDC_CATEGORY); }
    static QCheckBox *hideRom(CDialog &d) { return d.GetDlgItem<QCheckBox>(CFilterDlg::IDC_HIDE_ROM); }
    // A tap on the button's left end, where its indicator and text are.
    static void click(CDialog &d, int id)
    {
        auto *button = d.GetDlgItem<QAbstractButton>(id);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    }
};

TEST_F(FilterTest, ShowsAndHidesBySettings)
{
    const struct {
        FilterValues settings; // MainFilter, SubFilter, HideROM
        const char *shown;     // names shown, separated by spaces
        const char *hidden;    // names hidden
        DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    } cases[] = {
        // Absent values count as 0: everything shows.
        {{None, None, None}, "a.dll readme b.exe .cpl", "", Rom},
        {{0, 2, 0}, "a.dll readme b.exe", ""},
        // Hide the system types, whatever their case.
        {{1, 0, 0}, "c.dll.bak readme .cpl x.dl a.txt", "a.dll b.CPL c.Drv d.htp"},
        // Only one group.
        {{2, 0, 0}, "a.doc b.TXT c.psw d.pwd e.pxl f.xls", "a.exe readme a.docx txt"},
        {{2, 1, 0}, "setup.EXE", "a.com a.txt exe"},
        {{2, 2, 0}, "photo.jpg a.2bp b.bmp c.gif d.pcx e.tif", "photo.jpeg jpg a.tiff"},
        {{2, 3, 0}, "a.html b.htm c.url d.xml e.xsl", "a.xhtml a.txt"},
        // Unknown groups and filters show everything.
        {{2, 0xFFFFFFFF, 0}, "a.dll readme photo.jpeg", ""},
        {{3, 0, 0}, "a.dll readme", ""},
        {{0xFFFFFFFF, 0, 0}, "a.dll readme", ""},
        // Files in ROM: HideROM 1 hides them even when the filter would show them.
        {{0, 0, 1}, "", "a.txt b.dll readme", Rom},
        {{0, 0, 2}, "a.txt b.dll", "", Rom},
        {{1, 0, 1}, "a.txt", "", FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
        store(c.settings);
        // Each name twice: the second answer comes from the filter's memory.
        FileFilter filter;
        for (int round = 0; round < 2; ++round) {
            for (const QString &name : QString(c.shown).split(' ', Qt::SkipEmptyParts))
                EXPECT_TRUE(filter.Passes(Record(name, c.attributes))) << name.toStdString();
            for (const QString &name : QString(c.hidden).split(' ', Qt::SkipEmptyParts))
                EXPECT_FALSE(filter.Passes(Record(name, c.attributes))) << name.toStdString();
        }
    }
    // The settings are read when a filter is made, once per folder load.
    store({0, 0, 0});
    FileFilter before;
    store({1, 0, 0});
    EXPECT_TRUE(before.Passes(Record("a.dll")));
    EXPECT_FALSE(FileFilter().Passes(Record("a.dll")));
}

TEST_F(FilterTest, DialogOpensWithTheStoredSettingsOkWritesTheChoicesAndCancelNothing)
{
    run([](CDialog &d) {
        EXPECT_EQ(d.windowTitle(), "Filter");
        EXPECT_EQ(d.size(), d.dluSize(136, 148));
        EXPECT_EQ((QStringList{radio(d, 1024)->text(), radio(d, 1025)->text(), radio(d, 1051)->text(),
                               hideRom(d)->text(), d.GetDlgItem<QPushButton>(1035)->text(),
                               d.GetDlgItem<QPushButton>(1012)->text()}),
                  (QStringList{"Show all files", "Hide these files :", "Show only :", "Hide files in ROM", "Ok", "Cancel"}));
        const auto labels = d.findChildren<QLabel *>();
        EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel *l) { return l->text() == ".dll, .cpl, .drv, .htp"; }));
        ASSERT_EQ(d.findChildren<QGroupBox *>().size(), 1);
        EXPECT_EQ(d.findChildren<QGroupBox *>().first()->title(), "File filter settings");
        QStringList items;
        for (int i = 0; i < combo(d)->count(); ++i)
            items << combo(d)->itemText(i);
        EXPECT_EQ(items, (QStringList{"Docs (doc;txt;psw;pwd;pxl;xls)", "Executables (exe)",
                                      "Images (2bp;bmp;jpg;gif;pcx;tif)", "Internet (html;htm;url;xml;xsl)"}));
        // The radios switch the category box.
        click(d, 1051);
        EXPECT_TRUE(combo(d)->isEnabled());
        click(d, 1025);
        EXPECT_FALSE(combo(d)->isEnabled());
    });

    const struct {
        FilterValues values;
        int checkedRadio; // control id, 0 for none
        int selection;
        bool comboEnabled, romChecked;
    } cases[] = {
        {{None, None, None}, 1024, 0, false, false},
        {{1, 3, 1}, 1025, 3, false, true}, // hide system types
        {{2, 2, 0}, 1051, 2, true, false}, // show only images
        {{7, 9, 0}, 0, -1, false, false},  // values out of range
    };
    for (const auto &c : cases) {
        store(c.values);
        run([&](CDialog &d) {
            for (int id : {1024, 1025, 1051})
                EXPECT_EQ(radio(d, id)->isChecked(), id == c.checkedRadio) << id;
            EXPECT_EQ(combo(d)->currentIndex(), c.selection);
            EXPECT_EQ(combo(d)->isEnabled(), c.comboEnabled);
            EXPECT_EQ(hideRom(d)->isChecked(), c.romChecked);
        });
    }
    // Ok writes the choices, Cancel nothing.
    const struct {
        const char *what;
        FilterValues before;
        std::function<void(CDialog &)> act;
        int result;
        FilterValues after;
    } answers[] = {
        {"cancel", {}, [](CDialog &d) { click(d, 1051); combo(d)->setCurrentIndex(2); click(d, CFilterDlg::IDC_CANCEL); },
         0, {}},
        {"choices", {}, [](CDialog &d) {
             click(d, 1051);
             combo(d)->setCurrentIndex(1);
             click(d, CFilterDlg::IDC_HIDE_ROM);
             click(d, CFilterDlg::IDC_OK);
         }, 1, {2, 1, 1}},
        {"nothing chosen", {9, 7, 0}, [](CDialog &d) { click(d, CFilterDlg::IDC_OK); }, 1, {0xFFFFFFFF, 0xFFFFFFFF, 0}},
        {"selection of a disabled box", {2, 3, 0}, [](CDialog &d) { click(d, 1025); click(d, CFilterDlg::IDC_OK); },
         1, {1, 3, 0}},
    };
    for (const auto &c : answers) {
        store(c.before);
        EXPECT_EQ(run(c.act), c.result) << c.what;
        EXPECT_EQ(stored(), c.after) << c.what;
    }
}

} // namespace
