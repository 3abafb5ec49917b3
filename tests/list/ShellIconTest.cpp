#include "platform/Shell.h"

#include "QtApp.h"
#include "QtPrinters.h"
#include "TempDevice.h"

#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class ShellIcons : public testing::Test
{
protected:
    void SetUp() override { qtApp(); }

    // The small icon's picture, or a null image when the shell gives none.
    QImage icon(const QString &path, UINT extraFlags = 0, DWORD attributes = 0)
    {
        SHFILEINFO info;
        const auto wide = reinterpret_cast<LPCWSTR>(path.utf16());
        if (!SHGetFileInfo(wide, attributes, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | extraFlags))
            return QImage();
        EXPECT_NE(info.hIcon, nullptr);
        const QImage image = info.hIcon->pixmap(16, 16).toImage();
        EXPECT_TRUE(DestroyIcon(info.hIcon));
        return image;
    }

    TempDevice m_device;
};

TEST_F(ShellIcons, CommonTypesHaveDistinctIcons)
{
    m_device.writeFile("\\d\\a.txt", "text");
    m_device.writeFile("\\d\\b.png", "\x89PNG\r\n\x1a\n");
    m_device.writeFile("\\d\\c.html", "<html></html>");
    m_device.writeFile("\\d\\tool.exe", "MZ");
    m_device.writeFile("\\d\\blob.qqq", QByteArray("\x00\x01\x02\x03", 4));
    QList<QImage> images;
    for (const char *name : {"a.txt", "b.png", "c.html", "tool.exe", "blob.qqq", ""}) {
        const QImage image = icon(QString("\\d\\") + name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(16, 16)) << name;
        images << image;
    }
    // Text, picture, web page, program, unknown data and folder all differ.
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << i << " " << j;
}

TEST_F(ShellIcons, UnknownNameIsRecognisedByContent)
{
    m_device.writeFile("\\d\\a.txt", "plain words");
    m_device.writeFile("\\d\\notes", "plain words, no extension");
    EXPECT_EQ(icon("\\d\\notes"), icon("\\d\\a.txt"));
}

TEST_F(ShellIcons, FileAttributesNeedNoFileAndLargeIconIsBigger)
{
    m_device.writeFile("\\d\\a.txt", "text");
    EXPECT_TRUE(icon("\\d\\missing.txt").isNull());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(icon(".txt", SHGFI_USEFILEATTRIBUTES), icon("\\d\\a.txt"));
    EXPECT_EQ(icon("x", SHGFI_USEFILEATTRIBUTES, FILE_ATTRIBUTE_DIRECTORY), icon("\\d"));

    SHFILEINFO info;
    ASSERT_TRUE(SHGetFileInfo(u".txt", 0, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ(info.hIcon->availableSizes().value(0), QSize(32, 32));
    DestroyIcon(info.hIcon);
    EXPECT_EQ(SHGetFileInfo(u".txt", 0, &info, sizeof info, SHGFI_USEFILEATTRIBUTES), 0u);
}

TEST_F(ShellIcons, ShortcutShowsItsTargetsIcon)
{
    m_device.writeFile("\\My Documents\\b.txt", "text");
    m_device.writeFile("\\My Documents\\tool.exe", "MZ");
    m_device.writeFile("\\Windows\\Start Menu\\b.lnk", "22#\"\\My Documents\\b.txt\"");
    m_device.writeFile("\\My Documents\\near.lnk", "8#tool.exe");
    m_device.writeFile("\\My Documents\\gone.lnk", "15#\\Temp\\gone.html");
    m_device.writeFile("\\My Documents\\broken.lnk", "");
    m_device.writeFile("\\My Documents\\chain.lnk", "27#\\Windows\\Start Menu\\b.lnk");

    const QImage text = icon("\\My Documents\\b.txt");
    const QImage shortcut = icon("\\Windows\\Start Menu\\b.lnk");
    EXPECT_EQ(shortcut, text);
    EXPECT_NE(icon("\\My Documents\\broken.lnk"), text);
    // A bare target name lies in the shortcut's folder.
    EXPECT_EQ(icon("\\My Documents\\near.lnk"), icon("\\My Documents\\tool.exe"));
    // A missing target still shows its type.
    EXPECT_EQ(icon("\\My Documents\\gone.lnk"), icon(".html", SHGFI_USEFILEATTRIBUTES));
    // Only one level is followed.
    EXPECT_NE(icon("\\My Documents\\chain.lnk"), text);
}

TEST(ShortcutTarget, ReadsTheTargetOfEveryForm)
{
    TempDevice device;
    const std::pair<QByteArray, const char *> cases[] = {
        {"21#\"\\Windows\\viewer.exe\"", "\\Windows\\viewer.exe"},
        {"40#\\Windows\\viewer.exe?-open x", "\\Windows\\viewer.exe"},
        {"5#\\abcdefgh", "\\abcd"},
        {"0#\\abc", "\\abc"},
        {"\\Windows\\plain.exe", "\\Windows\\plain.exe"},
        {"7#\\caf\xe9\x80", "\\caf\u00e9\u20ac"},
        {"99#\\short", "\\short"},
        {"6#\"\\a b\"", "\\a b"},
    };
    for (const auto &[content, target] : cases) {
        device.writeFile("\\s.lnk", content);
        WCHAR read[MAX_PATH] = {};
        EXPECT_TRUE(SHGetShortcutTarget(u"\\s.lnk", read, MAX_PATH)) << target;
        EXPECT_EQ(fromWide(read), target);
    }
    WCHAR read[MAX_PATH] = {};
    EXPECT_FALSE(SHGetShortcutTarget(u"\\none.lnk", read, MAX_PATH));
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}

} // namespace
