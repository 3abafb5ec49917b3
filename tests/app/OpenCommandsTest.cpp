// The frame hands Open, Execute, Extensions and Register Ext. the right
// pane's data.
#include "RecordingLauncher.h"
#include "ScriptedSink.h"
#include "ShownFrame.h"

#include "settings/CRegistryAccess.h"
#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CRegisterExtDlg.h"
#include "list/CExecuteDlg.h"
#include "res/ResourceIds.h"

#include <QFile>

namespace {

using OpenCommandsTest = ShownFrame;

TEST_F(OpenCommandsTest, CommandsReachTheirDialogsWithTheSelection)
{
    ScriptedSink sink;
    device.make({"\\My Documents\\a.txt", "\\My Documents\\b.txt"});
    device.writeFile("\\Windows\\tool.exe", "#!/bin/sh\n");
    QFile::setPermissions(device.host("\\Windows\\tool.exe"), QFile::ReadOwner | QFile::ExeOwner);
    CRegistryAccess().WriteString(HKEY_CLASSES_ROOT, ".txt\\Shell\\Open\\Command", QString(), "tool.exe \"%1\"");
    showFrame();
    focusList("\\My Documents", {"b.txt"});

    QStringList seen;
    ScopedModalHook hook([&](CDialog &dialog) {
        if (auto *execute = qobject_cast<CExecuteDlg *>(&dialog))
            seen << "execute " + execute->fileName + " in " + execute->path;
        else if (auto *registerExt = qobject_cast<CRegisterExtDlg *>(&dialog))
            seen << "register " + registerExt->openWith + (registerExt->extension.isEmpty() ? "" : "?");
        else if (qobject_cast<CExtensionsDlg *>(&dialog))
            seen << "extensions";
        dialog.EndDialog(IDCANCEL);
    });
    RecordingLauncher launcher;
    for (UINT id : {ID_FILE_OPEN, ID_TOOLS_EXECUTE, ID_REGISTER_EXT, ID_TOOLS_EXTENSIONS})
        EXPECT_TRUE(frame->router().execute(id)) << id;
    EXPECT_EQ(seen, (QStringList{"execute b.txt in \\My Documents\\", "register \\My Documents\\b.txt",
                                 "extensions"}));
    ASSERT_EQ(launcher.starts().size(), 1);
    EXPECT_EQ(launcher.starts()[0].arguments, QStringList{"\\My Documents\\b.txt"});

    // Without a selection Open is disabled and Register Ext. does nothing.
    QApplication::setActiveWindow(frame.get());
    focusList("\\My Documents", {});
    frame->listView()->SelectAll(false);
    EXPECT_FALSE(frame->router().execute(ID_FILE_OPEN));
    EXPECT_TRUE(frame->router().execute(ID_REGISTER_EXT));
    EXPECT_EQ(seen.size(), 3);
}

} // namespace
