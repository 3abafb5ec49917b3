// The registry calls over a fresh device's hive.
#include "TempDevice.h"

#include "platform/Registry.h"

#include <gtest/gtest.h>

namespace {

LPCWSTR w(const QString &text)
{
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

class RegistryTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (HKEY key : m_open)
            RegCloseKey(key);
    }

    HKEY create(HKEY parent, const QString &path, DWORD *disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(parent, w(path), 0, nullptr, 0, 0, nullptr, &key, disposition), 0) << path.toStdString();
        m_open.push_back(key);
        return key;
    }
    LONG open(HKEY parent, const QString &path, HKEY *key)
    {
        const LONG result = RegOpenKeyExW(parent, w(path), 0, KEY_ALL_ACCESS, key);
        if (result == 0)
            m_open.push_back(*key);
        return result;
    }
    static LONG setDword(HKEY key, const QString &name, DWORD value)
    {
        return RegSetValueExW(key, w(name), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    }
    static LONG setString(HKEY key, const QString &name, const QString &value)
    {
        return RegSetValueExW(key, w(name), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.utf16()),
                              DWORD((value.size() + 1) * 2));
    }
    static QString readString(HKEY key, const QString &name)
    {
        WCHAR buffer[300] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        if (RegQueryValueExW(key, w(name), nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) != 0
            || type != REG_SZ)
            return QStringLiteral("<unreadable>");
        return QString::fromUtf16(buffer);
    }
    // Names a key enumeration (RegEnumKeyExW or RegEnumValueW) reports, in order.
    template <typename Enumerate>
    static QStringList names(HKEY key, Enumerate enumerate)
    {
        QStringList names;
        WCHAR name[300];
        for (DWORD i = 0;; ++i) {
            DWORD length = 300;
            const LONG result = enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result != 0) {
                EXPECT_EQ(result, LONG(ERROR_NO_MORE_ITEMS));
                return names;
            }
            names << QString::fromUtf16(name, length);
        }
    }
    static QStringList subKeys(HKEY key) { return names(key, RegEnumKeyExW); }
    static QStringList values(HKEY key) { return names(key, RegEnumValueW); }

    TempDevice m_device;
    std::vector<HKEY> m_open;
};

TEST_F(RegistryTest, CreateMakesEveryComponentAndTellsWhetherItWasNew)
{
    DWORD disposition = 0;
    create(HKEY_LOCAL_MACHINE, QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss"), &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    create(HKEY_LOCAL_MACHINE, QStringLiteral("\\SOFTWARE\\Brindlecove\\Quillmoss"), &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    create(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Brindlecove"), &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    HKEY key = nullptr;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Brindlecove"), &key), 0);
    EXPECT_EQ(subKeys(key), QStringList{QStringLiteral("Quillmoss")});
}

TEST_F(RegistryTest, SurplusBackslashesNameTheSameKey)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("\\SOFTWARE\\App"));
    ASSERT_EQ(setDword(key, QStringLiteral("v"), 7), 0);
    for (const QString &path : {QStringLiteral("SOFTWARE\\App"), QStringLiteral("\\\\SOFTWARE\\\\App\\"),
                                QStringLiteral("SOFTWARE\\App\\\\")}) {
        HKEY same = nullptr;
        ASSERT_EQ(open(HKEY_LOCAL_MACHINE, path, &same), 0) << path.toStdString();
        DWORD value = 0;
        DWORD size = sizeof value;
        EXPECT_EQ(RegQueryValueExW(same, u"v", nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size), 0);
        EXPECT_EQ(value, 7u);
    }
    HKEY software = nullptr;
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE"), &software), 0);
    EXPECT_EQ(subKeys(software), QStringList{QStringLiteral("App")});
}

TEST_F(RegistryTest, OpeningAMissingKeyIsFileNotFound)
{
    HKEY key = nullptr;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Nowhere\\Deeper"), &key), LONG(ERROR_FILE_NOT_FOUND));
    create(HKEY_LOCAL_MACHINE, QStringLiteral("Nowhere"));
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Nowhere\\Deeper"), &key), LONG(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, RootsAreSeparateTrees)
{
    create(HKEY_CLASSES_ROOT, QStringLiteral(".txt"));
    HKEY key = nullptr;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral(".txt"), &key), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, QStringLiteral(".TXT"), &key), 0);
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling)
{
    HKEY parent = create(HKEY_LOCAL_MACHINE, QStringLiteral("Case"));
    DWORD disposition = 0;
    create(parent, QStringLiteral("MixedCase"));
    HKEY again = create(parent, QStringLiteral("MIXEDCASE"), &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(subKeys(parent), QStringList{QStringLiteral("MixedCase")});

    ASSERT_EQ(setString(again, QStringLiteral("Value"), QStringLiteral("first")), 0);
    ASSERT_EQ(setString(again, QStringLiteral("vALUE"), QStringLiteral("second")), 0);
    EXPECT_EQ(values(again), QStringList{QStringLiteral("Value")});
    EXPECT_EQ(readString(again, QStringLiteral("VALUE")), QStringLiteral("second"));
}

TEST_F(RegistryTest, EnumerationKeepsCreationOrder)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Order"));
    for (const char *name : {"Zeta", "alpha", "Mid"})
        create(key, QString::fromLatin1(name));
    for (const char *name : {"y", "x", "b"})
        ASSERT_EQ(setDword(key, QString::fromLatin1(name), 1), 0);
    EXPECT_EQ(subKeys(key), (QStringList{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(values(key), (QStringList{"y", "x", "b"}));

    // Rewriting keeps a value's place; deleting and writing again moves it last.
    ASSERT_EQ(setDword(key, QStringLiteral("y"), 2), 0);
    ASSERT_EQ(RegDeleteValueW(key, u"x"), 0);
    ASSERT_EQ(setDword(key, QStringLiteral("x"), 3), 0);
    EXPECT_EQ(values(key), (QStringList{"y", "b", "x"}));
}

TEST_F(RegistryTest, EnumerationNameBuffersFollowThePlatformRules)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Buffers"));
    create(key, QStringLiteral("Sub"));
    ASSERT_EQ(setString(key, QStringLiteral("Name"), QStringLiteral("data")), 0);

    WCHAR name[8] = {};
    DWORD length = 3; // "Sub" needs 4 with its terminator
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_MORE_DATA));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(QString::fromUtf16(name), QStringLiteral("Sub"));
    EXPECT_EQ(RegEnumKeyExW(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_NO_MORE_ITEMS));

    length = 4;
    DWORD type = 0;
    BYTE data[4];
    DWORD dataLength = sizeof data; // "data" needs 10 bytes
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, data, &dataLength), LONG(ERROR_MORE_DATA));
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(dataLength, 10u);
    dataLength = 0;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, nullptr, &dataLength), 0);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(dataLength, 10u);
    length = 8;
    EXPECT_EQ(RegEnumValueW(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(RegEnumValueW(key, DWORD(-1), name, &length, nullptr, nullptr, nullptr, nullptr),
              LONG(ERROR_NO_MORE_ITEMS));
}

TEST_F(RegistryTest, QueryValueSizesTypesAndMissingValues)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Query"));
    ASSERT_EQ(setString(key, QStringLiteral("s"), QStringLiteral("abc")), 0);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, nullptr, &size), 0);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 8u);

    WCHAR small[2];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, reinterpret_cast<BYTE *>(small), &size),
              LONG(ERROR_MORE_DATA));
    EXPECT_EQ(size, 8u);

    type = 99;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, nullptr, nullptr), 0);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExW(key, u"missing", nullptr, &type, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, reinterpret_cast<BYTE *>(small), nullptr),
              LONG(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, NullAndEmptyNamesAddressTheDefaultValue)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Default"));
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(u"unnamed"), 16), 0);
    EXPECT_EQ(readString(key, QString()), QStringLiteral("unnamed"));
    EXPECT_EQ(values(key), QStringList{QString()});
    ASSERT_EQ(RegDeleteValueW(key, u""), 0);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, EmptyDataIsAValueToo)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Empty"));
    ASSERT_EQ(RegSetValueExW(key, u"none", 0, REG_BINARY, nullptr, 0), 0);
    DWORD type = 0;
    DWORD size = 5;
    EXPECT_EQ(RegQueryValueExW(key, u"none", nullptr, &type, nullptr, &size), 0);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegSetValueExW(key, u"bad", 0, REG_BINARY, nullptr, 4), LONG(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, QueryInfoCountsAndLongestNamesAndData)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Info"));
    create(key, QStringLiteral("abc"));
    create(key, QStringLiteral("a\U0001F600")); // a surrogate pair counts as two characters
    ASSERT_EQ(setString(key, QStringLiteral("long name"), QStringLiteral("0123456789")), 0);
    ASSERT_EQ(setDword(key, QStringLiteral("n"), 1), 0);

    DWORD subKeys = 9, maxSubKey = 9, values = 9, maxValueName = 9, maxData = 9;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                               &maxValueName, &maxData, nullptr, nullptr),
              0);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxSubKey, 3u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxValueName, 9u);
    EXPECT_EQ(maxData, 22u);

    HKEY empty = create(key, QStringLiteral("abc"));
    ASSERT_EQ(RegQueryInfoKeyW(empty, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                               &maxValueName, &maxData, nullptr, nullptr),
              0);
    EXPECT_EQ(subKeys + maxSubKey + values + maxValueName + maxData, 0u);
}

TEST_F(RegistryTest, DeletingAKeyTakesItsWholeSubtree)
{
    HKEY top = create(HKEY_LOCAL_MACHINE, QStringLiteral("Tree\\Top"));
    HKEY leaf = create(top, QStringLiteral("Middle\\Leaf"));
    ASSERT_EQ(setDword(leaf, QStringLiteral("deep"), 1), 0);
    ASSERT_EQ(setDword(top, QStringLiteral("shallow"), 1), 0);
    create(HKEY_LOCAL_MACHINE, QStringLiteral("Tree\\Sibling"));

    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"TREE\\top"), 0);
    HKEY key = nullptr;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Tree\\Top\\Middle\\Leaf"), &key), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Tree\\Top"), &key), LONG(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Tree"), &key), 0);
    EXPECT_EQ(subKeys(key), QStringList{QStringLiteral("Sibling")});

    // The same path made again starts empty.
    HKEY fresh = create(HKEY_LOCAL_MACHINE, QStringLiteral("Tree\\Top"));
    EXPECT_TRUE(subKeys(fresh).isEmpty());
    EXPECT_TRUE(values(fresh).isEmpty());

    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Tree\\Missing"), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), LONG(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, nullptr), LONG(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, AHandleToADeletedKeyReportsIt)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Doomed\\Child"));
    ASSERT_EQ(setDword(key, QStringLiteral("v"), 1), 0);
    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Doomed"), 0);

    DWORD size = 0;
    WCHAR name[16];
    DWORD length = 16;
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), LONG(ERROR_KEY_DELETED));
    EXPECT_EQ(setDword(key, QStringLiteral("v"), 2), LONG(ERROR_KEY_DELETED));
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_KEY_DELETED));
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), LONG(ERROR_KEY_DELETED));
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              LONG(ERROR_KEY_DELETED));
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExW(key, u"Sub", 0, nullptr, 0, 0, nullptr, &child, nullptr), LONG(ERROR_KEY_DELETED));
    // Making the path again does not revive the old handle.
    create(HKEY_LOCAL_MACHINE, QStringLiteral("Doomed\\Child"));
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), LONG(ERROR_KEY_DELETED));
}

TEST_F(RegistryTest, RootsCannotBeDeletedOrClosedAway)
{
    HKEY self = nullptr;
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, QString(), &self), 0);
    EXPECT_NE(self, HKEY_LOCAL_MACHINE);
    create(self, QStringLiteral("Child"));
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), 0);
    HKEY child = nullptr;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("Child"), &child), 0);
    EXPECT_EQ(RegCloseKey(nullptr), LONG(ERROR_INVALID_HANDLE));
}

TEST_F(RegistryTest, NamesLongerThanThePlatformAllowsAreRefused)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Limits"));
    const QString longest(255, QLatin1Char('k'));
    const QString tooLong(256, QLatin1Char('k'));
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExW(key, w(longest), 0, nullptr, 0, 0, nullptr, &child, nullptr), 0);
    RegCloseKey(child);
    EXPECT_EQ(RegCreateKeyExW(key, w(tooLong), 0, nullptr, 0, 0, nullptr, &child, nullptr),
              LONG(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(setDword(key, longest, 1), 0);
    EXPECT_EQ(setDword(key, tooLong, 1), LONG(ERROR_INVALID_PARAMETER));
}

// Names with quotes, SQL and pattern characters and non-ASCII text come back
// exactly, under any case, as keys and as values.
class AwkwardNameTest : public RegistryTest, public ::testing::WithParamInterface<const char16_t *>
{
};

TEST_P(AwkwardNameTest, RoundTripsAsKeyAndValue)
{
    const QString name = QString::fromUtf16(GetParam());
    HKEY parent = create(HKEY_CURRENT_USER, QStringLiteral("Awkward"));
    HKEY key = create(parent, name);
    ASSERT_EQ(setString(key, name, name), 0);
    ASSERT_EQ(setString(key, QStringLiteral("other"), QStringLiteral("x")), 0);

    EXPECT_EQ(subKeys(parent), QStringList{name});
    EXPECT_EQ(values(key), (QStringList{name, QStringLiteral("other")}));
    HKEY again = nullptr;
    ASSERT_EQ(open(parent, name.toUpper(), &again), 0);
    EXPECT_EQ(readString(again, name.toLower()), name);
    EXPECT_EQ(readString(again, QStringLiteral("other")), QStringLiteral("x"));
}

INSTANTIATE_TEST_SUITE_P(Names, AwkwardNameTest,
                         ::testing::Values(u"O'Brien", u"\"quoted\"", u"semi;colon", u"'; DROP TABLE keys; --",
                                           u"100%", u"under_score", u"Ünïcödé", u"日本語", u"smile \U0001F600",
                                           u" spaced ", u"x' OR '1'='1", u"%_*?"));

TEST_F(RegistryTest, ValueNamesMayHoldBackslashes)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Bookmarks"));
    ASSERT_EQ(setString(key, QStringLiteral("\\My Documents\\"), QStringLiteral("folder")), 0);
    EXPECT_EQ(values(key), QStringList{QStringLiteral("\\My Documents\\")});
    EXPECT_EQ(readString(key, QStringLiteral("\\MY DOCUMENTS\\")), QStringLiteral("folder"));
}

TEST_F(RegistryTest, WritesOutliveTheDeviceObject)
{
    HKEY key = create(HKEY_LOCAL_MACHINE, QStringLiteral("Lasting"));
    ASSERT_EQ(setString(key, QStringLiteral("kept"), QStringLiteral("yes")), 0);

    Device reopened(m_device.dir());
    CurrentDevice current(reopened);
    HKEY again = nullptr;
    ASSERT_EQ(open(HKEY_LOCAL_MACHINE, QStringLiteral("LASTING"), &again), 0);
    EXPECT_EQ(readString(again, QStringLiteral("kept")), QStringLiteral("yes"));
}

} // namespace
