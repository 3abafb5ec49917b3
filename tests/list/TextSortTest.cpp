// The find result list's text sort: states, orders and the message for a
// column it cannot sort.
#include "FileListViewFixture.h"

#include "list/CFileListCtrl.h"

namespace {

class TextSortTest : public ::testing::Test
{
protected:
    TextSortTest() { list.CreateColumns(); }

    void fill(int column, const QStringList &texts)
    {
        list.DeleteAllItems();
        for (const QString &text : texts)
            list.topLevelItem(list.InsertItem(-1, text, 0))->setText(column, text);
    }
    QStringList sortedBy(int column)
    {
        list.SortByColumn(column);
        QStringList texts;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            texts << list.GetItemText(row, column);
            EXPECT_EQ(list.GetItemData(row), row);
        }
        return texts;
    }

    QCoreApplication *app = listTestApp();
    TempDevice device;
    ScriptedSink sink;
    CFileListCtrl list;
};

TEST_F(TextSortTest, StatesAndOrders)
{
    using C = CFileListCore;
    fill(C::NameColumn, {"b", "A", "c"});
    EXPECT_EQ(sortedBy(C::NameColumn), QStringList({"A", "b", "c"}));
    EXPECT_EQ(sortedBy(C::NameColumn), QStringList({"c", "b", "A"}));
    EXPECT_EQ(list.TextSortState(), 6);

    fill(C::TypeColumn, {"b File", "A File", "c File"});
    EXPECT_EQ(sortedBy(C::TypeColumn), QStringList({"c File", "b File", "A File"})) << "reversed at first";
    EXPECT_EQ(list.TextSortState(), 49);
    EXPECT_EQ(sortedBy(C::TypeColumn), QStringList({"A File", "b File", "c File"}));

    fill(C::SizeColumn, {"1.0Mb", "900 b", "1023.9Kb", "1.0Kb", "2 b"});
    EXPECT_EQ(sortedBy(C::SizeColumn), QStringList({"2 b", "900 b", "1.0Kb", "1023.9Kb", "1.0Mb"}));
    EXPECT_EQ(list.TextSortState(), 9);
    fill(C::AttrsColumn, {"R", "A", "H"});
    EXPECT_EQ(sortedBy(C::AttrsColumn), QStringList({"A", "H", "R"})) << "Size then Attrs counts as a second tap";
    EXPECT_EQ(list.TextSortState(), 26);
    EXPECT_EQ(sortedBy(C::AttrsColumn), QStringList({"R", "H", "A"}));
    EXPECT_EQ(list.TextSortState(), 25);
}

// Dates read day first, as they are shown; a row without a date (its file
// gone) comes first.
TEST_F(TextSortTest, ChangedComparesTheShownDates)
{
    fill(CFileListCore::ChangedColumn, {"05-08-2003 10:00:00", "19-07-2003 09:00:00", "", "06-07-2003 23:59:59",
                                        "06-07-2003 08:00:00", "01-01-1999 00:00:00"});
    EXPECT_EQ(sortedBy(CFileListCore::ChangedColumn),
              QStringList({"", "01-01-1999 00:00:00", "06-07-2003 08:00:00", "06-07-2003 23:59:59",
                           "19-07-2003 09:00:00", "05-08-2003 10:00:00"}));
}

TEST_F(TextSortTest, UnknownTitleIsReported)
{
    fill(CFileListCore::AttrsColumn, {"R", "A"});
    list.headerItem()->setText(CFileListCore::AttrsColumn, "Attributes");
    sink.expect("Sorting on this column is not posible", "Quillmoss", MB_OK | MB_ICONEXCLAMATION, IDOK);
    EXPECT_EQ(sortedBy(CFileListCore::AttrsColumn), QStringList({"R", "A"}));
    EXPECT_EQ(list.TextSortState(), 0);
}

} // namespace
