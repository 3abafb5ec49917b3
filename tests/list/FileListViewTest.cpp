// Loading a folder into the file list and answering its cell requests.
#include "FileListViewFixture.h"
#include "Settings.h"

#include "list/FileListModel.h"

#include <QAbstractItemModelTester>
#include <QProcess>

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

// Every entry's find data in the list's order.
QStringList entryFacts(const CFileListViewEx &list)
{
    QStringList facts;
    for (int i = 0; i < list.entries().GetSize(); ++i) {
        const WIN32_FIND_DATAW &data = list.entries()[i]->FindData();
        facts << QString("%1 %2 %3 %4 %5")
                     .arg(fromWide(data.cFileName))
                     .arg(data.nFileSizeLow)
                     .arg(data.dwFileAttributes)
                     .arg(data.ftLastWriteTime.dwLowDateTime)
                     .arg(data.dwOID);
    }
    return facts;
}

// A big folder shown again is read by its changes, made by the program or by another process:
// it shows what a new list reading it in full shows, in the same order, and keeps the entries
// of the files that did not change.
TEST_F(ShowFolderTest, ABigFolderShownAgainShowsWhatAFullReadShows)
{
    const QString host = device.host("\\p\\big");
    ASSERT_TRUE(QDir().mkpath(host));
    ASSERT_EQ(QProcess::execute("sh", {"-c", "cd \"$0\" && seq -f 'f%g.txt' 1 1100 | xargs touch && "
                                             "echo outside > ../target.txt && ln -s ../target.txt link.txt", host}),
              0);
    m_list.ShowFolder("\\p\\big", true);
    const auto shell = [&](const char *command) {
        return [=] { return QProcess::execute("sh", {"-c", QString("cd \"$0\" && ") + command, host}) == 0; };
    };
    const struct {
        std::function<bool()> change;
        int reloaded; // entries made anew; -1: read in full
    } steps[] = {
        {[] { return true; }, 1 /* the link */},
        {[] {
             return CopyFileW(u"\\p\\big\\f1.txt", u"\\p\\big\\copy.txt", TRUE) && DeleteFileW(u"\\p\\big\\f2.txt")
                 && SetFileAttributesW(u"\\p\\big\\f3.txt", FILE_ATTRIBUTE_READONLY)
                 && MoveFileW(u"\\p\\big\\f4.txt", u"\\p\\big\\moved.txt") && CreateDirectoryW(u"\\p\\big\\sub", nullptr);
         },
         4},
        {shell("echo more >> f5.txt && touch -d 2001-01-01 f6.txt && rm f7.txt && mkdir f8.txt.d && "
               "rm f9.txt && mkdir f9.txt && echo longer > ../target.txt && touch lib.dll"),
         4},
        {[] {
             writeSetting(RegistryLayout::FileFilterKey, RegistryLayout::MainFilter, 1);
             return true;
         },
         -1},
        // Another folder at the same path.
        {shell("cd ../.. && mv p q && mkdir -p p/big && cp -p q/big/f1?.txt p/big/ && echo x > p/big/f10.txt"), -1},
    };
    for (const auto &step : steps) {
        ASSERT_TRUE(step.change());
        QHash<QString, const CFileEntry *> before;
        for (int i = 0; i < m_list.entries().GetSize(); ++i)
            before.insert(m_list.entries()[i]->Name(), m_list.entries()[i]);
        m_list.RefreshFolder();
        CFileListViewEx full;
        full.ShowFolder("\\p\\big", true);
        EXPECT_EQ(entryFacts(m_list), entryFacts(full));
        EXPECT_EQ(m_list.GetItemCount(), full.entries().GetSize());
        int reloaded = 0;
        for (int i = 0; i < m_list.entries().GetSize(); ++i)
            reloaded += before.value(m_list.entries()[i]->Name()) != m_list.entries()[i];
        EXPECT_EQ(reloaded, step.reloaded < 0 ? m_list.entries().GetSize() : step.reloaded);
    }
}

} // namespace
