// Loading a folder into the file list and answering its cell requests.
#include "FileListViewFixture.h"
#include "Settings.h"

#include "list/FileListModel.h"

#include <QAbstractItemModelTester>

namespace {

using ShowFolderTest = FileListViewFixture;

// Qt's model tester watches every load.
TEST_F(ShowFolderTest, LoadsOnlyANewPathOrOnForceThroughTheFilterAndAnswersCellRequests)
{
    QAbstractItemModelTester tester(&m_list.listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    device.make({"\\root1.txt", "\\Windows\\first.txt"});
    // A new list's folder is a lone backslash; the root is kept as an empty
    // string, so a lone backslash reloads it.
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\");
    m_list.ShowFolder("\\", false);
    EXPECT_EQ(m_list.GetItemCount(), 0);
    m_list.ShowFolder("\\", true);
    EXPECT_EQ(m_list.GetCurrentFolder(), "");
    EXPECT_EQ(rows(), QStringList{"root1.txt"});
    device.make({"\\root2.txt"});
    m_list.ShowFolder("\\", false);
    EXPECT_EQ(rows().size(), 2);
    EXPECT_EQ(sink.waitCount(), 2);
    EXPECT_EQ(sink.waitDepth(), 0);

    m_list.ShowFolder("\\Windows", false);
    const QStringList before = rows();
    device.make({"\\Windows\\second.txt"});
    m_list.ShowFolder("\\Windows", false);
    EXPECT_EQ(rows(), before);
    m_list.ShowFolder("\\Windows", true);
    EXPECT_EQ(sorted(rows()), sorted(before + QStringList{"second.txt"}));
    // The trailing backslash makes the path differ from the stored folder.
    device.make({"\\Windows\\third.txt"});
    m_list.ShowFolder("\\Windows\\", false);
    EXPECT_EQ(m_list.GetCurrentFolder(), "\\Windows");
    EXPECT_TRUE(rows().contains("third.txt"));
    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    // The filter applies (which names it hides is its own test's business);
    // folders without files show no rows.
    device.make({"\\f\\lib.dll", "\\f\\notes.txt", "\\empty\\", "\\dirs\\one\\", "\\dirs\\two\\x.txt"});
    writeSetting(RegistryLayout::FileFilterKey, RegistryLayout::MainFilter, 1);
    for (const char *folder : {"\\empty\\", "\\dirs\\", "\\missing\\"}) {
        m_list.ShowFolder("\\f\\", true);
        ASSERT_EQ(rows(), QStringList{"notes.txt"});
        m_list.ShowFolder(folder, true);
        EXPECT_EQ(m_list.GetItemCount(), 0) << folder;
        EXPECT_EQ(m_list.entries().GetSize(), 0) << folder;
    }

    // Cells show the shared formats, cut to the requester's buffer.
    makeFile("\\c\\abcdefghij.qmx", 1536, QDateTime(QDate(2003, 8, 19), QTime(12, 59, 18)),
             FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    m_list.ShowFolder("\\c\\", true);
    WCHAR buffer[64];
    CellRequest cell;
    // Asks for a cell (text into a buffer of that capacity, pre-filled with
    // '#', and the image when asked); the text given back.
    const auto request = [&](int item, int column, int capacity, UINT mask = LVIF_TEXT) {
        std::fill_n(buffer, 64, u'#');
        cell = CellRequest{item, column, mask, buffer, capacity, 77};
        m_list.listModel().GetDispInfo(cell);
        return QString::fromUtf16(buffer, std::find(buffer, buffer + 64, u'\0') - buffer);
    };
    const char *texts[] = {"abcdefghij.qmx", "1.5Kb", "QMX File" /* unregistered */, "19-08-2003 12:59:18", "RA"};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(m_list.GetItemText(0, column), texts[column]);
    EXPECT_EQ(m_list.listModel().index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(request(0, 0, 64), "abcdefghij.qmx");
    EXPECT_EQ(request(0, 0, 5), "abcd");
    EXPECT_EQ(buffer[5], u'#') << "nothing written past the capacity";
    EXPECT_EQ(request(0, 0, 1), "");
    EXPECT_EQ(buffer[1], u'#');
    // Only rows answer, and only the Name column has images.
    ASSERT_EQ(m_list.GetItemCount(), 1);
    const int images = m_list.imageList().GetImageCount();
    for (int item : {1, -1}) {
        request(item, 0, 64, LVIF_TEXT | LVIF_IMAGE);
        EXPECT_EQ(buffer[0], u'#') << item;
        EXPECT_EQ(cell.image, 77) << item;
    }
    EXPECT_EQ(m_list.imageList().GetImageCount(), images);
    request(0, 1, 64, LVIF_IMAGE);
    EXPECT_EQ(cell.image, 77) << "left alone";
    // The shell's icon is appended and used, or the fallback image 0 (the
    // file type tests tell which); the next load trims the appended ones.
    const int base = m_list.baseImageCount();
    EXPECT_EQ(base, 1);
    request(0, 0, 64, LVIF_IMAGE);
    EXPECT_TRUE(cell.image == 0 || cell.image == base) << cell.image;
    EXPECT_EQ(m_list.imageList().GetImageCount(), cell.image == 0 ? base : base + 1);
    m_list.RefreshFolder();
    EXPECT_EQ(m_list.imageList().GetImageCount(), base);
}

} // namespace
