// The extension editor: the registry layout a registration writes, the
// questions before replacing and deleting, and the Extensions list.
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"
#include "../list/QtPrinters.h"

#include "settings/CRegistryAccess.h"
#include "settings/CRegistryKey.h"
#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CRegisterExtDlg.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString Replace = "Extension already registered. Do you want to continue and remove the old association?";

class ExtensionEditorTest : public WithQtApp, public ::testing::Test
{
protected:
    // Every key and value below HKEY_CLASSES_ROOT\key as "path|name|type|value" lines, sorted.
    QStringList dump(const QString &key)
    {
        QStringList lines;
        CRegistryKey open;
        if (open.Open("HKEY_CLASSES_ROOT\\" + key, false) != S_OK)
            return lines;
        QString name;
        RegEntryKind kind;
        QStringList subKeys;
        for (HRESULT r = open.EnumFirst(&name, &kind); r == S_OK; r = open.EnumNext(&name, &kind)) {
            if (kind == RegKindSubKey) {
                subKeys << name;
                continue;
            }
            QString text;
            DWORD number = 0;
            if (open.ReadString(name, &text) == S_OK)
                lines << key + "|" + name + "|SZ|" + text;
            else if (open.ReadDword(name, &number) == S_OK)
                lines << key + "|" + name + "|DWORD|" + QString::number(number, 16);
        }
        for (const QString &sub : subKeys)
            lines << dump(key + "\\" + sub);
        lines.sort();
        return lines;
    }
    bool exists(const QString &key) { return CRegistryKey().Open("HKEY_CLASSES_ROOT\\" + key, false) == S_OK; }
    void setDefault(const QString &key, const QString &value)
    {
        CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, key, QString(), value);
    }
    // Types the fields into a running register dialog and presses Register.
    static void fill(CDialog &dialog, const QString &extension, const QString &description, const QString &openWith)
    {
        dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->setText(extension);
        dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_DESCRIPTION)->setText(description);
        dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_OPEN_WITH)->setText(openWith);
        dialog.GetDlgItem<QPushButton>(IDOK)->click();
    }
    int registerExt(const QString &extension, const QString &description, const QString &openWith,
                    bool editMode = false)
    {
        CRegisterExtDlg dialog;
        dialog.editMode = editMode;
        ScopedModalHook hook([&](CDialog &d) {
            fill(d, extension, description, openWith);
            fieldAfterOk = dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text();
            if (dialog.isVisible()) // stayed open
                dialog.EndDialog(IDCANCEL);
        });
        return dialog.DoModal();
    }
    QStringList rows(QTreeWidget &list)
    {
        QStringList texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const QTreeWidgetItem *row = list.topLevelItem(i);
            texts << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
        }
        return texts;
    }

    TempDevice device;
    ScriptedSink sink;
    QString fieldAfterOk;
};

TEST_F(ExtensionEditorTest, RegisterWritesTheLayoutAndAsksBeforeReplacing)
{
    const QStringList txt = {
        ".txt||SZ|txtfile",
        "txtfile\\DefaultIcon||SZ|\\Windows\\pword.exe, 0",
        "txtfile\\Shell\\Open\\Command||SZ|\\Windows\\pword.exe %1",
        "txtfile|EditFlags|DWORD|10000",
        "txtfile||SZ|Text",
    };
    EXPECT_EQ(registerExt(".txt", "Text", "\\Windows\\pword.exe"), IDOK);
    EXPECT_EQ(fieldAfterOk, QString("txt"));
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);

    // From New: asked; No keeps everything and the dialog open.
    sink.expect(Replace, "Quillmoss", MB_YESNO, IDNO);
    EXPECT_EQ(registerExt("txt", "Other", "\\Windows\\other.exe"), IDCANCEL);
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);
    sink.expect(Replace, "Quillmoss", MB_YESNO, IDYES);
    EXPECT_EQ(registerExt("txt", "", "\\Windows\\other.exe"), IDOK);
    EXPECT_EQ(dump("txtfile"), (QStringList{"txtfile\\DefaultIcon||SZ|\\Windows\\other.exe, 0",
                                            "txtfile\\Shell\\Open\\Command||SZ|\\Windows\\other.exe %1",
                                            "txtfile|EditFlags|DWORD|10000", "txtfile||SZ|"}));
    // From Edit: replaced without a question; an old class of another name goes.
    setDefault(".txt", "legacy");
    setDefault("legacy\\Shell\\Open\\Command", "old.exe %1");
    EXPECT_EQ(registerExt("txt", "Text", "\\Windows\\pword.exe", true), IDOK);
    EXPECT_EQ(dump(".txt") + dump("txtfile"), txt);
    EXPECT_FALSE(exists("legacy"));

    for (const char *extension : {"", "."}) {
        sink.expect("Please fill-in a file extension", "Quillmoss", MB_OK, IDOK);
        EXPECT_EQ(registerExt(extension, "x", "y.exe"), IDCANCEL);
    }
    sink.expect("Please fill-in the application path", "Quillmoss", MB_OK, IDOK);
    EXPECT_EQ(registerExt("new", "x", ""), IDCANCEL);
    EXPECT_FALSE(exists(".new"));
}

TEST_F(ExtensionEditorTest, ReplacingOrDeletingKeepsAClassAnotherExtensionNames)
{
    setDefault(".jpg", "jpegfile");
    setDefault(".jpeg", "jpegfile");
    setDefault("jpegfile", "JPEG Image");
    setDefault("jpegfile\\Shell\\Open\\Command", "viewer.exe %1");
    sink.expect(Replace, "Quillmoss", MB_YESNO, IDYES);
    EXPECT_EQ(registerExt("jpg", "Mine", "mine.exe"), IDOK);
    EXPECT_EQ(dump("jpegfile"), (QStringList{"jpegfile\\Shell\\Open\\Command||SZ|viewer.exe %1", "jpegfile||SZ|JPEG Image"}));

    CExtensionsDlg dialog;
    ScopedModalHook hook([&](CDialog &) {
        auto *list = dialog.GetDlgItem<QTreeWidget>(CExtensionsDlg::IDC_LIST);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
        ASSERT_EQ(list->topLevelItem(1)->text(0), QString("jpg"));
        sink.expect("Delete selected extension?", "Quillmoss", MB_YESNO, IDYES);
        dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_DELETE)->click();
        EXPECT_TRUE(exists("jpegfile")) << ".jpeg still names it";
        EXPECT_FALSE(exists(".jpg"));
        EXPECT_FALSE(exists("jpgfile"));
        sink.expect("Delete selected extension?", "Quillmoss", MB_YESNO, IDYES);
        list->setCurrentItem(list->topLevelItem(0));
        dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_DELETE)->click();
        EXPECT_EQ(rows(*list), QStringList{});
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_FALSE(exists(".jpeg"));
    EXPECT_FALSE(exists("jpegfile")) << "the last extension naming it is gone";
}

TEST_F(ExtensionEditorTest, ListShowsSortedRowsAndEditsAndDeletes)
{
    setDefault(".zip", "zipfile");
    setDefault("zipfile", "Archive");
    setDefault("zipfile\\Shell\\Open\\Command", "\\Program Files\\Un Zip\\uz.exe %1");
    setDefault(".Bmp", "bmpfile");
    setDefault("bmpfile\\Shell\\Open\\Command", "\\Windows\\paint.exe");
    setDefault(".txt", "txtfile");
    setDefault("txtfile", "Text");
    setDefault("txtfile\\Shell\\Open\\Command", "%1");
    setDefault("notanext", "ignored");
    CExtensionsDlg dialog;
    ScopedModalHook hook([&](CDialog &running) {
        if (&running != &dialog) { // the Edit and New dialogs
            fill(running, running.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text().isEmpty() ? "abc" : "txt",
                 "Plain", "\\Windows\\pword.exe");
            return;
        }
        auto *list = dialog.GetDlgItem<QTreeWidget>(CExtensionsDlg::IDC_LIST);
        auto *edit = dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_EDIT);
        auto *remove = dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_DELETE);
        EXPECT_EQ(list->headerItem()->text(0), QString("Extensions"));
        EXPECT_EQ(list->headerItem()->text(1), QString("File Types"));
        EXPECT_EQ(list->header()->sectionSize(2), 0);
        EXPECT_EQ(rows(*list), (QStringList{"Bmp|bmpfile|\\Windows\\paint.exe", "txt|Text|",
                                            "zip|Archive|\\Program Files\\Un Zip\\uz.exe"}));
        EXPECT_FALSE(list->topLevelItem(0)->icon(0).isNull());
        EXPECT_FALSE(edit->isEnabled());
        EXPECT_FALSE(remove->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
        EXPECT_TRUE(edit->isEnabled());
        EXPECT_TRUE(remove->isEnabled());

        edit->click(); // no question: edit mode
        dialog.GetDlgItem<QPushButton>(CExtensionsDlg::IDC_NEW)->click();
        EXPECT_EQ(rows(*list), (QStringList{"abc|Plain|\\Windows\\pword.exe", "Bmp|bmpfile|\\Windows\\paint.exe",
                                            "txt|Plain|\\Windows\\pword.exe",
                                            "zip|Archive|\\Program Files\\Un Zip\\uz.exe"}));

        // Someone else removed .zip meanwhile: only the row goes; No keeps the row.
        CRegistryAccess().DeleteKey(HKEY_CLASSES_ROOT, ".zip");
        list->setCurrentItem(list->topLevelItem(3));
        sink.expect("Delete selected extension?", "Quillmoss", MB_YESNO, IDNO);
        remove->click();
        EXPECT_EQ(list->topLevelItemCount(), 4);
        sink.expect("Delete selected extension?", "Quillmoss", MB_YESNO, IDYES);
        remove->click();
        EXPECT_EQ(list->topLevelItemCount(), 3);
        EXPECT_TRUE(exists("zipfile"));
        EXPECT_EQ(sink.lastOwner(), static_cast<QWidget *>(&dialog));
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(sink.waitCount(), 1);
}

} // namespace
