// The Execute file dialog joins path and name and hands them to the shell's
// "open" verb, which runs an executable itself and a document through the
// open command of its type.
#include "FileListViewFixture.h"
#include "RecordingLauncher.h"

#include "framework/CDialog.h"
#include "list/CExecuteDlg.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

using ExecuteDlgTest = FileListViewFixture;

TEST_F(ExecuteDlgTest, RunJoinsPathAndNameAndStaysOpen)
{
    m_device.writeFile("\\Windows\\tool.exe", "#!/bin/sh\n");
    QFile::setPermissions(m_device.host("\\Windows\\tool.exe"), QFile::ReadOwner | QFile::ExeOwner);
    CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".txt", QString(), "txtfile");
    CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Open\\Command", QString(),
                                  "\"tool.exe\" -view \"%1\" %*");
    RecordingLauncher launcher;

    struct Run {
        QString path, fileName, parameters, fullPath;
    };
    const Run runs[] = {
        {"\\Windows\\", "\\tool.exe", "-a \"b c\"", "\\Windows\\tool.exe"},
        {"\\My Documents", "a b.txt", "-p", "\\My Documents\\a b.txt"},
        {"\\", "\\", "", ""},
        {"\\Temp", "nothing.exe", "", "\\Temp\\nothing.exe"},
    };
    QStringList fullPaths;
    CExecuteDlg dialog;
    ScopedModalHook hook([&](CDialog &) {
        for (const Run &run : runs) {
            dialog.GetDlgItem<QLineEdit>(CExecuteDlg::IDC_PATH)->setText(run.path);
            dialog.GetDlgItem<QLineEdit>(CExecuteDlg::IDC_FILENAME)->setText(run.fileName);
            dialog.GetDlgItem<QLineEdit>(CExecuteDlg::IDC_PARAMETERS)->setText(run.parameters);
            if (run.fullPath.isEmpty())
                m_sink.expect("No file selected", "Quillmoss", MB_OK, IDOK);
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_TRUE(dialog.isRunning()) << run.fileName.toStdString();
            fullPaths << dialog.fullPath();
            EXPECT_EQ(dialog.shellExecuteInfo().cbSize, 60u);
            EXPECT_EQ(dialog.shellExecuteInfo().nShow, 5);
            EXPECT_EQ(fromWide(dialog.shellExecuteInfo().lpVerb), QString("open"));
        }
        dialog.GetDlgItem<QPushButton>(IDCANCEL)->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // The empty name left the last full path as it was; the missing program started nothing.
    EXPECT_EQ(fullPaths, (QStringList{"\\Windows\\tool.exe", "\\My Documents\\a b.txt", "\\My Documents\\a b.txt",
                                      "\\Temp\\nothing.exe"}));
    const QString tool = QFileInfo(m_device.host("\\Windows\\tool.exe")).canonicalFilePath();
    ASSERT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(launcher.starts()[0].program, tool);
    EXPECT_EQ(launcher.starts()[0].arguments, (QStringList{"-a", "b c"}));
    EXPECT_EQ(launcher.starts()[1].program, tool);
    EXPECT_EQ(launcher.starts()[1].arguments, (QStringList{"-view", "\\My Documents\\a b.txt", "-p"}));
}

} // namespace
