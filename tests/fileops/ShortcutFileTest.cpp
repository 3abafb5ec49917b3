// The bytes of the pasted form and of the dialog form's text, and reading a
// shortcut back byte by byte (the dialog tests cover the dialog-form writes).
#include "TempDevice.h"

#include "fileops/ShortcutFile.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutFile, PastedFormQuotesTheTargetEndsWithAZeroByteAndReplacesALongerFileAndReadsBack)
{
    TempDevice device;
    EXPECT_TRUE(ShortcutFile::WriteShortcutFile("\\My Documents\\Notes.txt", "\\Notes.lnk"));
    EXPECT_EQ(device.readFile("\\Notes.lnk"), QByteArray("25#\"\\My Documents\\Notes.txt\"\0", 29));

    // Code page 1252 bytes.
    device.writeFile("\\Caf.lnk", QByteArray(100, 'z'));
    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(QString::fromUtf8("\\Caf\u00e9"), "\\Caf.lnk"));
    EXPECT_EQ(device.readFile("\\Caf.lnk"), QByteArray("7#\"\\Caf\xe9\"\0", 10));

    // The conversion ends at a zero character: its bytes are written, no more.
    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(QString("\\a") + QChar(0) + "b", "\\z.lnk"));
    EXPECT_EQ(device.readFile("\\z.lnk"), QByteArray("6#\"\\a\0", 6));

    // It fails quietly where no file can be created.
    device.writeFile("\\Windows\\Calc.lnk", "old");
    device.putInRom("\\Windows\\Calc.lnk");
    EXPECT_FALSE(ShortcutFile::WriteShortcutFile("\\Windows\\calc.exe", "\\Windows\\Calc.lnk"));
    EXPECT_FALSE(ShortcutFile::WriteShortcutFile("\\Windows\\calc.exe", "\\Missing\\Calc.lnk"));
    EXPECT_EQ(device.readFile("\\Windows\\Calc.lnk"), "old");
    EXPECT_FALSE(device.exists("\\Missing"));

    // Reading skips zero bytes; a file over the size limit is never read.
    device.writeFile("\\Notes.lnk", QByteArray("25#\"\\My\0 Docs\xe9\"\0", 16));
    QString text = "kept:";
    EXPECT_TRUE(ShortcutFile::AppendText("\\Notes.lnk", text));
    EXPECT_EQ(text, QString::fromUtf8("kept:25#\"\\My Docs\u00e9\""));

    text = "kept";
    device.writeFile("\\z.lnk", QByteArray(ShortcutFile::MaxFileSize + 1, 'y'));
    EXPECT_FALSE(ShortcutFile::AppendText("\\z.lnk", text));
    device.writeFile("\\z.lnk", QByteArray(ShortcutFile::MaxFileSize, 'y'));
    EXPECT_TRUE(ShortcutFile::AppendText("\\z.lnk", text));
    EXPECT_EQ(text, "kept" + QString(ShortcutFile::MaxFileSize, 'y'));
}

TEST(ShortcutFile, DialogFormCountsTheTextAsTyped)
{
    for (const auto &[typed, stored] : {std::pair{"", ""}, {"\\Windows\\calc.exe", "17#\\Windows\\calc.exe"},
                                        {"\"\\My Documents\\Notes.txt\"", "25#\"\\My Documents\\Notes.txt\""},
                                        {"\\Windows\\pword.exe -n 12#x", "26#\\Windows\\pword.exe -n 12#x"}})
        EXPECT_EQ(ShortcutFile::DialogForm(typed), stored) << typed;
}

} // namespace
