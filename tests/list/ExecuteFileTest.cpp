// Opening files from the list: a double tap really starts the program the
// file's type names, without waiting for it; the failure message; the offer
// to register a type without an open command.
#include "FileListViewFixture.h"

#include "filetypes/CRegisterExtDlg.h"
#include "list/CFileListCtrl.h"

#include <QLineEdit>
#include <QThread>

namespace {

class ExecuteFileTest : public FileListViewFixture
{
protected:
    bool waitFor(const QString &name)
    {
        for (int i = 0; i < 400 && !QFile::exists(m_device.dir() + name); ++i)
            QThread::msleep(50);
        return QFile::exists(m_device.dir() + name);
    }
    void doubleTap(const QString &path)
    {
        m_device.make({path});
        m_list.ShowFolder(path.section('\\', 0, -2), true);
        const QRect rect = m_list.visualRect(m_list.model()->index(rows().indexOf(path.section('\\', -1)), 0));
        QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, rect.center());
    }
    void setCommand(const QString &command)
    {
        CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".rec\\Shell\\Open\\Command", QString(), command);
    }
};

TEST_F(ExecuteFileTest, DoubleTapStartsTheProgramAndReportsOneThatCannotStart)
{
    const QString helper = qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests/recordargs";
    m_device.writeFile("\\Windows\\recorder.exe", "#!/bin/sh\nexec '" + QFile::encodeName(helper) + "' \"$@\"\n");
    QFile::setPermissions(m_device.host("\\Windows\\recorder.exe"), QFile::ReadOwner | QFile::ExeOwner);
    setCommand("recorder.exe -open \"%1\"");
    doubleTap("\\My Documents\\a b.rec");
    ASSERT_TRUE(waitFor("/recorded"));
    EXPECT_FALSE(QFile::exists(m_device.dir() + "/done")) << "still running: nobody waited for it";
    QFile record(m_device.dir() + "/recorded");
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = record.readAll().split('\n');
    EXPECT_EQ(lines.mid(0, 3), (QList<QByteArray>{"-open", "\\My Documents\\a b.rec", "--"}));
    EXPECT_TRUE(lines.contains("QUILLMOSS_DEVICE=" + QFile::encodeName(m_device.dir())));
    QFile(m_device.dir() + "/release").open(QIODevice::WriteOnly);
    EXPECT_TRUE(waitFor("/done"));

    setCommand("missing.exe -x %1");
    m_sink.expect("Failed to execute missing.exe -x \\c.rec", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    doubleTap("\\c.rec");
    setCommand("\\c.rec"); // a device file the host cannot run
    m_sink.expect("Failed to execute \\c.rec ", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_FALSE(m_list.ExecuteFile("\\c.rec"));
}

TEST_F(ExecuteFileTest, UnknownTypeOffersToRegisterItInLowerCase)
{
    const QString question = "No open command is registered for this filetype, register now?";
    QStringList opened;
    ScopedModalHook hook([&](CDialog &dialog) {
        opened << dialog.GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text();
        dialog.EndDialog(IDCANCEL);
    });
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    doubleTap("\\My Documents\\Data.XYZ");
    // A found file's row holds its full path, and a double tap opens that.
    CFileListCtrl found;
    found.InsertItem(0, "\\My Documents\\Data.XYZ", 0);
    found.show();
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    QTest::mouseDClick(found.viewport(), Qt::LeftButton, {}, found.visualItemRect(found.topLevelItem(0)).center());
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDYES);
    EXPECT_FALSE(m_list.ExecuteFile("\\My Documents\\Data.XYZ"));
    EXPECT_EQ(opened, QStringList{"xyz"});
    EXPECT_EQ(m_sink.lastOwner(), nullptr);
}

} // namespace
