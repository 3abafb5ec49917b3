// The Find Files dialog with its worker, run from the main frame's Find command.
#include "Panes.h"

#include "list/CFileListCtrl.h"
#include "res/ResourceIds.h"
#include "tools/CFindFilesDlg.h"

#include <QFile>
#include <QPushButton>

namespace {

class FindFilesDlgTest : public Panes
{
protected:
    // \s\hit.txt holds the text; \s\big\huge.bin is a scan far too long to finish.
    void SetUp() override
    {
        device.writeFile("\\s\\hit.txt", "a needle");
        device.writeFile("\\s\\big\\huge.bin", {});
        ASSERT_TRUE(QFile::resize(device.host("\\s\\big\\huge.bin"), qint64(64) << 30));
        start(true);
    }

    // Runs the Find command; act sees the dialog open.
    void runFind(const std::function<void(CFindFilesDlg &)> &act)
    {
        ScopedModalHook hook([&](CDialog &dialog) { act(static_cast<CFindFilesDlg &>(dialog)); });
        run(ID_TOOLS_FIND);
        EXPECT_EQ(frame->findDialog(), nullptr);
    }
    static QPushButton *button(CFindFilesDlg &d, int id) { return d.GetDlgItem<QPushButton>(id); }
};

TEST_F(FindFilesDlgTest, StopRestartGoToDirAndClosingTheMainWindow)
{
    // Starts a search for the text below \s and waits for its first hit.
    const auto startLongSearch = [](CFindFilesDlg &d) {
        type(d, CFindFilesDlg::IDC_DIRECTORY, "\\s\\");
        type(d, CFindFilesDlg::IDC_CONTAINING, "needle");
        button(d, CFindFilesDlg::IDC_START)->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.results().GetItemCount() == 1; }));
        EXPECT_EQ(button(d, CFindFilesDlg::IDC_START)->text(), "Stop");
    };
    runFind([&](CFindFilesDlg &d) {
        EXPECT_EQ(d.GetDlgItem<QLineEdit>(CFindFilesDlg::IDC_FILENAME)->text(), "*.*");
        EXPECT_FALSE(button(d, CFindFilesDlg::IDC_GOTO)->isEnabled());
        startLongSearch(d);
        QPushButton *start = button(d, CFindFilesDlg::IDC_START);
        start->click(); // Stop, in the middle of the huge file
        // The worker ends just after posting its end.
        EXPECT_TRUE(QTest::qWaitFor([&] { return start->text() == "Start" && !d.IsWorkerRunning(); }));
        EXPECT_EQ(d.results().GetItemText(0, 0), "\\s\\hit.txt");
        // Start while the old worker is finishing (the caption already reads
        // Start): the same search again once it has ended, the fields unread.
        startLongSearch(d);
        start->setText("Start");
        type(d, CFindFilesDlg::IDC_CONTAINING, "nowhere");
        start->click();
        EXPECT_TRUE(d.hasTimer(CFindFilesDlg::RestartTimer));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.hasTimer(CFindFilesDlg::RestartTimer); }));
        EXPECT_EQ(start->text(), "Stop");
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.results().GetItemCount() == 1; }));
        EXPECT_EQ(d.containing(), "needle");
        d.reject(); // Cancel stops the running worker and waits for it
        EXPECT_FALSE(d.IsWorkerRunning());
    });
    // Go to Dir selects the found file's folder and the file.
    device.make({"\\My Documents\\sub\\target.txt", "\\rooted.txt"});
    for (const auto &[name, folder] : {std::pair{"target.txt", "\\My Documents\\sub\\"}, {"rooted.txt", "\\"}}) {
        runFind([&](CFindFilesDlg &d) {
            type(d, CFindFilesDlg::IDC_DIRECTORY, "\\");
            type(d, CFindFilesDlg::IDC_FILENAME, name);
            button(d, CFindFilesDlg::IDC_START)->click();
            EXPECT_TRUE(QTest::qWaitFor([&] { return button(d, CFindFilesDlg::IDC_START)->text() == "Start"; }));
            CFileListCtrl &list = d.results();
            ASSERT_EQ(list.GetItemCount(), 1);
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.visualItemRect(list.topLevelItem(0)).center().y()));
            ASSERT_TRUE(button(d, CFindFilesDlg::IDC_GOTO)->isEnabled());
            button(d, CFindFilesDlg::IDC_GOTO)->click();
            EXPECT_EQ(d.resultFolder(), QString(folder).chopped(1));
        });
        EXPECT_EQ(QStringList({tree().GetSelectedPath(), list().GetFirstSelectedName(),
                               QString::number(list().GetSelectedCount())}), QStringList({folder, name, "1"}));
    }
    // Closing the main window ends a running search.
    runFind([&](CFindFilesDlg &d) {
        startLongSearch(d);
        frame->close();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_FALSE(frame->isVisible());
}

} // namespace
