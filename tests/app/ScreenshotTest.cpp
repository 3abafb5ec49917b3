#include "TempDevice.h"

#include <QImage>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The real program renders its main window on a fresh test device, passing
// the first-run disclaimer, and ends normally.
TEST(Screenshot, RendersTheMainWindowAndEndsNormally)
{
    TempDevice device;
    device.make({"\\My Documents\\notes.txt"});
    const QString png = device.dir() + "/shot.png";
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/quillmoss",
                  {"--device", device.dir(), "--screenshot", png});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(480, 640));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20) << "a blank or nearly blank window";
}

} // namespace
