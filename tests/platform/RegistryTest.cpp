// The registry calls over a fresh device's hive.
#include "TempDevice.h"

#include "platform/Registry.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test
{
protected:
    ~RegistryTest() override
    {
        for (HKEY key : m_open)
            RegCloseKey(key);
    }
    HKEY create(HKEY parent, const QString &path, DWORD *disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(parent, wide(path), 0, nullptr, 0, 0, nullptr, &key, disposition), 0)
            << path.toStdString();
        return m_open.emplace_back(key);
    }
    LONG open(HKEY parent, const QString &path, HKEY *key = nullptr)
    {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExW(parent, wide(path), 0, KEY_ALL_ACCESS, &opened);
        m_open.push_back(opened);
        if (key)
            *key = opened;
        return result;
    }
    static LONG set(HKEY key, const QString &name, DWORD value)
    {
        return RegSetValueExW(key, wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    }
    static LONG set(HKEY key, const QString &name, const QString &value)
    {
        return RegSetValueExW(key, wide(name), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.utf16()),
                              DWORD((value.size() + 1) * 2));
    }
    // A REG_SZ value as it is, a REG_DWORD as "#number".
    static QString read(HKEY key, const QString &name)
    {
        char16_t data[300] = {};
        DWORD size = sizeof data, type = 0, number = 0;
        if (RegQueryValueExW(key, wide(name), nullptr, &type, reinterpret_cast<BYTE *>(data), &size) != 0)
            return "<unreadable>";
        std::memcpy(&number, data, sizeof number);
        return type == REG_SZ ? QString::fromUtf16(data) : type == REG_DWORD ? '#' + QString::number(number) : "?";
    }
    // Names a key enumeration (RegEnumKeyExW or RegEnumValueW) reports, in order.
    template <typename Enumerate>
    static QStringList names(HKEY key, Enumerate enumerate)
    {
        QStringList names;
        WCHAR name[300];
        DWORD i = 0, length = 300;
        LONG result;
        for (; (result = enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)) == 0; ++i, length = 300)
            names << QString::fromUtf16(name, length);
        EXPECT_EQ(result, LONG(ERROR_NO_MORE_ITEMS));
        return names;
    }
    static QStringList subKeys(HKEY key) { return names(key, RegEnumKeyExW); }
    static QStringList values(HKEY key) { return names(key, RegEnumValueW); }
    TempDevice m_device;
    std::vector<HKEY> m_open;
};

TEST_F(RegistryTest, KeyPathsIgnoreCaseAndSurplusBackslashesOutliveTheDeviceObjectAndGoWithTheirSubtree)
{
    DWORD created = 0, existing = 0;
    HKEY key = create(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Brindlecove\\Quillmoss", &created);
    create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brindlecove", &existing);
    EXPECT_EQ(std::pair(created, existing), std::pair(DWORD(REG_CREATED_NEW_KEY), DWORD(REG_OPENED_EXISTING_KEY)));
    ASSERT_EQ(set(key, "v", 7), 0);
    for (const QString path : {"SOFTWARE\\Brindlecove\\Quillmoss", "\\\\SOFTWARE\\\\Brindlecove\\Quillmoss\\",
                               "software\\BRINDLECOVE\\Quillmoss\\\\"}) {
        ASSERT_EQ(open(HKEY_LOCAL_MACHINE, path, &key), 0) << path.toStdString();
        EXPECT_EQ(read(key, "v"), "#7");
    }
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, "SOFTWARE", &key), 0);
    EXPECT_EQ(subKeys(key), QStringList{"Brindlecove"});
    // Missing keys, whatever their parent; roots are separate trees.
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "Nowhere\\Deeper"), LONG(ERROR_FILE_NOT_FOUND));
    create(HKEY_LOCAL_MACHINE, "Nowhere");
    create(HKEY_CLASSES_ROOT, ".txt");
    EXPECT_EQ((std::vector<LONG>{open(HKEY_LOCAL_MACHINE, "Nowhere\\Deeper"), open(HKEY_LOCAL_MACHINE, ".txt"),
                                 open(HKEY_CLASSES_ROOT, ".TXT")}),
              (std::vector<LONG>{ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, 0}));
    // An empty path opens a handle of its own; a root never closes.
    HKEY self = nullptr;
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, QString(), &self), 0);
    EXPECT_NE(self, HKEY_LOCAL_MACHINE);
    create(self, "Lasting");
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), 0);
    ASSERT_TRUE(open(HKEY_LOCAL_MACHINE, "Lasting", &key) == 0 && set(key, "kept", "yes") == 0);
    EXPECT_EQ(RegCloseKey(nullptr), LONG(ERROR_INVALID_HANDLE));
    Device reopened(m_device.dir());
    CurrentDevice current(reopened);
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, "LASTING", &key), 0);
    EXPECT_EQ(read(key, "kept"), "yes");
    // Deleting a key takes its subtree and its open handles.
    HKEY top = create(HKEY_LOCAL_MACHINE, "Tree\\Top");
    HKEY leaf = create(top, "Middle\\Leaf");
    ASSERT_TRUE(set(leaf, "deep", 1) == 0 && set(top, "shallow", 1) == 0);
    create(HKEY_LOCAL_MACHINE, "Tree\\Sibling");
    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"TREE\\top"), 0);
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "Tree\\Top\\Middle\\Leaf"), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "Tree\\Top"), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(subKeys(create(HKEY_LOCAL_MACHINE, "Tree")), QStringList{"Sibling"});
    EXPECT_EQ((std::vector<LONG>{RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Tree\\Missing"),
                                 RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), RegDeleteKeyW(HKEY_LOCAL_MACHINE, nullptr)}),
              (std::vector<LONG>{ERROR_FILE_NOT_FOUND, ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER}));
    // A handle to a deleted key reports it, even after the path is made again (empty).
    DWORD n = 0, length = 16;
    WCHAR name[16];
    HKEY child = nullptr;
    const LONG deleted = ERROR_KEY_DELETED;
    EXPECT_EQ((std::vector<LONG>{set(leaf, "deep", 2), RegQueryValueExW(leaf, u"deep", nullptr, nullptr, nullptr, &n),
                                 RegEnumKeyExW(leaf, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
                                 RegCreateKeyExW(leaf, u"Sub", 0, nullptr, 0, 0, nullptr, &child, nullptr)}),
              std::vector<LONG>(4, deleted));
    HKEY fresh = create(HKEY_LOCAL_MACHINE, "Tree\\Top");
    EXPECT_TRUE(subKeys(fresh).isEmpty() && values(fresh).isEmpty());
    create(fresh, "Middle\\Leaf");
    EXPECT_EQ(RegQueryValueExW(leaf, u"deep", nullptr, nullptr, nullptr, &n), deleted);
}

TEST_F(RegistryTest, NamesIgnoreCaseKeepFirstSpellingAndCreationOrderAndAwkwardOnesRoundTrip)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, "Order");
    for (const char *name : {"Zeta", "alpha", "Mid"})
        create(key, name);
    DWORD disposition = 0;
    HKEY again = create(key, "ZETA", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(subKeys(key), (QStringList{"Zeta", "alpha", "Mid"}));
    for (const char *name : {"y", "x", "b"})
        ASSERT_EQ(set(key, name, 1), 0);
    EXPECT_EQ(values(key), (QStringList{"y", "x", "b"}));
    // Rewriting keeps a value's place and spelling and takes the new type; deleting and writing moves it last.
    ASSERT_TRUE(set(key, "Y", "text") == 0 && RegDeleteValueW(key, u"x") == 0 && set(key, "x", 3) == 0);
    EXPECT_EQ(read(key, "y"), "text");
    EXPECT_EQ(values(key), (QStringList{"y", "b", "x"}));
    // Value names may hold backslashes; names have at most 255 characters.
    ASSERT_EQ(set(again, "\\My Documents\\", "folder"), 0);
    EXPECT_EQ(read(again, "\\MY DOCUMENTS\\"), "folder");
    const QString longest(255, 'k'), tooLong(256, 'k');
    create(again, longest);
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExW(again, wide(tooLong), 0, nullptr, 0, 0, nullptr, &child, nullptr),
              LONG(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(std::pair(set(again, longest, 1), set(again, tooLong, 1)), std::pair(0, LONG(ERROR_INVALID_PARAMETER)));
    EXPECT_EQ(values(again), (QStringList{"\\My Documents\\", longest}));
    // Quotes, SQL and pattern characters and non-ASCII text come back exactly, under any case.
    const QStringList awkward = {"O'Brien", "'; DROP TABLE keys; --", "Ünïcödé", "smile \U0001F600", " spaced ",
                                 "%_*?"};
    HKEY parent = create(HKEY_CURRENT_USER, "Awkward");
    for (const QString &name : awkward) {
        HKEY written = create(parent, name), reopened = nullptr;
        ASSERT_TRUE(set(written, name, name) == 0 && set(written, "other", "x") == 0);
        EXPECT_EQ(values(written), (QStringList{name, "other"}));
        ASSERT_EQ(open(parent, name.toUpper(), &reopened), 0);
        EXPECT_EQ(QStringList({read(reopened, name.toLower()), read(reopened, "other")}), QStringList({name, "x"}));
    }
    EXPECT_EQ(subKeys(parent), awkward);
}

TEST_F(RegistryTest, BuffersSizesQueryInfoAndTheDefaultValueFollowThePlatformRules)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, "Buffers");
    create(key, "Sub");
    ASSERT_EQ(set(key, "Name", "data"), 0);
    WCHAR name[8] = {};
    DWORD length = 3, type = 0; // "Sub" needs 4 with its terminator
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_MORE_DATA));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(length, 3u);
    length = 4;
    BYTE data[4];
    DWORD size = sizeof data; // "data" needs 10 bytes
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, data, &size), LONG(ERROR_MORE_DATA));
    EXPECT_EQ(std::pair(length, size), std::pair(5u, 10u));
    size = 0;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, nullptr, &size), 0);
    EXPECT_EQ(std::tuple(length, type, size), std::tuple(4u, REG_SZ, 10u));
    length = 8;
    EXPECT_EQ(RegEnumValueW(key, DWORD(-1), name, &length, nullptr, nullptr, nullptr, nullptr),
              LONG(ERROR_NO_MORE_ITEMS));
    // RegQueryValueExW: the size alone, too small a buffer, the type alone.
    DWORD sizeAlone = 0, tooSmall = sizeof data;
    EXPECT_EQ((std::vector<LONG>{RegQueryValueExW(key, u"name", nullptr, &type, nullptr, &sizeAlone),
                                 RegQueryValueExW(key, u"Name", nullptr, &type, data, &tooSmall)}),
              (std::vector<LONG>{0, ERROR_MORE_DATA}));
    EXPECT_EQ(std::pair(sizeAlone, tooSmall), std::pair(10u, 10u));
    type = 99;
    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, &type, nullptr, nullptr), 0);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExW(key, u"missing", nullptr, &type, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, &type, data, nullptr), LONG(ERROR_INVALID_PARAMETER));
    // Empty data is a value too; data without a buffer is refused.
    ASSERT_EQ(RegSetValueExW(key, u"none", 0, REG_BINARY, nullptr, 0), 0);
    size = 5;
    EXPECT_EQ(RegQueryValueExW(key, u"none", nullptr, &type, nullptr, &size), 0);
    EXPECT_EQ(std::pair(type, size), std::pair(REG_BINARY, 0u));
    EXPECT_EQ(RegSetValueExW(key, u"bad", 0, REG_BINARY, nullptr, 4), LONG(ERROR_INVALID_PARAMETER));
    // Null and empty names address the default value.
    HKEY empty = create(HKEY_LOCAL_MACHINE, "Default");
    ASSERT_EQ(RegSetValueExW(empty, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(u"unnamed"), 16), 0);
    EXPECT_EQ(read(empty, QString()), "unnamed");
    EXPECT_EQ(values(empty), QStringList{QString()});
    ASSERT_EQ(RegDeleteValueW(empty, u""), 0);
    EXPECT_EQ(RegQueryValueExW(empty, nullptr, nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
    // RegQueryInfoKeyW counts subkeys and values and gives the longest names and data.
    key = create(HKEY_LOCAL_MACHINE, "Info");
    create(key, "abc");
    create(key, "a\U0001F600"); // a surrogate pair counts as two characters
    ASSERT_TRUE(set(key, "long name", "0123456789") == 0 && set(key, "n", 1) == 0);
    // Subkeys, longest subkey name, values, longest value name, longest data.
    const auto info = [](HKEY k) {
        DWORD n[5] = {9, 9, 9, 9, 9};
        EXPECT_EQ(RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &n[0], &n[1], nullptr, &n[2], &n[3], &n[4], nullptr,
                                   nullptr), 0);
        return std::vector<DWORD>(n, n + 5);
    };
    EXPECT_EQ(info(key), (std::vector<DWORD>{2, 3, 2, 9, 22}));
    EXPECT_EQ(info(create(key, "abc")), (std::vector<DWORD>{0, 0, 0, 0, 0}));
}

} // namespace
