// Sorting the file list by tapping its column headers.
#include "FileListViewFixture.h"

namespace {

class SortTest : public FileListViewFixture
{
protected:
    SortTest()
    {
        // Every column orders these four files differently.
        const QDateTime t0(QDate(2004, 1, 1), QTime(10, 0));
        struct {
            const char *name;
            int size;
            int hoursLater;
            DWORD attributes;
        } files[] = {
            {"b.txt", 300, 3, FILE_ATTRIBUTE_ARCHIVE},                           // A
            {"C.bat", 10, 2, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE}, // RA
            {"a.doc", 2000, 1, FILE_ATTRIBUTE_HIDDEN},                           // H
            {"readme", 50, 0, FILE_ATTRIBUTE_SYSTEM},                            // S
        };
        for (const auto &file : files) {
            const QString path = QString("\\s\\") + file.name;
            m_device.writeFile(path, QByteArray(file.size, 'x'));
            setModified(path, t0.addSecs(3600 * file.hoursLater));
            setAttributes(path, file.attributes);
        }
        m_list.ShowFolder("\\s\\", true);
    }
};

struct SortCase {
    int column;
    SortKey key;
    QStringList ascending;
};

class SortByColumn : public SortTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortByColumn, FirstTapAscendsSecondDescends)
{
    const SortCase &c = GetParam();
    EXPECT_EQ(m_list.sortKey(), SortKey::None);

    tapHeader(c.column);
    EXPECT_EQ(m_list.sortKey(), c.key);
    EXPECT_TRUE(m_list.sortAscending());
    EXPECT_EQ(rows(), c.ascending);

    tapHeader(c.column);
    EXPECT_FALSE(m_list.sortAscending());
    QStringList descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(rows(), descending);
    EXPECT_EQ(m_sink.waitDepth(), 0);
}

std::string ColumnName(const ::testing::TestParamInfo<SortCase> &info)
{
    return CFileListCore::Columns[info.param.column].title;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, SortByColumn,
    ::testing::Values(SortCase{0, SortKey::Name, {"a.doc", "b.txt", "C.bat", "readme"}},
                      SortCase{1, SortKey::Size, {"C.bat", "readme", "b.txt", "a.doc"}},
                      SortCase{2, SortKey::Type, {"readme", "C.bat", "a.doc", "b.txt"}},
                      SortCase{3, SortKey::Changed, {"readme", "a.doc", "C.bat", "b.txt"}},
                      SortCase{4, SortKey::Attrs, {"b.txt", "a.doc", "C.bat", "readme"}}),
    ColumnName);

TEST_F(SortTest, DirectionFlipsOnEveryTapWhicheverColumnAndSurvivesAReload)
{
    tapHeader(1);
    m_device.writeFile("\\s\\mid.txt", QByteArray(100, 'x'));
    m_list.RefreshFolder();
    EXPECT_EQ(rows(), (QStringList{"C.bat", "readme", "mid.txt", "b.txt", "a.doc"}));
    tapHeader(0);
    EXPECT_EQ(rows(), (QStringList{"readme", "mid.txt", "C.bat", "b.txt", "a.doc"}));
}

TEST_F(SortTest, UnknownOrUnreadableTitleIsRefusedButStillFlipsTheDirection)
{
    m_list.listModel().setHeaderData(4, Qt::Horizontal, "Attributes");
    m_list.listModel().setHeaderData(2, Qt::Horizontal, QVariant());
    const QStringList before = rows();
    m_sink.expect("Sorting on this column is not posible", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    tapHeader(4);
    EXPECT_EQ(m_sink.pending(), 0);
    EXPECT_EQ(m_sink.lastOwner(), &m_list);
    EXPECT_EQ(m_list.sortKey(), SortKey::None);
    EXPECT_EQ(rows(), before);
    tapHeader(1);
    const QStringList bySizeDescending{"a.doc", "b.txt", "readme", "C.bat"};
    EXPECT_EQ(rows(), bySizeDescending);

    m_sink.expect("Sorting on this column failed", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    tapHeader(2);
    EXPECT_EQ(m_sink.pending(), 0);
    EXPECT_EQ(m_list.sortKey(), SortKey::Size) << "no sort happened";
    EXPECT_TRUE(m_list.sortAscending());
    EXPECT_EQ(rows(), bySizeDescending);
}

} // namespace
