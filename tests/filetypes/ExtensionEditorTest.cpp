// The extension editor: the registry layout it writes, its questions, the list, and classes shared by two extensions.
#include "../list/QtPrinters.h"
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CRegisterExtDlg.h"
#include "settings/CRegistryAccess.h"
#include "settings/CRegistryKey.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString Replace = "Extension already registered. Do you want to continue and remove the old association?";
const QString Delete = "Delete selected extension?";

void set(const QString &key, const QString &value) { CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, key, {}, value); }

class ExtensionEditorTest : public WithQtApp, public ::testing::Test
{
protected:
    // The keys and values below HKEY_CLASSES_ROOT\key as sorted "path|name|value" lines.
    static QStringList dump(const QString &key)
    {
        QStringList lines;
        CRegistryKey open;
        QString name, text;
        RegEntryKind kind;
        DWORD number = 0;
        for (HRESULT r = open.Open("HKEY_CLASSES_ROOT\\" + key, false) == S_OK ? open.EnumFirst(&name, &kind) : S_FALSE;
             r == S_OK; r = open.EnumNext(&name, &kind)) {
            if (kind == RegKindSubKey)
                lines << dump(key + "\\" + name);
            else if (open.ReadString(name, &text) == S_OK || open.ReadDword(name, &number) == S_OK)
                lines << key + "|" + name + "|" + (kind == RegKindDword ? QString::number(number, 16) : text);
        }
        lines.sort();
        return lines;
    }
    // Types into a running register dialog and presses Register; cancels it when it stays open.
    static void fill(CDialog &dialog, const QStringList &fields)
    {
        for (int i = 0; i < 3; ++i)
            dialog.GetDlgItem<QLineEdit>(QList{1009, 1046, 1010}[i])->setText(fields[i]);
        dialog.GetDlgItem<QPushButton>(IDOK)->click();
        if (dialog.isVisible())
            dialog.EndDialog(IDCANCEL);
    }
    int registerExt(const QStringList &fields, bool editMode = false)
    {
        CRegisterExtDlg dialog;
        dialog.editMode = editMode;
        ScopedModalHook hook([&](CDialog &d) { fill(d, fields); });
        return dialog.DoModal();
    }

    TempDevice device;
    ScriptedSink sink;
};

TEST_F(ExtensionEditorTest, RegisterAsksBeforeReplacingAndTheListEditsAndDeletesKeepingSharedClasses)
{
    const QStringList txt = {".txt||txtfile", "txtfile\\DefaultIcon||\\Windows\\pword.exe, 0",
                             "txtfile\\Shell\\Open\\Command||\\Windows\\pword.exe %1", "txtfile|EditFlags|10000",
                             "txtfile||Text"};
    CRegisterExtDlg typed;
    ScopedModalHook typing([&](CDialog &d) { fill(d, {".txt", "Text", "\\Windows\\pword.exe"}); });
    EXPECT_EQ(typed.DoModal(), IDOK);
    EXPECT_EQ(typed.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text(), QString("txt"));
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);
    sink.expect(Replace, "Quillmoss", MB_YESNO, IDNO);
    EXPECT_EQ(registerExt({"txt", "Other", "other.exe"}), IDCANCEL);
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);
    set(".txt", "legacy"); // Edit replaces without asking, and the old class goes
    set("legacy\\Shell\\Open\\Command", "old.exe %1");
    EXPECT_EQ(registerExt({"txt", "Other", "other.exe"}, true), IDOK);
    EXPECT_EQ(dump("txtfile").last(), QString("txtfile||Other"));
    EXPECT_EQ(dump("legacy"), QStringList{});
    sink.expect(Replace, "Quillmoss", MB_YESNO, IDYES);
    EXPECT_EQ(registerExt({"txt", "Text", "\\Windows\\pword.exe"}), IDOK);
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);
    for (const char *extension : {"", "."})
        sink.expect("Please fill-in a file extension", "Quillmoss", MB_OK, IDOK), registerExt({extension, "", "a.exe"});
    sink.expect("Please fill-in the application path", "Quillmoss", MB_OK, IDOK);
    EXPECT_EQ(registerExt({"new", "x", ""}), IDCANCEL);
    EXPECT_EQ(dump(".new"), QStringList{});
    // The list shows and sorts the extensions, edits them, and deletes them keeping shared classes.
    for (const auto &[key, value] : {std::pair{".zip", "zipfile"}, {"zipfile", "Archive"},
                                     {"zipfile\\Shell\\Open\\Command", "\\Program Files\\Un Zip\\uz.exe %1"},
                                     {".Bmp", "bmpfile"}, {"bmpfile\\Shell\\Open\\Command", "\\Windows\\paint.exe"},
                                     {".jpg", "jpegfile"}, {".jpeg", "jpegfile"}, {"jpegfile", "JPEG Image"},
                                     {"notanext", "ignored"}})
        set(key, value);
    CExtensionsDlg dialog;
    ScopedModalHook hook([&](CDialog &running) {
        if (&running != &dialog) // Edit on jpg, then New
            return fill(running, {running.GetDlgItem<QLineEdit>(1009)->text().isEmpty() ? "abc" : "jpg", "Mine", "m.exe"});
        auto *list = dialog.GetDlgItem<QTreeWidget>(CExtensionsDlg::IDC_LIST);
        auto *edit = dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_EDIT);
        auto *remove = dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_DELETE);
        const auto rows = [list] {
            QStringList texts;
            for (QTreeWidgetItem *row : list->findItems("*", Qt::MatchWildcard))
                texts << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
            return texts;
        };
        EXPECT_EQ(list->headerItem()->text(0) + list->headerItem()->text(1), QString("ExtensionsFile Types"));
        EXPECT_EQ(list->header()->sectionSize(2), 0);
        EXPECT_EQ(rows(), (QStringList{"Bmp|bmpfile|\\Windows\\paint.exe", "jpeg|JPEG Image|", "jpg|JPEG Image|",
                                       "txt|Text|\\Windows\\pword.exe", "zip|Archive|\\Program Files\\Un Zip\\uz.exe"}));
        EXPECT_FALSE(list->topLevelItem(0)->icon(0).isNull());
        EXPECT_FALSE(edit->isEnabled() || remove->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
        EXPECT_TRUE(edit->isEnabled() && remove->isEnabled());
        edit->click();
        dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_NEW)->click();
        EXPECT_EQ(dump("jpegfile"), QStringList{"jpegfile||JPEG Image"}) << ".jpeg still names it";
        EXPECT_EQ(rows().mid(0, 4), (QStringList{"abc|Mine|m.exe", "Bmp|bmpfile|\\Windows\\paint.exe",
                                                 "jpeg|JPEG Image|", "jpg|Mine|m.exe"}));
        for (int answer : {IDNO, IDYES}) { // jpeg: now the last extension of jpegfile
            list->setCurrentItem(list->topLevelItem(2));
            sink.expect(Delete, "Quillmoss", MB_YESNO, answer);
            remove->click();
        }
        EXPECT_EQ(dump(".jpeg") + dump("jpegfile"), QStringList{});
        CRegistryAccess().DeleteKey(HKEY_CLASSES_ROOT, ".zip"); // someone else removed it: only the row goes
        list->setCurrentItem(list->topLevelItem(4));
        sink.expect(Delete, "Quillmoss", MB_YESNO, IDYES);
        remove->click();
        EXPECT_EQ(rows().size(), 4);
        EXPECT_EQ(dump("zipfile").size(), 2);
        EXPECT_EQ(sink.lastOwner(), static_cast<QWidget *>(&dialog));
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(sink.waitCount(), 1);
}

} // namespace
