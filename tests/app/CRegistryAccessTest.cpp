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
    const HKEY lm = HKEY_LOCAL_MACHINE, cr = HKEY_CLASSES_ROOT;
};

// Each call's status, in order. Reading from a fresh install creates the key
// and keeps the default; an empty value name is the key's default value;
// deletes act on the given key or fail; a key path that cannot be made is
// status 5, writes have their own codes.
TEST_F(CRegistryAccessTest, WritesStoreThePlatformsTypesAndSizesEachCallHasItsStatusAndReadsCheckTheType)
{
    EXPECT_FALSE(keyExists(NetPathsKey));
    const QString tooLong = AppKey + '\\' + QString(256, 'x'), tooLongName(256, 'n');
    DWORD count = 0, value = 0, deleted = 7, ignored = 0;
    std::unique_ptr<WCHAR[]> none;
    const std::pair<RegStatus, RegStatus> calls[] = {
        {m_registry.ReadDword(lm, NetPathsKey, Count, count), RegReadFailed},
        {m_registry.ReadString(lm, "\\SOFTWARE\\New\\Path", bookmarkName(0), none), RegReadFailed},
        {m_registry.WriteDword(lm, AppKey, ShowHeader, 0x01020304), RegSuccess},
        {m_registry.WriteString(lm, BookmarksKey, bookmarkName(0), "Doc"), RegSuccess},
        {m_registry.WriteString(lm, BookmarksKey, "Doc", QString()), RegSuccess},
        {m_registry.WriteString(lm, AppKey, QString(), "Quillmoss"), RegSuccess},
        {m_registry.ReadDword(lm, AppKey, ShowHeader, value), RegSuccess},
        {m_registry.WriteDword(lm, BookmarksKey, Count, 2), RegSuccess},
        {m_registry.DeleteValue(lm, BookmarksKey, "COUNT"), RegSuccess},
        {m_registry.ReadDword(lm, BookmarksKey, Count, deleted), RegReadFailed},
        {m_registry.DeleteValue(lm, BookmarksKey, Count), RegDeleteFailed},
        {m_registry.WriteString(cr, ".qm", QString(), "qmfile"), RegSuccess},
        {m_registry.WriteString(cr, "qmfile\\Shell\\Open\\Command", QString(), "x.exe %1"), RegSuccess},
        {m_registry.DeleteKey(cr, "qmfile"), RegSuccess},
        {m_registry.DeleteKey(cr, "qmfile"), RegDeleteFailed},
        {m_registry.DeleteKey(nullptr, ".qm"), RegNoKey},
        {m_registry.ReadDword(lm, tooLong, Count, ignored), RegOpenFailed},
        {m_registry.WriteDword(lm, tooLong, Count, 1), RegOpenFailed},
        {m_registry.WriteDword(nullptr, AppKey, Count, 1), RegOpenFailed},
        {m_registry.WriteDword(lm, AppKey, tooLongName, 1), RegWriteDwordFailed},
        {m_registry.WriteString(lm, AppKey, tooLongName, "s"), RegWriteStringFailed},
    };
    for (size_t i = 0; i < std::size(calls); ++i)
        EXPECT_EQ(calls[i].first, calls[i].second) << "call " << i;
    EXPECT_EQ(std::tuple(count, value, deleted, bool(none)), std::tuple(0u, 0x01020304u, 7u, false));
    EXPECT_TRUE(keyExists(NetPathsKey) && keyExists("SOFTWARE\\New\\Path"));
    EXPECT_EQ(raw(cr, "qmfile\\Shell", "").second, "<missing key>");
    EXPECT_EQ(raw(lm, AppKey, ShowHeader), std::make_pair(REG_DWORD, QByteArray("\x04\x03\x02\x01", 4)));
    EXPECT_EQ(raw(lm, BookmarksKey, "Name0"), std::make_pair(REG_SZ, QByteArray("D\0o\0c\0\0\0", 8)));
    EXPECT_EQ(raw(lm, BookmarksKey, "doc"), std::make_pair(REG_SZ, QByteArray("\0\0", 2)));
    EXPECT_EQ(raw(lm, AppKey, "").second, QByteArray("Q\0u\0i\0l\0l\0m\0o\0s\0s\0\0\0", 20));
    EXPECT_EQ(m_registry.DeleteValue(lm, AppKey, ""), RegSuccess);
    EXPECT_EQ(raw(lm, AppKey, QString()).first, REG_NONE);

    // A number is read by type and size; text is handed out owned and zero-terminated.
    const std::tuple<DWORD, QByteArray, RegStatus, DWORD> numbers[] = { // the value after, pre-set to 0xAAAAAAAA
        {REG_DWORD, QByteArray("\2\0\0\0", 4), RegSuccess, 2},
        {REG_SZ, QByteArray("1\0\0\0", 4), RegWrongType, 0x31},
        {REG_SZ, QByteArray("1\0" "0\0\0\0", 6), RegReadFailed, 0xAAAAAAAA},
        {REG_BINARY, QByteArray("\1\2", 2), RegWrongType, 0xAAAA0201},
        {REG_DWORD_BIG_ENDIAN, QByteArray("\0\0\0\1", 4), RegWrongType, 0x01000000},
    };
    for (const auto &[type, stored, status, after] : numbers) {
        setRaw(lm, FileFilterKey, MainFilter, type, stored);
        DWORD value = 0xAAAAAAAA;
        EXPECT_EQ(m_registry.ReadDword(lm, FileFilterKey, MainFilter, value), status) << type;
        EXPECT_EQ(value, after) << type;
    }

    ASSERT_EQ(m_registry.WriteString(lm, AppKey, "written", "\\\\pc\\share"), RegSuccess);
    // Value name, type stored (REG_NONE: not stored here), bytes, status, text handed out (null: none).
    const std::tuple<const char *, DWORD, QByteArray, RegStatus, const char *> texts[] = {
        {"written", REG_NONE, {}, RegSuccess, "\\\\pc\\share"},
        {"terminator", REG_SZ, QByteArray("\0\0", 2), RegSuccess, ""},
        {"nothing", REG_SZ, QByteArray(), RegSuccess, ""},
        {"unterminated", REG_SZ, QByteArray("a\0b\0c", 5), RegSuccess, "abc"},
        {"dword", REG_DWORD, QByteArray("\1\0\0\0", 4), RegWrongType, nullptr},
        {"missing", REG_NONE, {}, RegReadFailed, nullptr},
    };
    for (const auto &[name, type, stored, status, expected] : texts) {
        SCOPED_TRACE(name);
        if (type != REG_NONE)
            setRaw(lm, AppKey, name, type, stored);
        std::unique_ptr<WCHAR[]> text;
        EXPECT_EQ(m_registry.ReadString(lm, AppKey, name, text), status);
        EXPECT_EQ(text ? QString::fromUtf16(text.get()) : "<none>", expected ? expected : "<none>");
    }
    // An output that is not empty is refused and left alone.
    std::unique_ptr<WCHAR[]> text(new WCHAR[4]{u'o', u'l', u'd', 0});
    const WCHAR *before = text.get();
    EXPECT_EQ(m_registry.ReadString(lm, AppKey, "written", text), RegOutputNotEmpty);
    EXPECT_EQ(text.get(), before);
    EXPECT_EQ(QString::fromUtf16(text.get()), "old");
}

} // namespace
