// The properties dialog on a test device: sizes, free space, the attribute
// write-back rules, and Register/Unregister against real libraries.
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
#include <sys/xattr.h>

namespace {

class CFilePropertiesDlgTest : public WithQtApp, public ::testing::Test
{
protected:
    // Opens path's dialog, lets act work on it, and closes it with OK unless act did.
    int show(CFilePropertiesDlg &dialog, const QString &path, const std::function<void(CFilePropertiesDlg &)> &act = {})
    {
        ScopedModalHook hook([&](CDialog &) {
            if (act)
                act(dialog);
            if (dialog.isVisible())
                QTest::mouseClick(dialog.GetDlgItem<QPushButton>(IDOK), Qt::LeftButton);
        });
        return dialog.ShowProperties(path);
    }
    static QString text(CDialog &dialog, int id) { return dialog.GetDlgItem<QLabel>(id)->text(); }
    static void click(CDialog &dialog, int id) { dialog.GetDlgItem<QAbstractButton>(id)->click(); }
    void markInRom(const QString &path)
    {
        ASSERT_EQ(::setxattr(QFile::encodeName(device.host(path)).constData(), "user.DOSATTRIB", "0x40", 4, 0), 0);
    }
    static QString library(const char *variant) { return QStringLiteral(SELFREG_DIR "/libselfreg_%1.so").arg(variant); }
    void store(const QString &devicePath, const char *variant)
    {
        QFile source(library(variant));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        device.writeFile(devicePath, source.readAll());
    }

    TempDevice device;
    ScriptedSink sink;
};

} // namespace

TEST_F(CFilePropertiesDlgTest, FolderSizesTheirThreeRangesAndFreeSpace)
{
    device.make({"\\Empty\\", "\\Tree\\Sub\\Deeper\\"});
    device.writeFile("\\Tree\\a.txt", QByteArray(1000, 'a'));
    device.writeFile("\\Tree\\Sub\\b.txt", QByteArray(23, 'b'));
    device.writeFile("\\Tree\\Sub\\Deeper\\c.txt", QByteArray(1, 'c'));
    // A link back up the tree is not walked again.
    ASSERT_TRUE(QFile::link(device.host("\\Tree"), device.host("\\Tree\\Sub\\loop")));
    EXPECT_EQ(CFilePropertiesDlg::FolderSize("\\Tree"), 1024.0);
    EXPECT_EQ(CFilePropertiesDlg::FolderSize("\\Empty\\"), 0.0);
    EXPECT_EQ(CFilePropertiesDlg::FolderSize("\\Missing"), 0.0);

    const struct { double size; const char *text; } ranges[] = {
        {1023, "1023b"}, {1024, "1.0Kb (1024b)"}, {1048575, "1024.0Kb (1048575b)"}, {1048576, "1.0Mb  (1048576b)"},
    };
    for (const auto &range : ranges)
        EXPECT_EQ(CFilePropertiesDlg::FolderSizeText(range.size), range.text);

    CFilePropertiesDlg dialog;
    show(dialog, "\\Tree\\");
    EXPECT_EQ(dialog.path, "\\Tree");
    EXPECT_EQ(text(dialog, CFilePropertiesDlg::IDC_FILENAME), "Tree");
    EXPECT_EQ(text(dialog, CFilePropertiesDlg::IDC_SIZE), "1.0Kb (1024b)");
    EXPECT_TRUE(dialog.GetDlgItem<QCheckBox>(1002)->isChecked());
    // The free space of the real store.
    const QStorageInfo host(device.host("\\Tree"));
    const QString free = text(dialog, CFilePropertiesDlg::IDC_FREE);
    EXPECT_TRUE(QRegularExpression("^A\\d+\\.\\dMb T\\d+\\.\\dMb F\\d+\\.\\dMb$").match(free).hasMatch()) << free.toStdString();
    EXPECT_TRUE(free.contains(QString::asprintf(" T%.1fMb ", double(host.bytesTotal()) / 1048576)));

    // Found by a pattern, but no name the free-space query takes.
    CFilePropertiesDlg wildcard;
    show(wildcard, "\\Tre?");
    EXPECT_EQ(text(wildcard, CFilePropertiesDlg::IDC_FILENAME), "Tre?");
    EXPECT_EQ(text(wildcard, CFilePropertiesDlg::IDC_FREE), "Unable to obtain");
}

TEST_F(CFilePropertiesDlgTest, FilesShowBytesTimesAndTheLibraryButtonsByExtension)
{
    device.writeFile("\\LIB.Dll", QByteArray(5, 'x'));
    device.make({"\\.dll", "\\lib.dl_"}, QByteArray());
    const struct { const char *path; bool buttons; const char *size; } files[] = {
        {"\\LIB.Dll", true, "5 bytes"}, {"\\.dll", false, "0 bytes"}, {"\\lib.dl_", false, "0 bytes"},
    };
    for (const auto &file : files) {
        SCOPED_TRACE(file.path);
        CFilePropertiesDlg dialog;
        show(dialog, file.path, [&](CFilePropertiesDlg &open) {
            EXPECT_EQ(open.GetDlgItem(CFilePropertiesDlg::IDC_REGISTER)->isVisible(), file.buttons);
            EXPECT_EQ(open.GetDlgItem(CFilePropertiesDlg::IDC_UNREGISTER)->isVisible(), file.buttons);
        });
        EXPECT_EQ(text(dialog, CFilePropertiesDlg::IDC_SIZE), file.size);
        EXPECT_EQ(text(dialog, CFilePropertiesDlg::IDC_FREE), "");
        EXPECT_FALSE(dialog.attributesChanged);
    }

    CFilePropertiesDlg missing;
    show(missing, "\\gone.txt");
    EXPECT_EQ(text(missing, CFilePropertiesDlg::IDC_FILENAME), "gone.txt");
    EXPECT_EQ(text(missing, CFilePropertiesDlg::IDC_CREATED), "");
    EXPECT_EQ(missing.initialAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(missing.attributesChanged);
}

TEST_F(CFilePropertiesDlgTest, AttributeWriteBack)
{
    // In ROM, any write would fail with a box: none may come unless one is written.
    device.make({"\\rom.txt", "\\plain.txt"});
    markInRom("\\rom.txt");
    ASSERT_TRUE(SetFileAttributesW(u"\\plain.txt", FILE_ATTRIBUTE_ARCHIVE));
    CFilePropertiesDlg unchanged;
    EXPECT_EQ(show(unchanged, "\\rom.txt"), IDOK);
    EXPECT_FALSE(unchanged.attributesChanged);
    CFilePropertiesDlg toggledBack;
    show(toggledBack, "\\rom.txt", [&](CFilePropertiesDlg &open) {
        click(open, 1003);
        click(open, 1003);
        click(open, 1008); // in ROM is fixed: a tap does not toggle it
        EXPECT_TRUE(open.GetDlgItem<QCheckBox>(1008)->isChecked());
    });
    EXPECT_FALSE(toggledBack.attributesChanged);

    CFilePropertiesDlg failed;
    sink.expect("Failed to change attributes", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_EQ(show(failed, "\\rom.txt", [&](CFilePropertiesDlg &open) { click(open, 1005); }), IDOK);
    EXPECT_TRUE(failed.attributesChanged);

    CFilePropertiesDlg foreign;
    show(foreign, "\\plain.txt", [](CFilePropertiesDlg &open) { open.initialAttributes |= FILE_ATTRIBUTE_NORMAL; });
    EXPECT_TRUE(foreign.attributesChanged);
    EXPECT_EQ(GetFileAttributesW(u"\\plain.txt"), FILE_ATTRIBUTE_ARCHIVE);

    CFilePropertiesDlg written;
    show(written, "\\plain.txt", [&](CFilePropertiesDlg &open) {
        click(open, 1003);
        click(open, 1005);
        click(open, 1004);
    });
    EXPECT_TRUE(written.attributesChanged);
    EXPECT_EQ(GetFileAttributesW(u"\\plain.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

TEST_F(CFilePropertiesDlgTest, RegisterAndUnregisterCallTheLibraryTheSearchOrderFinds)
{
    const struct { const char *path, *variant, *result; } rows[] = {
        {"\\Program Files\\Quillmoss\\first.dll", "ok", "succeeded"}, // before \Windows\first.dll
        {"\\Windows\\ok.dll", "ok", "succeeded"},
        {"\\fail.dll", "fail", "FAILED"},
        {"\\none.dll", "none", "FAILED"},
        {"\\My Documents\\away.dll", "ok", "FAILED"}, // outside the search order
        {"\\Windows\\outside.dll", nullptr, "FAILED"}, // a link off the device
    };
    for (const auto &row : rows) {
        if (row.variant)
            store(row.path, row.variant);
    }
    store("\\Windows\\first.dll", "fail");
    ASSERT_TRUE(QFile::link(library("ok"), device.host("\\Windows\\outside.dll")));
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        const QString name = QString(row.path).section('\\', -1);
        for (const char *call : {"DllRegisterServer", "DllUnregisterServer"})
            sink.expect(QStringLiteral("%1 in %2 %3.").arg(call, name, row.result), "Quillmoss", MB_OK, IDOK);
        CFilePropertiesDlg dialog;
        show(dialog, row.path, [&](CFilePropertiesDlg &open) {
            click(open, CFilePropertiesDlg::IDC_REGISTER);
            click(open, CFilePropertiesDlg::IDC_UNREGISTER);
            EXPECT_TRUE(open.isRunning());
        });
        EXPECT_EQ(sink.pending(), 0);
        EXPECT_EQ(sink.lastOwner(), &dialog);
    }
}
