// The properties dialog: sizes, free space, attribute write-back, and Register/Unregister of real libraries.
#include "HostFile.h"
#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "filetypes/CFilePropertiesDlg.h"
#include "platform/Files.h"
#include "platform/Modules.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Dlg = CFilePropertiesDlg;

class CFilePropertiesDlgTest : public WithQtApp, public ::testing::Test
{
protected:
    // Opens path's dialog as the new `dialog`, lets act work on it, and closes it with OK unless act did.
    void show(const QString &path, const std::function<void(Dlg &)> &act = {})
    {
        dialog = std::make_unique<Dlg>();
        ScopedModalHook hook([&](CDialog &) {
            if (act)
                act(*dialog);
            if (dialog->isVisible())
                QTest::mouseClick(dialog->GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
        });
        EXPECT_EQ(dialog->ShowProperties(path), IDOK);
    }
    QStringList texts(std::initializer_list<int> ids) const
    {
        QStringList shown;
        for (int id : ids)
            shown << dialog->GetDlgItem<QLabel>(id)->text();
        return shown;
    }
    static void click(CDialog &open, int id) { open.GetDlgItem<QAbstractButton>(id)->click(); }
    static QString library(const char *variant) { return QString(SELFREG_DIR "/libselfreg_%1.so").arg(variant); }

    TempDevice device;
    ScriptedSink sink;
    std::unique_ptr<Dlg> dialog;
};

} // namespace

TEST_F(CFilePropertiesDlgTest, FolderSizesTheirThreeRangesFreeSpaceAndFileSizes)
{
    device.make({"\\Empty\\", "\\Tree\\Sub\\Deeper\\c.txt"});
    device.writeFile("\\Tree\\a.txt", QByteArray(1000, 'a'));
    device.writeFile("\\Tree\\Sub\\b.txt", QByteArray(23, 'b'));
    // A link back up the tree is not walked again.
    ASSERT_TRUE(QFile::link(device.host("\\Tree"), device.host("\\Tree\\Sub\\loop")));
    EXPECT_EQ(std::vector({Dlg::FolderSize("\\Tree"), Dlg::FolderSize("\\Empty\\"), Dlg::FolderSize("\\Missing")}),
              std::vector({1024.0, 0.0, 0.0}));
    for (const auto &[size, text] : {std::pair{1023.0, "1023b"}, {1024.0, "1.0Kb (1024b)"},
                                     {1048575.0, "1024.0Kb (1048575b)"}, {1048576.0, "1.0Mb  (1048576b)"}})
        EXPECT_EQ(Dlg::FolderSizeText(size), text);
    show("\\Tree\\");
    EXPECT_EQ(texts({Dlg::IDC_FILENAME, Dlg::IDC_SIZE}) << dialog->path, QStringList({"Tree", "1.0Kb (1024b)", "\\Tree"}));
    EXPECT_TRUE(dialog->GetDlgItem<QCheckBox>(1002)->isChecked());
    // The free space of the real store.
    const QStorageInfo host(device.host("\\Tree"));
    const QString free = texts({Dlg::IDC_FREE}).value(0);
    EXPECT_TRUE(QRegularExpression("^A\\d+\\.\\dMb T\\d+\\.\\dMb F\\d+\\.\\dMb$").match(free).hasMatch()) << free.toStdString();
    EXPECT_TRUE(free.contains(QString::asprintf(" T%.1fMb ", double(host.bytesTotal()) / 1048576)));
    // Found by a pattern, but no name the free-space query takes.
    show("\\Tre?");
    EXPECT_EQ(texts({Dlg::IDC_FILENAME, Dlg::IDC_FREE}), QStringList({"Tre?", "Unable to obtain"}));
    // Files show bytes, and the library buttons by extension.
    device.writeFile("\\LIB.Dll", QByteArray(5, 'x'));
    device.make({"\\.dll", "\\lib.dl_"}, QByteArray());
    for (const auto &[path, buttons, size] :
         {std::tuple{"\\LIB.Dll", true, "5 bytes"}, {"\\.dll", false, "0 bytes"}, {"\\lib.dl_", false, "0 bytes"}}) {
        SCOPED_TRACE(path);
        show(path, [&](Dlg &open) {
            EXPECT_EQ(open.GetDlgItem(Dlg::IDC_REGISTER)->isVisible(), buttons);
            EXPECT_EQ(open.GetDlgItem(Dlg::IDC_UNREGISTER)->isVisible(), buttons);
        });
        EXPECT_EQ(texts({Dlg::IDC_SIZE, Dlg::IDC_FREE}), QStringList({size, ""}));
        EXPECT_FALSE(dialog->attributesChanged);
    }
    show("\\gone.txt");
    EXPECT_EQ(texts({Dlg::IDC_FILENAME, Dlg::IDC_CREATED}), QStringList({"gone.txt", ""}));
    EXPECT_EQ(dialog->initialAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(dialog->attributesChanged);
}

TEST_F(CFilePropertiesDlgTest, AttributeWriteBackAndRegisterCallingTheLibraryTheSearchOrderFinds)
{
    // In ROM, any write would fail with a box: none may come unless one is written.
    device.make({"\\rom.txt", "\\plain.txt"});
    device.putInRom("\\rom.txt");
    ASSERT_TRUE(SetFileAttributesW(u"\\plain.txt", FILE_ATTRIBUTE_ARCHIVE));
    show("\\rom.txt");
    EXPECT_FALSE(dialog->attributesChanged);
    show("\\rom.txt", [&](Dlg &open) {
        click(open, 1003);
        click(open, 1003);
        click(open, 1008); // in ROM is fixed: a tap does not toggle it
        EXPECT_TRUE(open.GetDlgItem<QCheckBox>(1008)->isChecked());
    });
    EXPECT_FALSE(dialog->attributesChanged);
    sink.expect("Failed to change attributes", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    show("\\rom.txt", [&](Dlg &open) { click(open, 1005); });
    EXPECT_TRUE(dialog->attributesChanged);
    show("\\plain.txt", [](Dlg &open) { open.initialAttributes |= FILE_ATTRIBUTE_NORMAL; });
    EXPECT_TRUE(dialog->attributesChanged);
    EXPECT_EQ(GetFileAttributesW(u"\\plain.txt"), FILE_ATTRIBUTE_ARCHIVE);
    show("\\plain.txt", [&](Dlg &open) {
        click(open, 1003);
        click(open, 1005);
        click(open, 1004);
    });
    EXPECT_TRUE(dialog->attributesChanged);
    EXPECT_EQ(GetFileAttributesW(u"\\plain.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    // Register and Unregister call the library the search order finds.
    const struct { const char *path, *variant, *result; } rows[] = {
        {"\\Program Files\\Quillmoss\\first.dll", "ok", "succeeded"}, // before \Windows\first.dll
        {"\\Windows\\ok.dll", "ok", "succeeded"},
        {"\\fail.dll", "fail", "FAILED"}, {"\\none.dll", "none", "FAILED"},
        {"\\My Documents\\away.dll", "ok", "FAILED"}, // outside the search order
        {"\\Windows\\outside.dll", nullptr, "FAILED"}, // a link off the device
    };
    for (const auto &row : rows) {
        if (row.variant)
            device.writeFile(row.path, readHost(library(row.variant)));
    }
    device.writeFile("\\Windows\\first.dll", readHost(library("fail")));
    ASSERT_TRUE(QFile::link(library("ok"), device.host("\\Windows\\outside.dll")));
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        const QString name = QString(row.path).section('\\', -1);
        for (const char *call : {"DllRegisterServer", "DllUnregisterServer"})
            sink.expect(QString("%1 in %2 %3.").arg(call, name, row.result), "Quillmoss", MB_OK, IDOK);
        show(row.path, [&](Dlg &open) {
            click(open, Dlg::IDC_REGISTER);
            click(open, Dlg::IDC_UNREGISTER);
            EXPECT_TRUE(open.isRunning());
        });
        EXPECT_EQ(sink.pending(), 0);
        EXPECT_EQ(sink.lastOwner(), dialog.get());
    }
}

