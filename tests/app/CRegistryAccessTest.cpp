// The settings store's open-act-close operations on a fresh device.
#include "Settings.h"
#include "TempDevice.h"

namespace {

using namespace RegistryLayout;

class CRegistryAccessTest : public ::testing::Test
{
protected:
    static bool keyExists(const QString &path) { return raw(HKEY_LOCAL_MACHINE, path, "").second != "<missing key>"; }

    TempDevice m_device;
    CRegistryAccess m_registry;
};

TEST_F(CRegistryAccessTest, ReadingFromAFreshInstallCreatesTheKeyAndKeepsTheDefault)
{
    EXPECT_FALSE(keyExists(NetPathsKey));
    DWORD count = 0;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, NetPathsKey, Count, count), RegReadFailed);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(keyExists(NetPathsKey));
    std::unique_ptr<WCHAR[]> text;
    EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\New\\Path", bookmarkName(0), text), RegReadFailed);
    EXPECT_FALSE(text);
    EXPECT_TRUE(keyExists("SOFTWARE\\New\\Path"));
}

// An empty value name is the key's default value.
TEST_F(CRegistryAccessTest, WritesStoreThePlatformsTypesAndSizes)
{
    ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, AppKey, ShowHeader, 0x01020304), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, bookmarkName(0), "Doc"), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, "Doc", QString()), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, QString(), "Quillmoss"), RegSuccess);

    EXPECT_EQ(raw(HKEY_LOCAL_MACHINE, AppKey, ShowHeader),
              std::make_pair(REG_DWORD, QByteArray("\x04\x03\x02\x01", 4)));
    EXPECT_EQ(raw(HKEY_LOCAL_MACHINE, BookmarksKey, "Name0"), std::make_pair(REG_SZ, QByteArray("D\0o\0c\0\0\0", 8)));
    EXPECT_EQ(raw(HKEY_LOCAL_MACHINE, BookmarksKey, "doc"), std::make_pair(REG_SZ, QByteArray("\0\0", 2)));
    EXPECT_EQ(raw(HKEY_LOCAL_MACHINE, AppKey, "").second, QByteArray("Q\0u\0i\0l\0l\0m\0o\0s\0s\0\0\0", 20));

    DWORD value = 0;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, AppKey, ShowHeader, value), RegSuccess);
    EXPECT_EQ(value, 0x01020304u);
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, AppKey, ""), RegSuccess);
    EXPECT_EQ(raw(HKEY_LOCAL_MACHINE, AppKey, QString()).first, REG_NONE);
}

TEST_F(CRegistryAccessTest, ReadDwordAnswersByTypeAndSize)
{
    const struct {
        DWORD type;
        QByteArray stored;
        RegStatus status;
        DWORD after; // the variable was pre-set to 0xAAAAAAAA
    } cases[] = {
        {REG_DWORD, QByteArray("\2\0\0\0", 4), RegSuccess, 2},
        {REG_SZ, QByteArray("1\0\0\0", 4), RegWrongType, 0x31},
        {REG_SZ, QByteArray("1\0" "0\0\0\0", 6), RegReadFailed, 0xAAAAAAAA},
        {REG_BINARY, QByteArray("\1\2", 2), RegWrongType, 0xAAAA0201},
        {REG_DWORD_BIG_ENDIAN, QByteArray("\0\0\0\1", 4), RegWrongType, 0x01000000},
    };
    for (const auto &c : cases) {
        setRaw(HKEY_LOCAL_MACHINE, FileFilterKey, MainFilter, c.type, c.stored);
        DWORD value = 0xAAAAAAAA;
        EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, FileFilterKey, MainFilter, value), c.status) << c.type;
        EXPECT_EQ(value, c.after) << c.type;
    }
}

TEST_F(CRegistryAccessTest, ReadStringHandsOutOwnedZeroTerminatedText)
{
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, "written", "\\\\pc\\share"), RegSuccess);
    const struct {
        const char *name;
        DWORD type; // REG_NONE: not stored here
        QByteArray stored;
        RegStatus status;
        const char *text; // null: nothing handed out
    } cases[] = {
        {"written", REG_NONE, {}, RegSuccess, "\\\\pc\\share"},
        {"terminator", REG_SZ, QByteArray("\0\0", 2), RegSuccess, ""},
        {"nothing", REG_SZ, QByteArray(), RegSuccess, ""},
        {"unterminated", REG_SZ, QByteArray("a\0b\0c", 5), RegSuccess, "abc"},
        {"dword", REG_DWORD, QByteArray("\1\0\0\0", 4), RegWrongType, nullptr},
        {"missing", REG_NONE, {}, RegReadFailed, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.type != REG_NONE)
            setRaw(HKEY_LOCAL_MACHINE, AppKey, c.name, c.type, c.stored);
        std::unique_ptr<WCHAR[]> text;
        EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, AppKey, c.name, text), c.status);
        ASSERT_EQ(text != nullptr, c.text != nullptr);
        if (c.text) {
            EXPECT_EQ(QString::fromUtf16(text.get()), QString::fromLatin1(c.text));
        }
    }
    // An output that is not empty is refused and left alone.
    std::unique_ptr<WCHAR[]> text(new WCHAR[4]{u'o', u'l', u'd', 0});
    const WCHAR *before = text.get();
    EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, AppKey, "written", text), RegOutputNotEmpty);
    EXPECT_EQ(text.get(), before);
    EXPECT_EQ(QString::fromUtf16(text.get()), "old");
}

TEST_F(CRegistryAccessTest, DeletesActOnTheGivenKeyOrFail)
{
    ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, BookmarksKey, Count, 2), RegSuccess);
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, BookmarksKey, "COUNT"), RegSuccess);
    DWORD count = 7;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, BookmarksKey, Count, count), RegReadFailed);
    EXPECT_EQ(count, 7u);
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, BookmarksKey, Count), RegDeleteFailed);

    ASSERT_EQ(m_registry.WriteString(HKEY_CLASSES_ROOT, ".qm", QString(), "qmfile"), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_CLASSES_ROOT, "qmfile\\Shell\\Open\\Command", QString(), "x.exe %1"),
              RegSuccess);
    EXPECT_EQ(m_registry.DeleteKey(HKEY_CLASSES_ROOT, "qmfile"), RegSuccess);
    EXPECT_EQ(raw(HKEY_CLASSES_ROOT, "qmfile\\Shell", "").second, "<missing key>");
    EXPECT_EQ(m_registry.DeleteKey(HKEY_CLASSES_ROOT, "qmfile"), RegDeleteFailed);
    EXPECT_EQ(m_registry.DeleteKey(nullptr, ".qm"), RegNoKey);
}

// A key path that cannot be made is status 5; writes have their own codes.
TEST_F(CRegistryAccessTest, FailuresHaveTheirOwnCodes)
{
    const QString tooLong = AppKey + '\\' + QString(256, 'x'), tooLongName(256, 'n');
    DWORD value = 0;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, tooLong, Count, value), RegOpenFailed);
    EXPECT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, tooLong, Count, 1), RegOpenFailed);
    EXPECT_EQ(m_registry.WriteDword(nullptr, AppKey, Count, 1), RegOpenFailed);
    EXPECT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, AppKey, tooLongName, 1), RegWriteDwordFailed);
    EXPECT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, tooLongName, "s"), RegWriteStringFailed);
}

} // namespace
