// Shortcut files from outside: a target holding a zero character, and a file
// far too big to be a shortcut.
#include "TempDevice.h"

#include "fileops/ShortcutFile.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutLimits, WriterWritesExactlyTheConvertedBytes)
{
    TempDevice t;
    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(QString("\\a") + QChar(0) + "b", "\\z.lnk"));
    EXPECT_EQ(t.readFile("\\z.lnk"), QByteArray("6#\"\\a\0", 6));
}

TEST(ShortcutLimits, ReaderRefusesAFileTooBigToBeAShortcut)
{
    TempDevice t;
    t.writeFile("\\big.lnk", "3#x" + QByteArray(ShortcutFile::MaxFileSize, ' '));
    QString text = "kept";
    EXPECT_FALSE(ShortcutFile::AppendText("\\big.lnk", text));
    EXPECT_EQ(text, "kept");
    t.writeFile("\\big.lnk", QByteArray(ShortcutFile::MaxFileSize, 'y'));
    EXPECT_TRUE(ShortcutFile::AppendText("\\big.lnk", text));
    EXPECT_EQ(text.size(), 4 + ShortcutFile::MaxFileSize);
}

} // namespace
