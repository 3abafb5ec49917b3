// Walking keys by textual path with CRegistryKey.
#include "Settings.h"
#include "TempDevice.h"

#include "settings/CRegistryKey.h"

namespace {

QString entry(const QString &name, RegEntryKind kind) { return name + ':' + QString::number(kind); }
// How a walk ends: its result, and (as it should be) an empty name and no kind.
QString ended(HRESULT result, const QString &name = "", RegEntryKind kind = RegKindOther)
{
    return "ended " + QString::number(result) + ' ' + entry(name, kind);
}

class CRegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Subkeys A, B and values x, y, created in that order.
        ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\A", "a", 1), RegSuccess);
        ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\B", "b", 1), RegSuccess);
        ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, "Software\\Walk", "x", "text"), RegSuccess);
        ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk", "y", 42), RegSuccess);
    }
    // Every entry from EnumFirst on, then how the walk ended.
    QStringList walk()
    {
        QStringList seen;
        QString name = "junk";
        RegEntryKind kind = RegKindSubKey;
        for (HRESULT result = m_key.EnumFirst(&name, &kind);; result = m_key.EnumNext(&name, &kind)) {
            if (result != S_OK)
                return seen << ended(result, name, kind);
            seen << entry(name, kind);
        }
    }

    TempDevice m_device;
    CRegistryAccess m_registry;
    CRegistryKey m_key;
};

// A new object and a closed one hold no key. Names longer than at Open fail
// the walk until the key is opened again. Values are read only by their kind.
TEST_F(CRegistryKeyTest, EnumeratesSubkeysThenValuesInReverse)
{
    for (const bool opened : {false, true}) {
        if (opened) {
            ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
            m_key.Close();
        }
        QString path = "junk";
        RegEntryKind kind = RegKindSubKey;
        DWORD value = 0;
        EXPECT_EQ((QList<HRESULT>{m_key.GetPath(&path), m_key.GetValueKind("x", &kind), m_key.ReadDword("y", &value)}),
                  (QList<HRESULT>{S_OK, E_FAIL, E_FAIL}));
        EXPECT_TRUE(path.isEmpty());
        EXPECT_EQ(walk(), QStringList{ended(E_FAIL)});
    }

    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    const QStringList all{entry("A", RegKindSubKey), entry("B", RegKindSubKey), entry("y", RegKindDword),
                          entry("x", RegKindString), ended(S_FALSE)};
    EXPECT_EQ(walk(), all);
    EXPECT_EQ(walk(), all) << "walked again from the start";
    DWORD value = 0, ignored = 0;
    QString text, ignoredText;
    RegEntryKind kind = RegKindOther;
    EXPECT_EQ((QList<HRESULT>{m_key.EnumNext(nullptr, &kind), m_key.EnumNext(&text, nullptr),
                              m_key.ReadDword("Y", &value), m_key.ReadString("X", &text),
                              m_key.ReadDword("x", &ignored), m_key.ReadString("y", &ignoredText),
                              m_key.ReadDword(QString(), &ignored), m_key.ReadDword("missing", &ignored)}),
              (QList<HRESULT>{E_INVALIDARG, E_INVALIDARG, S_OK, S_OK, E_FAIL, E_FAIL, E_INVALIDARG, E_FAIL}));
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(text, "text");

    ASSERT_EQ(m_registry.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Walk\\A"), RegSuccess);
    ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, "Software\\Walk\\A much longer name", QString(), 1),
              RegSuccess);
    EXPECT_EQ(walk(), (QStringList{entry("B", RegKindSubKey), ended(E_FAIL)}));
    ASSERT_EQ(m_key.Open("HKEY_LOCAL_MACHINE\\Software\\Walk", false), S_OK);
    EXPECT_EQ(walk().mid(0, 2), (QStringList{entry("B", RegKindSubKey), entry("A much longer name", RegKindSubKey)}));
}

TEST_F(CRegistryKeyTest, OpenResolvesRootNamesAfterUpperCasingCreatesThePathAndValueKindsFollowThePlatformType)
{
    const std::tuple<const char *, bool, HRESULT> cases[] = {
        {"hkey_local_machine\\Software", false, S_OK},  {"HKEY_LOCAL_MACHINE\\SOFTWARE\\walk", false, S_OK},
        {"HKEY_LOCAL_MACHINE", false, S_OK},            {"HKLM\\Software", false, E_FAIL},
        {"HKLM\\Software", true, E_FAIL},               {"\\Software", false, E_FAIL},
        {"HKEY_LOCAL_MACHINE\\Software\\Missing", false, E_FAIL}, {"", true, E_INVALIDARG},
    };
    for (const auto &[path, create, result] : cases) {
        EXPECT_EQ(m_key.Open(path, create), result) << path;
        QString opened;
        m_key.GetPath(&opened);
        EXPECT_EQ(opened, result == S_OK ? QString(path) : QString()) << path;
    }
    // With create the whole path is made.
    EXPECT_EQ(m_key.Open("HKEY_CLASSES_ROOT\\qmfile\\\\Shell\\Open\\Command\\", true), S_OK);
    ASSERT_EQ(m_key.Open("HKEY_CLASSES_ROOT\\qmfile\\Shell\\Open\\Command", false), S_OK);
    EXPECT_EQ(walk(), QStringList{ended(S_FALSE)});

    // Value kinds follow the platform type.
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
        EXPECT_EQ(std::pair(got, gotType), std::pair(kind, type));
    }
    RegEntryKind got = RegKindOther;
    EXPECT_EQ(m_key.GetValueKind("missing", &got), E_FAIL);
}

} // namespace
