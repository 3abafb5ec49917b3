#include "list/CFileTypeInfo.h"

#include "QtApp.h"
#include "QtPrinters.h"
#include "TempDevice.h"
#include "settings/CRegistryAccess.h"
#include "framework/CImageList.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char16_t *path;
    const char16_t *extension;
    const char16_t *folder;
};

// Slashes keep the test names plain.
void PrintTo(const PathCase &c, std::ostream *out)
{
    *out << QString::fromUtf16(c.path).replace(u'\\', u'/').toStdString();
}

class FileTypePaths : public testing::TestWithParam<PathCase> {};

TEST_P(FileTypePaths, ExtensionAndFolder)
{
    CFileTypeInfo info;
    info.SetPath(QString::fromUtf16(GetParam().path));
    EXPECT_EQ(info.GetExtension(), QString::fromUtf16(GetParam().extension));
    EXPECT_EQ(info.GetFolder(), QString::fromUtf16(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileTypePaths,
    testing::Values(PathCase{u"\\My Documents\\a.txt", u"TXT", u"\\My Documents\\"},
                    PathCase{u"a.Jpg", u"JPG", u""}, PathCase{u"readme", u"", u""},
                    PathCase{u".profile", u"", u""}, PathCase{u"\\.profile", u"PROFILE", u"\\"},
                    PathCase{u"a.b.c", u"C", u""}, PathCase{u"x.", u"", u""},
                    PathCase{u"\\My.Files\\readme", u"FILES\\README", u"\\My.Files\\"}));

TEST(FileTypeInfo, ExtensionOfGivenTextWinsOverThePath)
{
    CFileTypeInfo info;
    info.SetPath("\\x.doc");
    EXPECT_EQ(info.GetExtension("c.dll.bak"), QStringLiteral("BAK"));
    EXPECT_EQ(info.GetExtension(), QStringLiteral("DOC"));
}

class FileTypeRegistry : public testing::Test
{
protected:
    void SetUp() override
    {
        CRegistryAccess registry;
        ASSERT_EQ(registry.WriteString(HKEY_CLASSES_ROOT, ".TXT", QString(), "txtfile"), RegSuccess);
        ASSERT_EQ(registry.WriteString(HKEY_CLASSES_ROOT, "txtfile", QString(), "Text Document"), RegSuccess);
        // A class name that has no key of its own.
        ASSERT_EQ(registry.WriteString(HKEY_CLASSES_ROOT, ".FOO", QString(), "foofile"), RegSuccess);
        // An extension key without a default value.
        ASSERT_EQ(registry.WriteString(HKEY_CLASSES_ROOT, ".BAR", "Other", "x"), RegSuccess);
    }

    QString typeName(const QString &path)
    {
        CFileTypeInfo info;
        info.SetPath(path);
        return info.GetTypeName();
    }

    TempDevice m_device;
};

TEST_F(FileTypeRegistry, TypeNamesAndTheirFallbacks)
{
    EXPECT_EQ(typeName("\\My Documents\\a.txt"), QStringLiteral("Text Document"));
    EXPECT_EQ(typeName("\\My Documents\\A.TxT"), QStringLiteral("Text Document"));
    EXPECT_EQ(typeName("\\readme"), QString());
    EXPECT_EQ(typeName(".profile"), QString());
    EXPECT_EQ(typeName("\\My.Files\\readme"), QStringLiteral("FILES\\README File"));
    EXPECT_EQ(typeName("\\a.xyz"), QStringLiteral("XYZ File"));
    EXPECT_EQ(typeName("\\a.foo"), QStringLiteral("foofile"));
    EXPECT_EQ(typeName("\\a.bar"), QStringLiteral("BAR File"));
}

TEST_F(FileTypeRegistry, ReadRegStringKeepsTheOutputOnFailure)
{
    CFileTypeInfo info;
    QString out = "kept";
    EXPECT_NE(info.ReadRegString(HKEY_CLASSES_ROOT, ".NONE", QString(), out), ERROR_SUCCESS);
    EXPECT_EQ(out, QStringLiteral("kept"));
    EXPECT_NE(info.ReadRegString(HKEY_CLASSES_ROOT, ".BAR", QString(), out), ERROR_SUCCESS);
    EXPECT_EQ(out, QStringLiteral("kept"));
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, ".bar", "other", out), ERROR_SUCCESS);
    EXPECT_EQ(out, QStringLiteral("x"));
}

TEST_F(FileTypeRegistry, ReadRegStringOfRawValues)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"raw", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    // Stored without its terminator, and with an odd byte count.
    const char16_t text[] = u"abc";
    ASSERT_EQ(RegSetValueExW(key, u"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE *>(text), 6), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"odd", 0, REG_SZ, reinterpret_cast<const BYTE *>(text), 5), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"empty", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);

    CFileTypeInfo info;
    QString out;
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "unterminated", out), ERROR_SUCCESS);
    EXPECT_EQ(out, QStringLiteral("abc"));
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "odd", out), ERROR_SUCCESS);
    EXPECT_EQ(out.left(2), QStringLiteral("ab"));
    // Size 0 counts as read and leaves the output as it was.
    out = "kept";
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "empty", out), ERROR_SUCCESS);
    EXPECT_EQ(out, QStringLiteral("kept"));
}

TEST(FileTypeIcon, AppendsTheIconOrGivesTheFallback)
{
    qtApp();
    TempDevice device;
    device.writeFile("\\My Documents\\a.txt", "hello");
    CImageList images;
    images.ReplaceIcon(-1, QIcon(QPixmap(16, 15)));

    CFileTypeInfo info;
    info.SetPath("\\My Documents\\a.txt");
    int index = -5;
    EXPECT_TRUE(info.GetIconIndex(images, index, 0));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_TRUE(info.GetIconIndex(images, index, 0));
    EXPECT_EQ(index, 2);

    info.SetPath("\\My Documents\\missing.txt");
    EXPECT_FALSE(info.GetIconIndex(images, index, 7));
    EXPECT_EQ(index, 7);
    EXPECT_EQ(images.GetImageCount(), 3);
}

} // namespace
