#include "Panes.h"
#include "RecordingLauncher.h"

#include "platform/StandIns.h"
#include "res/ResourceIds.h"

namespace {

// The beam and mail commands start their programs with the selected files.
TEST_F(Panes, BeamAndMailCommandsStartTheirPrograms)
{
    device.make({"\\r.txt", "\\My Documents\\a.txt", "\\My Documents\\b.txt", "\\My Documents\\c.txt"});
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
    QTRY_VERIFY(tree().hasFocus());
    EXPECT_TRUE(run(ID_TOOLS_IRSEND));
    EXPECT_EQ(launcher.starts().size(), 4) << "nothing is sent from the root";
}

} // namespace
