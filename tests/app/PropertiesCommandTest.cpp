// The Properties command: the system information sheet for the tree's root,
// the properties dialog for a folder or the list's focused file, and the
// list reloaded only when the attributes were changed.
#include "Panes.h"

#include "filetypes/CFilePropertiesDlg.h"
#include "framework/CPropertySheet.h"
#include "res/ResourceIds.h"

#include <QAbstractButton>

namespace {

class PropertiesCommandTest : public Panes
{
protected:
    // Runs Properties; act sees the dialog it opened.
    void properties(const std::function<void(CDialog &)> &act)
    {
        int opened = 0;
        ScopedModalHook hook([&](CDialog &open) {
            ++opened;
            EXPECT_EQ(frame->openPropertiesDialog(), &open);
            act(open);
        });
        EXPECT_TRUE(run(ID_FILE_PROPERTIES));
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(frame->openPropertiesDialog(), nullptr);
        // The offscreen platform does not give the frame back its activation.
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->isActiveWindow(); }));
    }
};

TEST_F(PropertiesCommandTest, SheetForTheRootDialogForAFolderOrFileListReloadedAfterAChange)
{
    device.make({"\\Docs\\a.txt", "\\Docs\\b.txt", "\\Docs\\c.txt"});
    start(true);
    focusTree("\\");
    properties([](CDialog &open) {
        EXPECT_NE(qobject_cast<CPropertySheet *>(&open), nullptr);
        EXPECT_EQ(open.windowTitle(), "");
    });
    focusTree("\\Docs\\");
    properties([](CDialog &open) {
        auto *dialog = qobject_cast<CFilePropertiesDlg *>(&open);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->path, "\\Docs");
    });

    focusList("\\Docs\\", {"b.txt"});
    const int row = int(rows(list()).indexOf("b.txt"));
    list().selectionModel()->setCurrentIndex(list().model()->index(row, 0), QItemSelectionModel::NoUpdate);
    for (const bool change : {false, true}) {
        properties([change](CDialog &open) {
            EXPECT_EQ(qobject_cast<CFilePropertiesDlg *>(&open)->path, "\\Docs\\b.txt");
            if (change)
                open.GetDlgItem<QAbstractButton>(1005)->click();
            open.accept();
        });
        EXPECT_EQ(list().GetItemText(row, CFileListCore::AttrsColumn), change ? "H" : "");
    }
    EXPECT_EQ(list().GetFocusedItem(), row);
    EXPECT_EQ(list().GetSelectedCount(), 1);
}

} // namespace
