#include "list/CFileTypeInfo.h"

#include "QtApp.h"
#include "QtPrinters.h"
#include "TempDevice.h"
#include "settings/CRegistryAccess.h"
#include "framework/CImageList.h"

#include <gtest/gtest.h>

namespace {

TEST(FileTypeInfo, ExtensionAndFolderOfAPath)
{
    const struct {
        const char *path, *extension, *folder;
    } cases[] = {
        {"\\My Documents\\a.txt", "TXT", "\\My Documents\\"},
        {"a.Jpg", "JPG", ""},
        {"readme", "", ""},
        {".profile", "", ""},
        {"\\.profile", "PROFILE", "\\"},
        {"a.b.c", "C", ""},
        {"x.", "", ""},
        {"\\My.Files\\readme", "FILES\\README", "\\My.Files\\"},
    };
    for (const auto &c : cases) {
        CFileTypeInfo info;
        info.SetPath(c.path);
        EXPECT_EQ(info.GetExtension(), c.extension) << c.path;
        EXPECT_EQ(info.GetFolder(), c.folder) << c.path;
    }
    // The extension of given text wins over the path.
    CFileTypeInfo info;
    info.SetPath("\\x.doc");
    EXPECT_EQ(info.GetExtension("c.dll.bak"), "BAK");
    EXPECT_EQ(info.GetExtension(), "DOC");
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
    const std::pair<const char *, const char *> cases[] = {
        {"\\My Documents\\a.txt", "Text Document"}, {"\\My Documents\\A.TxT", "Text Document"},
        {"\\readme", ""},                          {".profile", ""},
        {"\\My.Files\\readme", "FILES\\README File"},  {"\\a.xyz", "XYZ File"},
        {"\\a.foo", "foofile"},                      {"\\a.bar", "BAR File"},
    };
    for (const auto &[path, name] : cases)
        EXPECT_EQ(typeName(path), name) << path;
}

TEST_F(FileTypeRegistry, ReadRegStringKeepsTheOutputOnFailureAndReadsRawValues)
{
    CFileTypeInfo info;
    QString out = "kept";
    EXPECT_NE(info.ReadRegString(HKEY_CLASSES_ROOT, ".NONE", QString(), out), ERROR_SUCCESS);
    EXPECT_NE(info.ReadRegString(HKEY_CLASSES_ROOT, ".BAR", QString(), out), ERROR_SUCCESS);
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, ".bar", "other", out), ERROR_SUCCESS);
    EXPECT_EQ(out, "x");

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"raw", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    // Stored without its terminator, and with an odd byte count.
    const char16_t text[] = u"abc";
    ASSERT_EQ(RegSetValueExW(key, u"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE *>(text), 6), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"odd", 0, REG_SZ, reinterpret_cast<const BYTE *>(text), 5), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"empty", 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "unterminated", out), ERROR_SUCCESS);
    EXPECT_EQ(out, "abc");
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "odd", out), ERROR_SUCCESS);
    EXPECT_EQ(out.left(2), "ab");
    // Size 0 counts as read and leaves the output as it was.
    out = "kept";
    EXPECT_EQ(info.ReadRegString(HKEY_CLASSES_ROOT, "raw", "empty", out), ERROR_SUCCESS);
    EXPECT_EQ(out, "kept");
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
