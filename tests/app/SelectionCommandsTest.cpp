// Commands that hand the selection or the folder to a dialog or a program
// (the Execute dialog joins path and name for the shell).
#include "Panes.h"
#include "RecordingLauncher.h"

#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CFilePropertiesDlg.h"
#include "filetypes/CRegisterExtDlg.h"
#include "framework/CPropertySheet.h"
#include "list/CExecuteDlg.h"
#include "platform/StandIns.h"
#include "res/ResourceIds.h"
#include "settings/CRegistryAccess.h"

#include <QFile>
#include <utility>

namespace {

using SelectionCommands = Panes;

// The beam and mail commands start their programs with the selected files;
// Open, Execute, Register Ext. and Extensions get the selection and the
// folder. Properties shows the system information sheet for the tree's root,
// the properties dialog for a folder or the list's focused file, and the list
// is reloaded only when the attributes were changed.
TEST_F(SelectionCommands, CommandsReachTheirDialogsAndProgramsWithTheSelection)
{
    device.make({"\\r.txt", "\\My Documents\\a.txt", "\\My Documents\\b.txt", "\\My Documents\\c.txt",
                 "\\Docs\\a.txt", "\\Docs\\b.txt", "\\Docs\\c.txt"});
    device.writeFile("\\Windows\\tool.exe", "#!/bin/sh\n");
    QFile::setPermissions(device.host("\\Windows\\tool.exe"), QFile::ReadOwner | QFile::ExeOwner);
    CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".txt\\Shell\\Open\\Command", QString(), "tool.exe \"%1\"");
    start(true);
    focusList("\\My Documents\\", {"a.txt", "b.txt", "c.txt"});
    // No beam program yet: the list send stops at its first file.
    sink.expect("Failed to start sending", App, Exclamation, IDOK);
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    sink.expect("Failed to start receiving", App, Exclamation, IDOK);
    EXPECT_TRUE(run(ID_TOOLS_IRRECEIVE));
    EXPECT_EQ(sink.pending(), 0);

    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    RecordingLauncher launcher;
    const auto commandLines = [&launcher] {
        QStringList lines;
        for (const RecordingLauncher::Start &start : launcher.starts())
            lines += QFileInfo(start.program).fileName() + '|'
                + start.environment.filter("QUILLMOSS_COMMAND_LINE=").value(0).mid(23);
        return lines;
    };
    focusList("\\My Documents\\", {"a.txt", "b.txt", "c.txt"}); // the receive reloaded the list
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    QStringList inListOrder;
    for (const QString &name : rows(list()))
        inListOrder += "irsquirt.exe|\\My Documents\\" + name;
    EXPECT_EQ(commandLines(), inListOrder);

    focusList("\\My Documents\\", {"b.txt"});
    EXPECT_TRUE(run(ID_TOOLS_EMAIL));
    EXPECT_EQ(commandLines().value(3),
              "tmail.exe|-to \"\"-cc \"\"-bcc \"\"-subject \"\"-body \"\"-attach \"\\My Documents\\b.txt\"");

    focusList("\\", {"r.txt"}); // enables the command, which the tree focus leaves as it is
    tree().setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree().hasFocus(); }));
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    EXPECT_EQ(launcher.starts().size(), 4) << "nothing is sent from the root";

    focusList("\\My Documents", {"b.txt"});
    QStringList seen;
    act = [&](CDialog &dialog) {
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
    };
    for (UINT id : {ID_FILE_OPEN, ID_TOOLS_EXECUTE, ID_REGISTER_EXT, ID_TOOLS_EXTENSIONS})
        EXPECT_TRUE(run(id)) << id;
    EXPECT_EQ(seen, (QStringList{"b.txt in \\My Documents\\", "\\My Documents\\b.txt", "\\My Documents\\b.txt",
                                 "\\Windows\\tool.exe", "\\My Documents\\b.txt", "165"}));
    ASSERT_EQ(launcher.starts().size(), 7);
    EXPECT_EQ(launcher.starts()[4].arguments, QStringList{"\\My Documents\\b.txt"});
    EXPECT_EQ(launcher.starts()[5].arguments, QStringList{"\\My Documents\\b.txt"});
    EXPECT_EQ(launcher.starts()[6].arguments, (QStringList{"-p", "q r"}));

    QApplication::setActiveWindow(frame.get());
    focusList("\\My Documents", {});
    EXPECT_FALSE(run(ID_FILE_OPEN));
    EXPECT_TRUE(run(ID_REGISTER_EXT)); // nothing selected: no dialog
    EXPECT_EQ(seen.size(), 6);

    focusTree("\\");
    runDialog(ID_FILE_PROPERTIES, [&](CDialog &open) {
        EXPECT_NE(qobject_cast<CPropertySheet *>(&open), nullptr);
        EXPECT_EQ(frame->openPropertiesDialog(), &open);
    });
    EXPECT_EQ(frame->openPropertiesDialog(), nullptr);
    focusTree("\\Docs\\");
    runDialog(ID_FILE_PROPERTIES, [](CDialog &open) {
        auto *dialog = qobject_cast<CFilePropertiesDlg *>(&open);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->path, "\\Docs");
    });

    focusList("\\Docs\\", {"b.txt"});
    const int row = int(rows(list()).indexOf("b.txt"));
    list().selectionModel()->setCurrentIndex(list().model()->index(row, 0), QItemSelectionModel::NoUpdate);
    for (const bool change : {false, true}) {
        runDialog(ID_FILE_PROPERTIES, [change](CDialog &open) {
            EXPECT_EQ(qobject_cast<CFilePropertiesDlg *>(&open)->path, "\\Docs\\b.txt");
            if (change)
                click(open, 1005);
            open.accept();
        });
        EXPECT_EQ(list().GetItemText(row, CFileListCore::AttrsColumn), change ? "H" : "");
    }
    EXPECT_EQ(list().GetFocusedItem(), row);
    EXPECT_EQ(list().GetSelectedCount(), 1);
}

} // namespace
