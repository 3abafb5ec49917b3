#include "PlatformTestUtil.h"
#include "TempDevice.h"

#include "platform/FileTime.h"
#include "platform/WildcardPattern.h"

#include <QRandomGenerator>

#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

class FindFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.make({"\\d\\abc", "\\d\\aXc.txt", "\\d\\readme.TXT", "\\d\\.hidden", "\\d\\Ünïcødé.txt", "\\d\\sub\\",
                "\\empty\\", "\\\\SRV\\Public\\inside\\", "\\\\SRV\\Backup\\", "\\\\EMPTYSRV\\Share\\"});
    }
    TempDevice t;
};

TEST_F(FindFilesTest, WildcardsMatchWithoutRegardToCaseAndTheRecordHoldsTheFacts)
{
    const QStringList all = {".hidden", "aXc.txt", "abc", "readme.TXT", "sub", "Ünïcødé.txt"};
    const std::pair<QString, QStringList> cases[] = {
        {"\\d\\*", all},                                          {"\\d\\*.*", all},
        {"\\d\\*.TXT", {"aXc.txt", "readme.TXT", "Ünïcødé.txt"}}, {"\\d\\A?C.*", {"aXc.txt", "abc"}},
        {"\\d\\ü*", {"Ünïcødé.txt"}},                             {"\\D\\README.txt", {"readme.TXT"}},
    };
    for (const auto &[pattern, names] : cases)
        EXPECT_EQ(findNames(pattern), names) << pattern.toStdString();
    // The record holds size, times, attributes and object id; a computer lists its shares.
    t.writeFile("\\d\\data.bin", QByteArray(5000, 'z'));
    const QString host = t.host("\\d\\data.bin");
    const timespec times[2] = {{1000000000, 500}, {1234567890, 123456700}};
    ASSERT_EQ(::utimensat(AT_FDCWD, host.toLocal8Bit().constData(), times, 0), 0);
    struct stat st;
    ASSERT_EQ(::stat(host.toLocal8Bit().constData(), &st), 0);
    WIN32_FIND_DATAW data;
    ASSERT_TRUE(findOne("\\d\\data.bin", data));
    EXPECT_EQ(fromWide(data.cFileName), "data.bin");
    // Size high and low, attributes, object id.
    EXPECT_EQ((std::vector<DWORD>{data.nFileSizeHigh, data.nFileSizeLow, data.dwFileAttributes, data.dwOID}),
              (std::vector<DWORD>{0, 5000, 0, DWORD(st.st_ino)}));
    EXPECT_EQ(FileTime::ticks(data.ftLastWriteTime), (1234567890ULL + 11644473600ULL) * 10000000ULL + 1234567ULL);
    EXPECT_EQ(FileTime::ticks(data.ftLastAccessTime), (1000000000ULL + 11644473600ULL) * 10000000ULL + 5ULL);
    EXPECT_NE(FileTime::ticks(data.ftCreationTime), 0u);
    ASSERT_TRUE(findOne("\\d\\sub", data));
    EXPECT_EQ(std::pair(data.dwFileAttributes, data.nFileSizeLow), std::pair(DWORD(FILE_ATTRIBUTE_DIRECTORY), 0u));
    EXPECT_EQ(findNames("\\\\srv\\*"), QStringList({"Backup", "Public"}));
    EXPECT_EQ(findNames("\\\\SRV\\public\\*"), QStringList({"inside"}));
    EXPECT_EQ(GetFileAttributesW(u"\\\\srv\\Public"), FILE_ATTRIBUTE_DIRECTORY);
}

// Errors tell an empty folder from no match from a missing folder or computer;
// an enumeration ends with "no more files" and a closed handle is refused.
TEST_F(FindFilesTest, ErrorsTellEmptyFolderFromNoMatchFromMissingFolderOrComputerAndHandlesAreChecked)
{
    const std::pair<QString, DWORD> cases[] = {
        {"\\empty\\*", ERROR_NO_MORE_FILES},                    {"\\empty\\*.*", ERROR_NO_MORE_FILES},
        {"\\empty\\*.txt", ERROR_FILE_NOT_FOUND},               {"\\d\\nothing", ERROR_FILE_NOT_FOUND},
        {"\\d\\", ERROR_FILE_NOT_FOUND},                        {"\\missing\\*", ERROR_PATH_NOT_FOUND},
        {"\\d\\abc\\*", ERROR_PATH_NOT_FOUND},                  {"\\d\\..\\*", ERROR_INVALID_NAME},
        {"\\" + QString(300, 'x'), ERROR_FILENAME_EXCED_RANGE}, {"\\\\emptysrv\\share\\*", ERROR_NO_MORE_FILES},
        {"\\\\nosuch\\*", ERROR_BAD_NETPATH},
    };
    for (const auto &[pattern, error] : cases) {
        DWORD got = 0;
        EXPECT_TRUE(findNames(pattern, &got).isEmpty()) << pattern.toStdString();
        EXPECT_EQ(got, error) << pattern.toStdString();
    }
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(u"\\d\\abc", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    expectRefused({REFUSES(FindNextFileW(find, &data), ERROR_NO_MORE_FILES),
                   REFUSES(FindNextFileW(find, &data), ERROR_NO_MORE_FILES)});
    EXPECT_TRUE(FindClose(find));
    expectRefused({REFUSES(FindClose(find), ERROR_INVALID_HANDLE),
                   REFUSES(FindNextFileW(find, &data), ERROR_INVALID_HANDLE)});
}

// The literal rule: "*" any run (none, one or many), "?" exactly one.
bool referenceMatch(QStringView pattern, QStringView name)
{
    if (pattern.isEmpty())
        return name.isEmpty();
    if (pattern[0] == '*')
        return referenceMatch(pattern.mid(1), name) || (!name.isEmpty() && referenceMatch(pattern, name.mid(1)));
    return !name.isEmpty() && (pattern[0] == '?' || pattern[0].toCaseFolded() == name[0].toCaseFolded())
        && referenceMatch(pattern.mid(1), name.mid(1));
}

TEST(WildcardPattern, MatchesTheLiteralRuleOnRandomNames)
{
    QRandomGenerator random(1999);
    const auto text = [&](const char *alphabet, int length) {
        QString s;
        for (int i = 0; i < length; ++i)
            s += QChar(alphabet[random.bounded(int(std::strlen(alphabet)))]);
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString pattern = text("ab.?*B", 1 + int(random.bounded(5)));
        const QString name = text("abB.", int(random.bounded(6)));
        const bool expected = pattern == "*" || pattern == "*.*" || referenceMatch(pattern, name)
            || (pattern.endsWith(".*") && referenceMatch(pattern.chopped(2), name));
        ASSERT_EQ(WildcardPattern(pattern).matches(name), expected) << qPrintable(pattern + " " + name);
    }
}

} // namespace
