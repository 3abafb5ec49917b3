// The Filter dialog: what it shows from the registry and what Ok and Cancel write.
#include "FileListViewFixture.h"

#include "list/CFilterDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace {

using FilterValues = std::array<std::optional<DWORD>, 3>; // MainFilter, SubFilter, HideROM

class FilterDlgTest : public ::testing::Test
{
protected:
    const QString names[3] = {RegistryLayout::MainFilter, RegistryLayout::SubFilter, RegistryLayout::HideROM};

    void store(const FilterValues &values)
    {
        CRegistryAccess registry;
        for (int i = 0; i < 3; ++i)
            if (values[i])
                registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, names[i], *values[i]);
    }

    FilterValues stored()
    {
        FilterValues values;
        for (int i = 0; i < 3; ++i) {
            DWORD value = 0;
            if (CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, names[i], value) == 0)
                values[i] = value;
        }
        return values;
    }

    // Runs the dialog modally; act sees it open and initialised.
    int run(const std::function<void(CDialog &)> &act)
    {
        ScopedModalHook hook(act);
        CFilterDlg dialog;
        return dialog.DoModal();
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

    QCoreApplication *m_app = listTestApp();
    TempDevice m_device;
    ScriptedSink m_sink;
};

TEST_F(FilterDlgTest, ControlsAndSortedCategories)
{
    run([](CDialog &d) {
        EXPECT_EQ(d.windowTitle(), "Filter");
        EXPECT_EQ(d.size(), d.dluSize(136, 148));
        EXPECT_EQ(radio(d, 1024)->text(), "Show all files");
        EXPECT_EQ(radio(d, 1025)->text(), "Hide these files :");
        EXPECT_EQ(radio(d, 1051)->text(), "Show only :");
        EXPECT_EQ(hideRom(d)->text(), "Hide files in ROM");
        EXPECT_EQ(d.GetDlgItem<QPushButton>(1035)->text(), "Ok");
        EXPECT_EQ(d.GetDlgItem<QPushButton>(1012)->text(), "Cancel");
        QStringList texts;
        for (QLabel *label : d.findChildren<QLabel *>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(".dll, .cpl, .drv, .htp"));
        ASSERT_EQ(d.findChildren<QGroupBox *>().size(), 1);
        EXPECT_EQ(d.findChildren<QGroupBox *>().first()->title(), "File filter settings");
        QStringList items;
        for (int i = 0; i < combo(d)->count(); ++i)
            items << combo(d)->itemText(i);
        EXPECT_EQ(items, (QStringList{"Docs (doc;txt;psw;pwd;pxl;xls)", "Executables (exe)",
                                      "Images (2bp;bmp;jpg;gif;pcx;tif)", "Internet (html;htm;url;xml;xsl)"}));
    });
}

TEST_F(FilterDlgTest, OpensWithTheStoredSettings)
{
    const struct {
        FilterValues values;
        int checkedRadio; // control id, 0 for none
        int selection;
        bool comboEnabled, romChecked;
    } cases[] = {
        {{std::nullopt, std::nullopt, std::nullopt}, 1024, 0, false, false},
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
}

TEST_F(FilterDlgTest, RadiosSwitchTheCategoryBox)
{
    run([](CDialog &d) {
        click(d, 1051);
        EXPECT_TRUE(combo(d)->isEnabled());
        click(d, 1025);
        EXPECT_FALSE(combo(d)->isEnabled());
        click(d, 1051);
        click(d, 1024);
        EXPECT_FALSE(combo(d)->isEnabled());
    });
}

TEST_F(FilterDlgTest, OkWritesTheChoicesAndCancelNothing)
{
    const struct {
        const char *what;
        FilterValues before;
        std::function<void(CDialog &)> act;
        int result;
        FilterValues after;
    } cases[] = {
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
    for (const auto &c : cases) {
        store(c.before);
        EXPECT_EQ(run(c.act), c.result) << c.what;
        EXPECT_EQ(stored(), c.after) << c.what;
    }
}

} // namespace
