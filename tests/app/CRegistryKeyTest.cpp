// Walking keys by textual path with CRegistryKey.
#include "Settings.h"
#include "TempDevice.h"

#include "settings/CRegistryKey.h"

namespace {

class CRegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Subkeys A, B and values x, y, created in that order.
        CRegistryAccess registry;
        ASSERT_EQ(registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\A", "a", 1), RegSuccess);
        ASSERT_EQ(registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\B", "b", 1), RegSuccess);
        ASSERT_EQ(registry.WriteString(HKEY_LOCAL_MACHINE, "Software\\Walk", "x", "text"), RegSuccess);
        ASSERT_EQ(registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk", "y", 42), RegSuccess);
    }

    TempDevice m_device;
    CRegistryKey m_key;
};

// A new object and a closed one hold no key.
TEST_F(CRegistryKeyTest, ANewOrClosedObjectHoldsNoKey)
{
    for (const bool opened : {false, true}) {
        if (opened) {
            ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
            m_key.Close();
        }
        QString path = "junk", name = "junk";
        EXPECT_EQ(m_key.GetPath(&path), S_OK);
        EXPECT_TRUE(path.isEmpty());
        RegEntryKind kind = RegKindSubKey;
        EXPECT_EQ(m_key.EnumFirst(&name, &kind), E_FAIL);
        EXPECT_TRUE(name.isEmpty());
        EXPECT_EQ(kind, RegKindOther);
        EXPECT_EQ(m_key.GetValueKind("x", &kind), E_FAIL);
        DWORD value = 0;
        EXPECT_EQ(m_key.ReadDword("y", &value), E_FAIL);
    }
}

TEST_F(CRegistryKeyTest, OpenResolvesRootNamesAfterUpperCasingAndCreatesThePath)
{
    const struct {
        const char *path;
        bool create;
        HRESULT result;
    } cases[] = {
        {"hkey_local_machine\\Software", false, S_OK},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\walk", false, S_OK},
        {"HKEY_LOCAL_MACHINE", false, S_OK},
        {"HKLM\\Software", false, E_FAIL},
        {"HKLM\\Software", true, E_FAIL},
        {"\\Software", false, E_FAIL},
        {"HKEY_LOCAL_MACHINE\\Software\\Missing", false, E_FAIL},
        {"", true, E_INVALIDARG},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(m_key.Open(QString::fromUtf8(c.path), c.create), c.result) << c.path;
        QString path;
        m_key.GetPath(&path);
        EXPECT_EQ(path, c.result == S_OK ? QString::fromUtf8(c.path) : QString()) << c.path;
    }
    // With create the whole path is made.
    EXPECT_EQ(m_key.Open("HKEY_CLASSES_ROOT\\qmfile\\\\Shell\\Open\\Command\\", true), S_OK);
    CRegistryKey check;
    EXPECT_EQ(check.Open("HKEY_CLASSES_ROOT\\qmfile\\Shell\\Open\\Command", false), S_OK);
    QString name;
    RegEntryKind kind = RegKindOther;
    EXPECT_EQ(check.EnumFirst(&name, &kind), S_FALSE);
}

TEST_F(CRegistryKeyTest, EnumeratesSubkeysThenValuesInReverse)
{
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    const std::pair<QString, RegEntryKind> expected[] = {
        {"A", RegKindSubKey},
        {"B", RegKindSubKey},
        {"y", RegKindDword},
        {"x", RegKindString},
    };
    QString name;
    RegEntryKind kind = RegKindOther;
    for (int round = 0; round < 2; ++round) {
        HRESULT result = m_key.EnumFirst(&name, &kind);
        for (const auto &[expectedName, expectedKind] : expected) {
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(name, expectedName);
            EXPECT_EQ(kind, expectedKind);
            result = m_key.EnumNext(&name, &kind);
        }
        EXPECT_EQ(result, S_FALSE);
        EXPECT_TRUE(name.isEmpty());
        EXPECT_EQ(kind, RegKindOther);
    }
    EXPECT_EQ(m_key.EnumNext(nullptr, &kind), E_INVALIDARG);
    EXPECT_EQ(m_key.EnumNext(&name, nullptr), E_INVALIDARG);
}

TEST_F(CRegistryKeyTest, NamesLongerThanAtOpenFailTheWalk)
{
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    CRegistryAccess registry;
    ASSERT_EQ(registry.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Walk\\A"), RegSuccess);
    ASSERT_EQ(registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\A much longer name", QString(), 1), RegSuccess);
    QString name;
    RegEntryKind kind = RegKindOther;
    EXPECT_EQ(m_key.EnumFirst(&name, &kind), S_OK);
    EXPECT_EQ(name, "B");
    EXPECT_EQ(m_key.EnumNext(&name, &kind), E_FAIL);
    EXPECT_TRUE(name.isEmpty());

    // Opening again takes the new sizes.
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    EXPECT_EQ(m_key.EnumFirst(&name, &kind), S_OK);
    EXPECT_EQ(m_key.EnumNext(&name, &kind), S_OK);
    EXPECT_EQ(name, "A much longer name");
}

TEST_F(CRegistryKeyTest, ValueKindsFollowThePlatformType)
{
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Kinds", true), S_OK);
    const std::pair<DWORD, RegEntryKind> table[] = {
        {REG_NONE, RegKindOther},           {REG_SZ, RegKindString},
        {REG_EXPAND_SZ, RegKindExpandString}, {REG_BINARY, RegKindBinary},
        {REG_DWORD, RegKindDword},          {REG_DWORD_BIG_ENDIAN, RegKindDwordBigEndian},
        {REG_MULTI_SZ, RegKindMultiString}, {REG_RESOURCE_LIST, RegKindResourceList},
        {REG_LINK, RegKindOther},           {11, RegKindOther},
    };
    for (const auto &[type, kind] : table) {
        const QString name = QString::number(type);
        setRaw(HKEY_LOCAL_MACHINE, "Software\\Kinds", name, type, {});
        RegEntryKind got = RegKindSubKey;
        DWORD gotType = 99;
        EXPECT_EQ(m_key.GetValueKind(name, &got, &gotType), S_OK);
        EXPECT_EQ(got, kind) << type;
        EXPECT_EQ(gotType, type);
    }
    RegEntryKind got = RegKindOther;
    EXPECT_EQ(m_key.GetValueKind("missing", &got), E_FAIL);
}

TEST_F(CRegistryKeyTest, ReadsOnlyTheMatchingKind)
{
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    DWORD value = 0;
    QString text;
    EXPECT_EQ(m_key.ReadDword("Y", &value), S_OK);
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(m_key.ReadString("X", &text), S_OK);
    EXPECT_EQ(text, "text");

    EXPECT_EQ(m_key.ReadDword("x", &value), E_FAIL);
    EXPECT_EQ(m_key.ReadString("y", &text), E_FAIL);
    EXPECT_EQ(m_key.ReadDword(QString(), &value), E_INVALIDARG);
    EXPECT_EQ(m_key.ReadDword("missing", &value), E_FAIL);
}

} // namespace
