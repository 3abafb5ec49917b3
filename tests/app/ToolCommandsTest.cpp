#include "RecordingLauncher.h"
#include "ScriptedSink.h"
#include "ShownFrame.h"

#include "platform/StandIns.h"
#include "res/ResourceIds.h"

namespace {

// The beam and mail commands start their programs with the selected files.
TEST_F(ShownFrame, BeamAndMailCommandsStartTheirPrograms)
{
    device.make({"\\r.txt", "\\My Documents\\a.txt", "\\My Documents\\b.txt", "\\My Documents\\c.txt"});
    ScriptedSink sink;
    showFrame();
    focusList("\\My Documents\\", {"a.txt", "b.txt", "c.txt"});
    const auto run = [this](UINT id) { return frame->router().execute(id); };

    // No beam program yet: the list send stops at its first file.
    sink.expect("Failed to start sending", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    sink.expect("Failed to start receiving", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
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
    for (int row = 0; row < 3; ++row)
        inListOrder += "irsquirt.exe|\\My Documents\\" + frame->listView()->GetItemText(row, 0);
    EXPECT_EQ(commandLines(), inListOrder);

    focusList("\\My Documents\\", {"b.txt"});
    EXPECT_TRUE(run(ID_TOOLS_EMAIL));
    EXPECT_EQ(commandLines().value(3),
              "tmail.exe|-to \"\"-cc \"\"-bcc \"\"-subject \"\"-body \"\"-attach \"\\My Documents\\b.txt\"");

    focusList("\\", {"r.txt"}); // enables the command, which the tree focus leaves as it is
    frame->treeView()->setFocus();
    QTRY_VERIFY(frame->treeView()->hasFocus());
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    EXPECT_EQ(launcher.starts().size(), 4) << "nothing is sent from the root";
}

} // namespace
