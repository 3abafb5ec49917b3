// The bytes of the pasted form and of the dialog form's text, and reading a
// shortcut back byte by byte (the dialog tests cover the dialog-form writes).
#include "TempDevice.h"

#include "fileops/ShortcutFile.h"
#include "platform/DosAttributes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class ShortcutFileTest : public ::testing::Test
{
protected:
    void putInRom(const QString &devicePath)
    {
        ASSERT_TRUE(DosAttributes::write(QFile::encodeName(m_device.host(devicePath)).constData(),
                                         FILE_ATTRIBUTE_INROM));
    }

    TempDevice m_device;
};

} // namespace

TEST_F(ShortcutFileTest, PastedFormQuotesTheTargetAndEndsWithAZeroByte)
{
    const QString target = "\\My Documents\\Notes.txt";
    ASSERT_EQ(target.size(), 23);

    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(target, "\\Notes.lnk"));

    EXPECT_EQ(m_device.readFile("\\Notes.lnk"), QByteArray("25#\"\\My Documents\\Notes.txt\"\0", 29));
}

TEST_F(ShortcutFileTest, PastedFormReplacesALongerFileAndKeepsCodePageBytes)
{
    m_device.writeFile("\\Caf.lnk", QByteArray(100, 'z'));

    EXPECT_TRUE(ShortcutFile::WriteShortcutFile(QString::fromUtf8("\\Caf\u00e9"), "\\Caf.lnk"));

    EXPECT_EQ(m_device.readFile("\\Caf.lnk"), QByteArray("7#\"\\Caf\xe9\"\0", 10));
}

TEST_F(ShortcutFileTest, PastedFormFailsQuietlyWhereNoFileCanBeCreated)
{
    m_device.writeFile("\\Windows\\Calc.lnk", "old");
    putInRom("\\Windows\\Calc.lnk");

    EXPECT_FALSE(ShortcutFile::WriteShortcutFile("\\Windows\\calc.exe", "\\Windows\\Calc.lnk"));
    EXPECT_FALSE(ShortcutFile::WriteShortcutFile("\\Windows\\calc.exe", "\\Missing\\Calc.lnk"));

    EXPECT_EQ(m_device.readFile("\\Windows\\Calc.lnk"), "old");
    EXPECT_FALSE(m_device.exists("\\Missing"));
}

TEST_F(ShortcutFileTest, DialogFormCountsTheTextAsTyped)
{
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {
        {"", ""},
        {"\\Windows\\calc.exe", "17#\\Windows\\calc.exe"},
        {"\"\\My Documents\\Notes.txt\"", "25#\"\\My Documents\\Notes.txt\""},
        {"\\Windows\\pword.exe -n 12#x", "26#\\Windows\\pword.exe -n 12#x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShortcutFile::DialogForm(c.typed), c.stored) << c.typed;
}

TEST_F(ShortcutFileTest, ReadingSkipsZeroBytesAndAppends)
{
    m_device.writeFile("\\Notes.lnk", QByteArray("25#\"\\My\0 Docs\xe9\"\0", 16));
    QString text = "kept:";

    EXPECT_TRUE(ShortcutFile::AppendText("\\Notes.lnk", text));

    EXPECT_EQ(text, QString::fromUtf8("kept:25#\"\\My Docs\u00e9\""));
}
