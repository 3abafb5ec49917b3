// Sorting the file list by tapping its column headers, and the text sort of
// the find result list.
#include "FileListViewFixture.h"

#include "list/CFileListCtrl.h"

namespace {

using SortTest = FileListViewFixture;

// Each column's first tap ascends and its second descends: the direction
// flips on every tap, whichever column, even one it refuses, and survives a
// reload.
TEST_F(SortTest, EveryColumnAscendsThenDescendsAndTheDirectionFlipsOnEveryTap)
{
    // Every column orders these four files differently.
    const QDateTime t0(QDate(2004, 1, 1), QTime(10, 0));
    makeFile("\\s\\b.txt", 300, t0.addSecs(3 * 3600), FILE_ATTRIBUTE_ARCHIVE);                          // A
    makeFile("\\s\\C.bat", 10, t0.addSecs(2 * 3600), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE); // RA
    makeFile("\\s\\a.doc", 2000, t0.addSecs(3600), FILE_ATTRIBUTE_HIDDEN);                              // H
    makeFile("\\s\\readme", 50, t0, FILE_ATTRIBUTE_SYSTEM);                                             // S
    m_list.ShowFolder("\\s\\", true);
    const std::pair<SortKey, QStringList> columns[] = {
        {SortKey::Name, {"a.doc", "b.txt", "C.bat", "readme"}},
        {SortKey::Size, {"C.bat", "readme", "b.txt", "a.doc"}},
        {SortKey::Type, {"readme", "C.bat", "a.doc", "b.txt"}},
        {SortKey::Changed, {"readme", "a.doc", "C.bat", "b.txt"}},
        {SortKey::Attrs, {"b.txt", "a.doc", "C.bat", "readme"}},
    };
    EXPECT_EQ(m_list.sortKey(), SortKey::None);
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE(CFileListCore::Columns[column].title);
        const auto &[key, ascending] = columns[column];
        tapHeader(column);
        EXPECT_EQ(m_list.sortKey(), key);
        EXPECT_TRUE(m_list.sortAscending());
        EXPECT_EQ(rows(), ascending);
        tapHeader(column);
        EXPECT_FALSE(m_list.sortAscending());
        EXPECT_EQ(rows(), QStringList(ascending.rbegin(), ascending.rend()));
    }
    EXPECT_EQ(sink.waitDepth(), 0);

    tapHeader(1);
    device.writeFile("\\s\\mid.txt", QByteArray(100, 'x'));
    m_list.RefreshFolder();
    EXPECT_EQ(rows(), (QStringList{"C.bat", "readme", "mid.txt", "b.txt", "a.doc"}));
    tapHeader(0);
    const QStringList byNameDescending{"readme", "mid.txt", "C.bat", "b.txt", "a.doc"};
    EXPECT_EQ(rows(), byNameDescending);
    // An unknown title and one that cannot be read are refused.
    m_list.listModel().setHeaderData(4, Qt::Horizontal, "Attributes");
    m_list.listModel().setHeaderData(2, Qt::Horizontal, QVariant());
    sink.expect("Sorting on this column is not posible", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    tapHeader(4);
    EXPECT_EQ(sink.pending(), 0);
    EXPECT_EQ(sink.lastOwner(), &m_list);
    EXPECT_EQ(m_list.sortKey(), SortKey::Name);
    EXPECT_EQ(rows(), byNameDescending);
    tapHeader(1);
    const QStringList bySizeDescending{"a.doc", "b.txt", "mid.txt", "readme", "C.bat"};
    EXPECT_EQ(rows(), bySizeDescending);
    sink.expect("Sorting on this column failed", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    tapHeader(2);
    EXPECT_EQ(sink.pending(), 0);
    EXPECT_EQ(m_list.sortKey(), SortKey::Size) << "no sort happened";
    EXPECT_TRUE(m_list.sortAscending());
    EXPECT_EQ(rows(), bySizeDescending);
}

// The find result list's text sort: states, orders and the message for a
// column it cannot sort.
TEST_F(Panes, FindResultTextSortStatesOrdersAndAnUnknownTitle)
{
    CFileListCtrl list;
    list.CreateColumns();
    const auto fill = [&](int column, const QStringList &texts) {
        list.DeleteAllItems();
        for (const QString &text : texts)
            list.topLevelItem(list.InsertItem(-1, text, 0))->setText(column, text);
    };
    const auto sortedBy = [&](int column) {
        list.SortByColumn(column);
        QStringList texts;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            texts << list.GetItemText(row, column);
            EXPECT_EQ(list.GetItemData(row), row);
        }
        return texts;
    };
    using C = CFileListCore;
    // Dates read day first, as they are shown; a row without a date (its file
    // gone) comes first.
    fill(C::ChangedColumn, {"05-08-2003 10:00:00", "19-07-2003 09:00:00", "", "06-07-2003 23:59:59"});
    EXPECT_EQ(sortedBy(C::ChangedColumn),
              QStringList({"", "06-07-2003 23:59:59", "19-07-2003 09:00:00", "05-08-2003 10:00:00"}));

    fill(C::NameColumn, {"b", "A", "c"});
    EXPECT_EQ(sortedBy(C::NameColumn), QStringList({"A", "b", "c"}));
    EXPECT_EQ(sortedBy(C::NameColumn), QStringList({"c", "b", "A"}));
    EXPECT_EQ(list.TextSortState(), 6);

    fill(C::TypeColumn, {"b File", "A File", "c File"});
    EXPECT_EQ(sortedBy(C::TypeColumn), QStringList({"c File", "b File", "A File"})) << "reversed at first";
    EXPECT_EQ(list.TextSortState(), 49);
    EXPECT_EQ(sortedBy(C::TypeColumn), QStringList({"A File", "b File", "c File"}));

    fill(C::SizeColumn, {"1.0Mb", "900 b", "1023.9Kb", "2 b"});
    EXPECT_EQ(sortedBy(C::SizeColumn), QStringList({"2 b", "900 b", "1023.9Kb", "1.0Mb"}));
    EXPECT_EQ(list.TextSortState(), 9);
    fill(C::AttrsColumn, {"R", "A", "H"});
    EXPECT_EQ(sortedBy(C::AttrsColumn), QStringList({"A", "H", "R"})) << "Size then Attrs counts as a second tap";
    EXPECT_EQ(list.TextSortState(), 26);
    EXPECT_EQ(sortedBy(C::AttrsColumn), QStringList({"R", "H", "A"}));
    EXPECT_EQ(list.TextSortState(), 25);
    // An unknown title is reported and changes nothing.
    const int state = list.TextSortState();
    fill(C::AttrsColumn, {"R", "A"});
    list.headerItem()->setText(C::AttrsColumn, "Attributes");
    sink.expect("Sorting on this column is not posible", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_EQ(sortedBy(C::AttrsColumn), QStringList({"R", "A"}));
    EXPECT_EQ(list.TextSortState(), state);
}

} // namespace
