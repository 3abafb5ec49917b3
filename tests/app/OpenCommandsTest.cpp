// Open, Execute, Extensions and Register Ext. get the selection and the
// folder; the Execute dialog joins path and name for the shell.
#include "Panes.h"
#include "RecordingLauncher.h"

#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CRegisterExtDlg.h"
#include "list/CExecuteDlg.h"
#include "res/ResourceIds.h"
#include "settings/CRegistryAccess.h"

#include <QFile>
#include <utility>

namespace {

using OpenCommandsTest = Panes;

TEST_F(OpenCommandsTest, CommandsReachTheirDialogsWithTheSelection)
{
    device.make({"\\My Documents\\b.txt"});
    device.writeFile("\\Windows\\tool.exe", "#!/bin/sh\n");
    QFile::setPermissions(device.host("\\Windows\\tool.exe"), QFile::ReadOwner | QFile::ExeOwner);
    CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".txt\\Shell\\Open\\Command", QString(), "tool.exe \"%1\"");
    start(true);
    focusList("\\My Documents", {"b.txt"});

    QStringList seen;
    ScopedModalHook hook([&](CDialog &dialog) {
        if (auto *execute = qobject_cast<CExecuteDlg *>(&dialog)) {
            seen << execute->fileName + " in " + execute->path;
            for (const auto &[path, name] : {std::pair{"", "\\b.txt"}, {"", "\\"}, {"\\Windows\\", "tool.exe"}}) {
                if (*path)
                    execute->GetDlgItem<QLineEdit>(CExecuteDlg::IDC_PATH)->setText(path);
                execute->GetDlgItem<QLineEdit>(CExecuteDlg::IDC_FILENAME)->setText(name);
                execute->GetDlgItem<QLineEdit>(CExecuteDlg::IDC_PARAMETERS)->setText("-p \"q r\"");
                if (QString(name) == "\\")
                    sink.expect("No file selected", App, MB_OK, IDOK);
                execute->accept();
                EXPECT_TRUE(execute->isVisible()) << "stays open after Run";
                seen << execute->fullPath();
            }
        } else if (auto *registerExt = qobject_cast<CRegisterExtDlg *>(&dialog)) {
            seen << registerExt->openWith;
        } else {
            seen << QString::number(qobject_cast<CExtensionsDlg *>(&dialog)->templateId());
        }
        dialog.EndDialog(IDCANCEL);
    });
    RecordingLauncher launcher;
    for (UINT id : {ID_FILE_OPEN, ID_TOOLS_EXECUTE, ID_REGISTER_EXT, ID_TOOLS_EXTENSIONS})
        EXPECT_TRUE(run(id)) << id;
    EXPECT_EQ(seen, (QStringList{"b.txt in \\My Documents\\", "\\My Documents\\b.txt", "\\My Documents\\b.txt",
                                 "\\Windows\\tool.exe", "\\My Documents\\b.txt", "165"}));
    ASSERT_EQ(launcher.starts().size(), 3);
    EXPECT_EQ(launcher.starts()[0].arguments, QStringList{"\\My Documents\\b.txt"});
    EXPECT_EQ(launcher.starts()[1].arguments, QStringList{"\\My Documents\\b.txt"});
    EXPECT_EQ(launcher.starts()[2].arguments, (QStringList{"-p", "q r"}));

    QApplication::setActiveWindow(frame.get());
    focusList("\\My Documents", {});
    EXPECT_FALSE(run(ID_FILE_OPEN));
    EXPECT_TRUE(run(ID_REGISTER_EXT)); // nothing selected: no dialog
    EXPECT_EQ(seen.size(), 6);
}

} // namespace
