// Opening files from the list: a double tap starts the program the file's type
// names, for real, without waiting for it; the failure and the offer to
// register a type without an open command.
#include "FileListViewFixture.h"

#include "filetypes/CRegisterExtDlg.h"
#include "framework/CDialog.h"

#include <QLineEdit>
#include <QThread>

namespace {

bool waitFor(const QString &file)
{
    for (int i = 0; i < 400 && !QFile::exists(file); ++i)
        QThread::msleep(50);
    return QFile::exists(file);
}

class ExecuteFileTest : public FileListViewFixture
{
protected:
    void registerType(const QString &extension, const QString &command)
    {
        CRegistryAccess registry;
        registry.WriteString(HKEY_CLASSES_ROOT, "." + extension, QString(), extension + "file");
        registry.WriteString(HKEY_CLASSES_ROOT, extension + "file\\Shell\\Open\\Command", QString(), command);
    }
    void doubleTap(const QString &folder, const QString &name)
    {
        m_list.ShowFolder(folder, true);
        const int row = rows().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        const QRect rect = m_list.visualRect(m_list.model()->index(row, 0));
        QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(ExecuteFileTest, DoubleTapStartsTheRegisteredProgramWithoutWaiting)
{
    // The recording program, reached through a launcher in \Windows as the stand-ins are.
    const QString helper = qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/tests/recordargs";
    m_device.writeFile("\\Windows\\recorder.exe", "#!/bin/sh\nexec '" + QFile::encodeName(helper) + "' \"$@\"\n");
    QFile::setPermissions(m_device.host("\\Windows\\recorder.exe"), QFile::ReadOwner | QFile::ExeOwner);
    registerType("rec", "recorder.exe -open \"%1\"");
    m_device.make({"\\My Documents\\a b.rec"});

    doubleTap("\\My Documents", "a b.rec");
    const QString recorded = m_device.dir() + "/recorded";
    ASSERT_TRUE(waitFor(recorded));
    EXPECT_FALSE(QFile::exists(m_device.dir() + "/done")) << "the program is still running: nobody waited";
    QFile file(recorded);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    const qsizetype end = lines.indexOf("--");
    ASSERT_GE(end, 0);
    EXPECT_EQ(lines.mid(0, end), (QList<QByteArray>{"-open", "\\My Documents\\a b.rec"}));
    EXPECT_TRUE(lines.contains("QUILLMOSS_DEVICE=" + QFile::encodeName(m_device.dir())));
    QFile(m_device.dir() + "/release").open(QIODevice::WriteOnly);
    EXPECT_TRUE(waitFor(m_device.dir() + "/done"));
    EXPECT_EQ(m_list.GetFirstSelectedName(), QString("a b.rec")) << "focus kept";
}

TEST_F(ExecuteFileTest, ProgramThatCannotStartIsReported)
{
    registerType("gone", "missing.exe -x %1");
    m_device.make({"\\My Documents\\c.gone", "\\Windows\\broken.exe"});
    m_sink.expect("Failed to execute missing.exe -x \\My Documents\\c.gone", "Quillmoss", MB_OK | MB_ICONEXCLAMATION,
                  IDOK);
    doubleTap("\\My Documents", "c.gone");
    // A device file the host cannot run is no better.
    registerType("gone", "\\Windows\\broken.exe %1");
    m_sink.expect("Failed to execute \\Windows\\broken.exe \\c.gone", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_FALSE(m_list.ExecuteFile("\\c.gone"));
}

TEST_F(ExecuteFileTest, UnknownTypeOffersToRegisterItInLowerCase)
{
    m_device.make({"\\My Documents\\Data.XYZ"});
    const QString question = "No open command is registered for this filetype, register now?";
    QStringList opened;
    ScopedModalHook hook([&](CDialog &dialog) {
        auto *registerDialog = qobject_cast<CRegisterExtDlg *>(&dialog);
        ASSERT_NE(registerDialog, nullptr);
        opened << registerDialog->GetDlgItem<QLineEdit>(CRegisterExtDlg::IDC_EXTENSION)->text();
        dialog.EndDialog(IDCANCEL);
    });
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDNO);
    doubleTap("\\My Documents", "Data.XYZ");
    EXPECT_TRUE(opened.isEmpty());
    m_sink.expect(question, "Quillmoss", MB_YESNO | MB_ICONQUESTION, IDYES);
    EXPECT_FALSE(m_list.ExecuteFile("\\My Documents\\Data.XYZ"));
    EXPECT_EQ(opened, QStringList{"xyz"});
    EXPECT_EQ(m_sink.lastOwner(), nullptr);
    EXPECT_FALSE(m_list.ExecuteFile(QString()));
}

} // namespace
