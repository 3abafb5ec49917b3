// The settings store's open-act-close operations on a fresh device.
#include "TempDevice.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <gtest/gtest.h>

namespace {

using namespace RegistryLayout;

class CRegistryAccessTest : public ::testing::Test
{
protected:
    // Writes raw bytes of any type under HKLM\path, bypassing the store.
    void setRaw(const QString &path, const QString &name, DWORD type, const QByteArray &data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, nullptr, 0, 0, nullptr, &key, nullptr), 0);
        ASSERT_EQ(RegSetValueExW(key, wide(name), 0, type, reinterpret_cast<const BYTE *>(data.constData()),
                                 DWORD(data.size())),
                  0);
        RegCloseKey(key);
    }
    // Type and bytes as stored, or type REG_NONE and "<missing>".
    static std::pair<DWORD, QByteArray> raw(const QString &path, const QString &name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, KEY_ALL_ACCESS, &key) != 0)
            return {REG_NONE, "<missing key>"};
        QByteArray data(64, '\0');
        DWORD size = DWORD(data.size());
        DWORD type = REG_NONE;
        const LONG result = RegQueryValueExW(key, wide(name), nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
        RegCloseKey(key);
        if (result != 0)
            return {REG_NONE, "<missing>"};
        data.truncate(size);
        return {type, data};
    }
    static bool keyExists(const QString &path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, KEY_ALL_ACCESS, &key) != 0)
            return false;
        RegCloseKey(key);
        return true;
    }

    TempDevice m_device;
    CRegistryAccess m_registry;
};

TEST_F(CRegistryAccessTest, ReadingFromAFreshInstallCreatesTheKeyAndKeepsTheDefault)
{
    for (const QString &path : {BookmarksKey, NetPathsKey}) {
        EXPECT_FALSE(keyExists(path));
        DWORD count = 0;
        EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, path, Count, count), RegReadFailed);
        EXPECT_EQ(count, 0u);
        EXPECT_TRUE(keyExists(path)) << path.toStdString();
    }
    std::unique_ptr<WCHAR[]> text;
    EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\New\\Path", bookmarkName(0), text), RegReadFailed);
    EXPECT_FALSE(text);
    EXPECT_TRUE(keyExists("SOFTWARE\\New\\Path"));
}

TEST_F(CRegistryAccessTest, WritesStoreThePlatformsTypesAndSizes)
{
    ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, AppKey, ShowHeader, 0x01020304), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, bookmarkName(0), "Doc"), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, BookmarksKey, "Doc", QString()), RegSuccess);

    EXPECT_EQ(raw(AppKey, ShowHeader), std::make_pair(REG_DWORD, QByteArray("\x04\x03\x02\x01", 4)));
    EXPECT_EQ(raw(BookmarksKey, "Name0"), std::make_pair(REG_SZ, QByteArray("D\0o\0c\0\0\0", 8)));
    EXPECT_EQ(raw(BookmarksKey, "doc"), std::make_pair(REG_SZ, QByteArray("\0\0", 2)));

    DWORD value = 0;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, AppKey, ShowHeader, value), RegSuccess);
    EXPECT_EQ(value, 0x01020304u);
}

struct DwordCase {
    const char *what;
    DWORD type;
    QByteArray stored;
    RegStatus status;
    DWORD after; // the variable was pre-set to 0xAAAAAAAA
};

class ReadDwordTest : public CRegistryAccessTest, public ::testing::WithParamInterface<DwordCase>
{
};

TEST_P(ReadDwordTest, AnswersByTypeAndSize)
{
    const DwordCase &c = GetParam();
    setRaw(FileFilterKey, MainFilter, c.type, c.stored);
    DWORD value = 0xAAAAAAAA;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, FileFilterKey, MainFilter, value), c.status);
    EXPECT_EQ(value, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadDwordTest,
    ::testing::Values(DwordCase{"dword", REG_DWORD, QByteArray("\2\0\0\0", 4), RegSuccess, 2},
                      DwordCase{"short string", REG_SZ, QByteArray("1\0\0\0", 4), RegWrongType, 0x31},
                      DwordCase{"long string", REG_SZ, QByteArray("1\0" "0\0\0\0", 6), RegReadFailed, 0xAAAAAAAA},
                      DwordCase{"two bytes", REG_BINARY, QByteArray("\1\2", 2), RegWrongType, 0xAAAA0201},
                      DwordCase{"big endian", REG_DWORD_BIG_ENDIAN, QByteArray("\0\0\0\1", 4), RegWrongType,
                                0x01000000}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        return name.toStdString();
    });

TEST_F(CRegistryAccessTest, ReadStringHandsOutOwnedZeroTerminatedText)
{
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, NetPathsKey, netPath(0), "\\\\pc\\share"), RegSuccess);
    std::unique_ptr<WCHAR[]> text;
    ASSERT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, NetPathsKey, netPath(0), text), RegSuccess);
    ASSERT_TRUE(text);
    EXPECT_EQ(QString::fromUtf16(text.get()), "\\\\pc\\share");
}

TEST_F(CRegistryAccessTest, ReadStringEdgeCases)
{
    setRaw(AppKey, "terminator", REG_SZ, QByteArray("\0\0", 2));
    setRaw(AppKey, "nothing", REG_SZ, QByteArray());
    setRaw(AppKey, "unterminated", REG_SZ, QByteArray("a\0b\0c", 5));
    setRaw(AppKey, "dword", REG_DWORD, QByteArray("\1\0\0\0", 4));

    const struct {
        const char *name;
        RegStatus status;
        const char *text; // null: nothing handed out
    } cases[] = {
        {"terminator", RegSuccess, ""},
        {"nothing", RegSuccess, ""},
        {"unterminated", RegSuccess, "abc"},
        {"dword", RegWrongType, nullptr},
        {"missing", RegReadFailed, nullptr},
    };
    for (const auto &c : cases) {
        std::unique_ptr<WCHAR[]> text;
        EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, AppKey, QString::fromLatin1(c.name), text), c.status)
            << c.name;
        ASSERT_EQ(text != nullptr, c.text != nullptr) << c.name;
        if (c.text) {
            EXPECT_EQ(QString::fromUtf16(text.get()), QString::fromLatin1(c.text)) << c.name;
        }
    }
}

TEST_F(CRegistryAccessTest, ReadStringRefusesAnOutputThatIsNotEmpty)
{
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, "s", "new"), RegSuccess);
    std::unique_ptr<WCHAR[]> text(new WCHAR[4]{u'o', u'l', u'd', 0});
    const WCHAR *before = text.get();
    EXPECT_EQ(m_registry.ReadString(HKEY_LOCAL_MACHINE, AppKey, "s", text), RegOutputNotEmpty);
    EXPECT_EQ(text.get(), before);
    EXPECT_EQ(QString::fromUtf16(text.get()), "old");
}

TEST_F(CRegistryAccessTest, AnEmptyValueNameIsTheDefaultValue)
{
    ASSERT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, QString(), "Quillmoss"), RegSuccess);
    EXPECT_EQ(raw(AppKey, "").second, QByteArray("Q\0u\0i\0l\0l\0m\0o\0s\0s\0\0\0", 20));
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, AppKey, ""), RegSuccess);
    EXPECT_EQ(raw(AppKey, QString()).first, REG_NONE);
}

TEST_F(CRegistryAccessTest, DeleteValueRemovesItOrFails)
{
    ASSERT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, BookmarksKey, Count, 2), RegSuccess);
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, BookmarksKey, "COUNT"), RegSuccess);
    DWORD count = 7;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, BookmarksKey, Count, count), RegReadFailed);
    EXPECT_EQ(count, 7u);
    EXPECT_EQ(m_registry.DeleteValue(HKEY_LOCAL_MACHINE, BookmarksKey, Count), RegDeleteFailed);
}

TEST_F(CRegistryAccessTest, DeleteKeyActsOnTheGivenKeyDirectly)
{
    ASSERT_EQ(m_registry.WriteString(HKEY_CLASSES_ROOT, ".qm", QString(), "qmfile"), RegSuccess);
    ASSERT_EQ(m_registry.WriteString(HKEY_CLASSES_ROOT, "qmfile\\Shell\\Open\\Command", QString(), "x.exe %1"),
              RegSuccess);
    EXPECT_EQ(m_registry.DeleteKey(HKEY_CLASSES_ROOT, "qmfile"), RegSuccess);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"qmfile\\Shell", 0, KEY_ALL_ACCESS, &key), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(m_registry.DeleteKey(HKEY_CLASSES_ROOT, "qmfile"), RegDeleteFailed);
    EXPECT_EQ(m_registry.DeleteKey(nullptr, ".qm"), RegNoKey);
}

TEST_F(CRegistryAccessTest, AKeyPathThatCannotBeMadeIsStatusFive)
{
    const QString tooLong = AppKey + QLatin1Char('\\') + QString(256, QLatin1Char('x'));
    DWORD value = 0;
    EXPECT_EQ(m_registry.ReadDword(HKEY_LOCAL_MACHINE, tooLong, Count, value), RegOpenFailed);
    EXPECT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, tooLong, Count, 1), RegOpenFailed);
    EXPECT_EQ(m_registry.WriteDword(nullptr, AppKey, Count, 1), RegOpenFailed);
}

TEST_F(CRegistryAccessTest, WriteFailuresHaveTheirOwnCodes)
{
    const QString tooLongName(256, QLatin1Char('n'));
    EXPECT_EQ(m_registry.WriteDword(HKEY_LOCAL_MACHINE, AppKey, tooLongName, 1), RegWriteDwordFailed);
    EXPECT_EQ(m_registry.WriteString(HKEY_LOCAL_MACHINE, AppKey, tooLongName, "s"), RegWriteStringFailed);
}

} // namespace
