#include "TempDevice.h"

#include "fileops/ShortcutFile.h"

#include <gtest/gtest.h>

TEST(ShortcutLimits, ExactBytesWrittenAndNoHugeFileRead)
{
    TempDevice t;
    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(QString("\\a") + QChar(0) + "b", "\\z.lnk"));
    EXPECT_EQ(t.readFile("\\z.lnk"), QByteArray("6#\"\\a\0", 6)); // the conversion ends at the zero

    QString text = "kept";
    t.writeFile("\\z.lnk", QByteArray(ShortcutFile::MaxFileSize + 1, 'y'));
    EXPECT_FALSE(ShortcutFile::AppendText("\\z.lnk", text));
    t.writeFile("\\z.lnk", QByteArray(ShortcutFile::MaxFileSize, 'y'));
    EXPECT_TRUE(ShortcutFile::AppendText("\\z.lnk", text));
    EXPECT_EQ(text, "kept" + QString(ShortcutFile::MaxFileSize, 'y'));
}
